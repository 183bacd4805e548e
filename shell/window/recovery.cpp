// Unsaved text survives a crash, a kill or a lost session: while the text is modified it is
// written to a recovery file every 30 seconds and when a signal ends the session, and the next
// start offers it back.
#include "recovery.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <cstdlib>

#include "Ucompiler.h"
#include "code_editor.h"
#include "file_access.h"

namespace {

constexpr int RECOVERY_INTERVAL_MS = 30000;
// Far beyond any text a user types; a larger file is no recovery file of ours.
constexpr size_t MAX_RECOVERY_FILE_BYTES = 64u * 1024 * 1024;

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

bool process_alive(long pid) {
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

QString Tfmain::recovery_file() const {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + '/' +
           QString::fromStdString(recovery_file_name(getpid()));
}

void Tfmain::start_recovery() {
    t_recovery = new QTimer(this);
    t_recovery->setObjectName("t_recovery");
    t_recovery->setInterval(RECOVERY_INTERVAL_MS);
    connect(t_recovery, &QTimer::timeout, this, &Tfmain::t_recoveryTimer);
    t_recovery->start();
    install_signal_handlers();
    offer_recovery();
}

void Tfmain::t_recoveryTimer() {
    if (bt_save->isEnabled() && unsaved_since_recovery_) write_recovery();
}

void Tfmain::write_recovery() {
    const QString path = recovery_file();
    QDir().mkpath(QFileInfo(path).path());
    const RecoveryRecord record{QFile::encodeName(current_file_).toStdString(),
                                editor_text().toUtf8().toStdString()};
    // A failed write is tried again at the next tick; there is nobody to tell in between.
    if (write_file_atomically(QFile::encodeName(path).toStdString(), recovery_format(record),
                              LinkPolicy::Refuse)
            .ok) {
        unsaved_since_recovery_ = false;
    }
}

void Tfmain::remove_recovery() {
    QFile::remove(recovery_file());
    unsaved_since_recovery_ = false;
}

bool Tfmain::ask_recover(const QDateTime& written) {
    const QString text = QStringLiteral("Recover the unsaved program from %1?")
                             .arg(written.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    QMessageBox box(QMessageBox::Question, "Confirm", text, QMessageBox::Yes | QMessageBox::No,
                    this);
    box.button(QMessageBox::Yes)->setText("&Yes");
    box.button(QMessageBox::No)->setText("&No");
    box.setDefaultButton(QMessageBox::Yes);
    return (question_hook ? question_hook(box) : box.exec()) == QMessageBox::Yes;
}

// The texts that other windows left behind, newest first. A text whose program file was saved
// after it is out of date and goes without a question; one that belongs to a window still
// open is left alone. One text at most comes into the editor; the others wait for a later start.
void Tfmain::offer_recovery() {
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QFileInfoList files =
        folder.entryInfoList({"unsaved-*.txt"}, QDir::Files | QDir::Hidden, QDir::Time);
    bool recovered = false;
    for (const QFileInfo& file : files) {
        long pid = 0;
        if (!recovery_file_pid(file.fileName().toStdString(), pid)) continue;
        // A window of this process before this one has gone: its text is ours to offer.
        if (pid != getpid() && process_alive(pid)) continue;
        const FileRead read = read_regular_file(QFile::encodeName(file.filePath()).toStdString(),
                                                MAX_RECOVERY_FILE_BYTES);
        RecoveryRecord record;
        if (!read.ok || read.truncated || !recovery_parse(read.bytes, record)) continue;
        const QFileInfo source(QFile::decodeName(record.source_path.c_str()));
        const bool saved_since =
            !record.source_path.empty() && source.lastModified() >= file.lastModified();
        if (recovered && !saved_since) continue;
        if (!saved_since && ask_recover(file.lastModified())) {
            mcod->setPlainText(QString::fromUtf8(record.text));
            bt_save->setEnabled(true);
            recovered = true;
            // The text is this window's now: kept under its name before the old file goes.
            write_recovery();
        }
        QFile::remove(file.filePath());
    }
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

// The session ends from outside: the text is kept for the next start, and the window closes
// as its close button would, with no question that nobody would answer.
void Tfmain::close_on_signal() {
    char bytes[64];
    while (read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (bt_save->isEnabled()) write_recovery();
    closing_on_signal_ = true;
    // An open box or dialog, or the start-up question, would hold the close up for an answer
    // that nobody will give. The text is safe by now, so the session ends at once.
    if (QApplication::activeModalWidget() != nullptr || !isVisible()) {
        write_settings_at_close();
        std::_Exit(0);
    }
    close();
}
