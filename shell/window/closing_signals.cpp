// SIGTERM, SIGINT and SIGHUP close the window through a self-pipe watched by the event loop.
#include "closing_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "program_document.h"
#include "settings_file.h"
#include "slider_recorder.h"

namespace {

// order: ClosingSignals::old_actions_
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

ClosingSignals::ClosingSignals(ProgramDocument* document, SliderRecorder* slider_recorder,
                               SettingsFile* settings, QWidget* window)
    : QObject(window),
      document_(document),
      slider_recorder_(slider_recorder),
      settings_(settings),
      window_(window) {
    if (signal_pipe[0] < 0 && pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ClosingSignals::close_window);
    struct sigaction action {};
    action.sa_handler = on_closing_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        sigaction(CLOSING_SIGNALS[i], nullptr, &old_actions_[i]);
        // A session started to outlive its terminal (nohup) keeps ignoring the hang-up.
        if (old_actions_[i].sa_handler == SIG_IGN) continue;
        sigaction(CLOSING_SIGNALS[i], &action, nullptr);
    }
}

ClosingSignals::~ClosingSignals() {
    if (notifier_ == nullptr) return;
    for (int i = 0; i < 3; ++i) sigaction(CLOSING_SIGNALS[i], &old_actions_[i], nullptr);
}

void ClosingSignals::close_window() {
    char bytes[64];
    while (read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
    // Both, whatever the first did; a session that could keep nothing ends with code 1.
    const bool text_kept = document_->keep_for_recovery();
    const bool moves_kept = slider_recorder_->keep_for_recovery();
    const int code = text_kept && moves_kept ? 0 : 1;
    closing_ = true;
    // An open box or dialog, or the start-up question, would hold the close up for an answer
    // that nobody will give. The text is safe by now, so the session ends at once.
    if (QApplication::activeModalWidget() != nullptr || !window_->isVisible()) {
        settings_->write_at_close(true);
        std::_Exit(code);
    }
    window_->close();
    if (code != 0) QCoreApplication::exit(code);
}
