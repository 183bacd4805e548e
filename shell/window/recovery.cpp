// The session ends from outside (SIGTERM, SIGINT, SIGHUP): the unsaved text is kept for the
// next start, and the window closes with no question that nobody would answer.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "Ucompiler.h"

namespace {

// order: Tfmain::old_signal_actions_
constexpr int CLOSING_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may do next to nothing; it wakes the window through this pipe, and the
// window does the work in its event loop.
int signal_pipe[2] = {-1, -1};

void on_closing_signal(int) {
    const int saved = errno;
    const char byte = 1;
    if (write(signal_pipe[1], &byte, 1) < 0) {
        // The pipe is full: a wake-up is already waiting.
    }
    errno = saved;
}

}  // namespace

void Tfmain::install_signal_handlers() {
    if (signal_pipe[0] < 0 && pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    signal_notifier_ = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, this);
    connect(signal_notifier_, &QSocketNotifier::activated, this, &Tfmain::close_on_signal);
    struct sigaction action {};
    action.sa_handler = on_closing_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        sigaction(CLOSING_SIGNALS[i], nullptr, &old_signal_actions_[i]);
        // A session started to outlive its terminal (nohup) keeps ignoring the hang-up.
        if (old_signal_actions_[i].sa_handler == SIG_IGN) continue;
        sigaction(CLOSING_SIGNALS[i], &action, nullptr);
    }
}

void Tfmain::restore_signal_handlers() {
    if (signal_notifier_ == nullptr) return;
    for (int i = 0; i < 3; ++i) sigaction(CLOSING_SIGNALS[i], &old_signal_actions_[i], nullptr);
}

void Tfmain::close_on_signal() {
    char bytes[64];
    while (read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
    document_->keep_for_recovery();
    closing_on_signal_ = true;
    // An open box or dialog, or the start-up question, would hold the close up for an answer
    // that nobody will give. The text is safe by now, so the session ends at once.
    if (QApplication::activeModalWidget() != nullptr || !isVisible()) {
        write_settings_at_close();
        std::_Exit(0);
    }
    close();
}
