// The session ends from outside (SIGTERM, SIGINT, SIGHUP): the unsaved text is kept for the
// next start, and the window closes with no question that nobody would answer.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "Ucompiler.h"
#include "kept_files.h"
#include "program_document.h"
#include "recovery.h"
#include "slider_recorder.h"

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

std::string encoded(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

QString recovery_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString recovery_fallback_folder() {
    return QFile::decodeName(recovery_fallback_folder(encoded(QDir::tempPath())).c_str());
}

KeptFile keep_in_recovery(const QString& current, const std::function<std::string(int)>& name,
                          const std::string& bytes, const QString& what) {
    const QString folder = recovery_folder();
    QDir().mkpath(folder);
    const RecoveryKept kept = recovery_keep(encoded(folder), encoded(recovery_fallback_folder()),
                                            encoded(current), name, bytes);
    KeptFile result;
    result.path = QFile::decodeName(kept.path.c_str());
    const QString reason = QString::fromLocal8Bit(kept.reason.c_str());
    if (kept.path.empty()) {
        result.trouble = QStringLiteral("%1 could not be kept: the recovery folder %2 cannot be "
                                        "written (%3), nor %4 (%5).")
                             .arg(what, folder, reason, recovery_fallback_folder(),
                                  QString::fromLocal8Bit(kept.fallback_reason.c_str()));
    } else if (!kept.reason.empty()) {
        result.trouble =
            QStringLiteral("%1 kept in %2: the recovery folder %3 cannot be written (%4).")
                .arg(what, result.path, folder, reason);
    }
    return result;
}

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
    // Both, whatever the first did; a session that could keep nothing ends with code 1.
    const bool text_kept = document_->keep_for_recovery();
    const bool moves_kept = slider_recorder_->keep_for_recovery();
    const int code = text_kept && moves_kept ? 0 : 1;
    closing_on_signal_ = true;
    // An open box or dialog, or the start-up question, would hold the close up for an answer
    // that nobody will give. The text is safe by now, so the session ends at once.
    if (QApplication::activeModalWidget() != nullptr || !isVisible()) {
        write_settings_at_close();
        std::_Exit(code);
    }
    close();
    if (code != 0) QCoreApplication::exit(code);
}
