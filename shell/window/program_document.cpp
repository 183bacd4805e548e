// LOAD, SAVE and SAVE AS, and the recovery of unsaved text. A program file holds the editor's
// text byte for byte, one byte a character, lines separated by CR LF.
#include "program_document.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "code_editor.h"
#include "dialog_seams.h"
#include "error_display.h"
#include "file_access.h"
#include "kept_files.h"
#include "program_text.h"
#include "recovery.h"

std::function<int(QFileDialog&)> file_dialog_seam;
std::function<int(QMessageBox&)> question_seam;

int exec_file_dialog(QFileDialog& dialog, const QString& offered) {
    dialog.setProperty("offered", offered);
    if (!offered.isEmpty()) dialog.selectFile(offered);
    return file_dialog_seam ? file_dialog_seam(dialog) : dialog.exec();
}

int exec_question(QMessageBox& box) {
    return question_seam ? question_seam(box) : box.exec();
}

namespace {

constexpr int RECOVERY_INTERVAL_MS = 30000;
// Far beyond any text a user types; a larger file is no recovery file of ours.
constexpr size_t MAX_RECOVERY_FILE_BYTES = 64u * 1024 * 1024;

bool process_alive(long pid) {
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Nothing but our own regular file may stand under a recovery name we write or remove.
bool holds_other_than_a_file(const QString& path) {
    struct stat st {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

}  // namespace

ProgramDocument::ProgramDocument(CodeEditor* editor, QWidget* window)
    : QObject(window),
      editor_(editor),
      window_(window),
      recovery_timer_(new QTimer(this)) {
    QTextDocument* doc = editor_->document();
    connect(doc, &QTextDocument::modificationChanged, this, &ProgramDocument::report_modified);
    connect(doc, &QTextDocument::contentsChanged, this,
            [this] { unsaved_since_recovery_ = true; });
    recovery_timer_->setObjectName("t_recovery");
    recovery_timer_->setInterval(RECOVERY_INTERVAL_MS);
    connect(recovery_timer_, &QTimer::timeout, this, [this] {
        if (modified() && unsaved_since_recovery_) write_recovery();
    });
    recovery_timer_->start();
}

// A file dialog takes tens of milliseconds to build and looks through the folder it starts in:
// each is made when it is first wanted, and kept, with the folder it was left in.
QFileDialog* ProgramDocument::open_dialog() {
    if (open_dialog_ == nullptr) {
        open_dialog_ = new_file_dialog("od");
        open_dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        // The typed name need not exist yet; reading it then fails with a message.
        open_dialog_->setFileMode(QFileDialog::AnyFile);
    }
    return open_dialog_;
}

QFileDialog* ProgramDocument::save_dialog() {
    if (save_dialog_ == nullptr) {
        save_dialog_ = new_file_dialog("sd");
        save_dialog_->setAcceptMode(QFileDialog::AcceptSave);
        save_dialog_->setFileMode(QFileDialog::AnyFile);
    }
    return save_dialog_;
}

QFileDialog* ProgramDocument::new_file_dialog(const char* name) {
    auto* dialog = new QFileDialog(window_);
    dialog->setObjectName(name);
    dialog->setDefaultSuffix("bas");
    dialog->setOption(QFileDialog::ReadOnly, false);
    return dialog;
}

bool ProgramDocument::modified() const {
    return editor_->document()->isModified();
}

QString ProgramDocument::text() const {
    // Block by block: the document's plain text would turn no-break spaces into spaces.
    QString text;
    const QTextDocument* doc = editor_->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b != doc->begin()) text += '\n';
        text += b.text();
    }
    return text;
}

// ---- replacing the text ----

int ProgramDocument::ask_save_changes() {
    QMessageBox box(QMessageBox::Question, "Confirm", "Save changes?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window_);
    box.button(QMessageBox::Yes)->setText("&Yes");
    box.button(QMessageBox::No)->setText("&No");
    box.button(QMessageBox::Cancel)->setText("Cancel");
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return exec_question(box);
}

// Unsaved text is worth a question before it is replaced; false when the user keeps it. A
// failed save always keeps it; a cancelled one keeps it unless the caller goes on to a dialog
// of its own, where the user can still change their mind.
bool ProgramDocument::may_replace(bool go_on_after_cancelled_save) {
    if (!modified()) return true;
    const int answer = ask_save_changes();
    if (answer == QMessageBox::Cancel) return false;
    if (answer != QMessageBox::Yes) return true;
    switch (save()) {
        case SaveResult::Saved:
            return true;
        case SaveResult::Cancelled:
            return go_on_after_cancelled_save;
        case SaveResult::Failed:
            return false;
    }
    return false;
}

bool ProgramDocument::may_close() {
    return may_replace(false);
}

void ProgramDocument::load() {
    if (!may_replace(true)) return;
    QFileDialog* dialog = open_dialog();
    if (exec_file_dialog(*dialog, last_opened_) != QDialog::Accepted ||
        dialog->selectedFiles().isEmpty()) {
        return;
    }
    load_file(dialog->selectedFiles().constFirst());
}

void ProgramDocument::open(const QString& path) {
    if (may_replace(false)) load_file(path);
}

void ProgramDocument::open_new() {
    if (!may_replace(false)) return;
    replace_untitled(QString());
    remove_recovery();
}

bool ProgramDocument::open_example(const QString& title, const QString& text) {
    if (!may_replace(false)) return false;
    replace_untitled(text);
    remove_recovery();
    emit status("Example: " + title);
    return true;
}

void ProgramDocument::load_file(const QString& path) {
    last_opened_ = path;
    if (!read_file(path)) {
        emit fileFailed(path);
        return;
    }
    path_ = path;
    emit replaced();
    emit status("Loaded.");
    emit captionNeeded();
    remove_recovery();
    emit fileUsed(path);
}

void ProgramDocument::replace_untitled(const QString& text) {
    set_text(text);
    path_.clear();
    emit replaced();
    emit captionNeeded();
}

// A replaced text is the new starting point: unmodified, whatever it took to get there.
void ProgramDocument::set_text(const QString& text) {
    // The same text leaves the editor untouched: no change, no cursor jump.
    if (text != this->text()) editor_->setPlainText(text);
    editor_->document()->setModified(false);
    // Replacing the text clears the flag without a word from the text document.
    report_modified();
}

void ProgramDocument::report_modified() {
    if (modified() == reported_modified_) return;
    reported_modified_ = modified();
    emit modifiedChanged(reported_modified_);
}

bool ProgramDocument::read_file(const QString& path) {
    const FileRead read =
        read_regular_file(QFile::encodeName(path).toStdString(), MAX_PROGRAM_FILE_BYTES);
    if (!read.ok) {
        show_error("Cannot open file " + path, read.reason);
        return false;
    }
    if (read.truncated) {
        show_error("Text exceeds memo capacity", std::string(REASON_PROGRAM_FILE_TOO_LARGE));
        return false;
    }
    const std::string text = file_bytes_to_text(read.bytes);
    set_text(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

// ---- saving ----

bool ProgramDocument::write_file(const QString& path) {
    const QString text = this->text();
    std::string latin1;
    latin1.reserve(static_cast<size_t>(text.size()));
    int line = 0;
    int column = 0;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            show_error(QStringLiteral("Cannot save %1: line %2, column %3 holds a character that "
                                      "a program file cannot store")
                           .arg(path)
                           .arg(line)
                           .arg(column));
            return false;
        }
        latin1 += static_cast<char>(c.unicode());
        if (c == '\n') {
            ++line;
            column = 0;
        } else {
            ++column;
        }
    }
    // SAVE onto a symbolic link replaces the file it points to, as whoever made the link meant.
    const FileWrite written = write_file_atomically(
        QFile::encodeName(path).toStdString(), text_to_file_bytes(latin1), LinkPolicy::WriteTarget);
    if (!written.ok) {
        show_error("Cannot create file " + path, written.reason);
        return false;
    }
    return true;
}

void ProgramDocument::saved() {
    editor_->document()->setModified(false);
    emit status("Saved.");
    emit captionNeeded();
    remove_recovery();
}

ProgramDocument::SaveResult ProgramDocument::save() {
    if (path_.isEmpty()) return save_as();
    if (!write_file(path_)) return SaveResult::Failed;
    saved();
    return SaveResult::Saved;
}

ProgramDocument::SaveResult ProgramDocument::save_as() {
    QFileDialog* dialog = save_dialog();
    if (exec_file_dialog(*dialog, path_) != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return SaveResult::Cancelled;
    }
    path_ = dialog->selectedFiles().constFirst();
    if (!write_file(path_)) return SaveResult::Failed;
    saved();
    emit fileUsed(path_);
    return SaveResult::Saved;
}

// ---- recovery ----

QString ProgramDocument::recovery_file() const {
    if (!recovery_path_.isEmpty()) return recovery_path_;
    return recovery_folder() + '/' + QString::fromStdString(recovery_file_name(getpid()));
}

bool ProgramDocument::keep_for_recovery() {
    if (modified()) return write_recovery();
    remove_recovery();
    return true;
}

// Never through a link or into anything else planted under our name: the text then goes under
// the process's next free name, so a signal never loses it. A recovery folder that cannot be
// written is said once on standard error and each time in the status bar, with where the text
// went instead.
bool ProgramDocument::write_recovery() {
    const std::string bytes = recovery_format(
        {QFile::encodeName(path_).toStdString(), text().toUtf8().toStdString()});
    const KeptFile kept = keep_in_recovery(
        recovery_path_, [](int spare) { return recovery_file_name(getpid(), spare); }, bytes,
        "Unsaved text");
    if (!kept.trouble.isEmpty()) {
        if (kept.trouble != recovery_trouble_) {
            std::fprintf(stderr, "zorvant: %s\n", kept.trouble.toLocal8Bit().constData());
        }
        emit status(kept.trouble);
    }
    recovery_trouble_ = kept.trouble;
    if (kept.path.isEmpty()) return false;
    if (!recovery_path_.isEmpty() && recovery_path_ != kept.path) QFile::remove(recovery_path_);
    recovery_path_ = kept.path;
    unsaved_since_recovery_ = false;
    return true;
}

void ProgramDocument::remove_recovery() {
    const QString path = recovery_file();
    if (!holds_other_than_a_file(path)) QFile::remove(path);
    recovery_path_.clear();
    unsaved_since_recovery_ = false;
}

bool ProgramDocument::ask_recover(const QDateTime& written) {
    const QString text = QStringLiteral("Recover the unsaved program from %1?")
                             .arg(written.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    QMessageBox box(QMessageBox::Question, "Confirm", text, QMessageBox::Yes | QMessageBox::No,
                    window_);
    box.button(QMessageBox::Yes)->setText("&Yes");
    box.button(QMessageBox::No)->setText("&No");
    box.setDefaultButton(QMessageBox::Yes);
    return exec_question(box) == QMessageBox::Yes;
}

// Renamed once, so that it is neither offered nor looked at again at every start; whoever
// wants it finds it beside the others.
void ProgramDocument::set_aside(const QString& path, const char* why) {
    const QString aside = path + ".bad";
    const bool moved = std::rename(QFile::encodeName(path).constData(),
                                   QFile::encodeName(aside).constData()) == 0;
    std::fprintf(stderr, "zorvant: %s %s: %s\n", QFile::encodeName(path).constData(), why,
                 moved ? ("renamed to " + QFile::encodeName(aside)).constData()
                       : "cannot rename it");
}

// The texts that other windows left behind, newest first. A text whose program file was saved
// after it is out of date and goes without a question; one that belongs to a window still
// open is left alone. One text at most comes into the editor; the others wait for a later start.
void ProgramDocument::offer_recovery() {
    QFileInfoList files = QDir(recovery_folder())
                              .entryInfoList({"unsaved-*.txt"},
                                             QDir::Files | QDir::System | QDir::Hidden);
    // Texts kept where the recovery folder could not take them; only from a folder of our own.
    const QFileInfo fallback(recovery_fallback_folder());
    if (fallback.isDir() && !fallback.isSymLink() && fallback.ownerId() == geteuid()) {
        files += QDir(fallback.filePath())
                     .entryInfoList({"unsaved-*.txt"}, QDir::Files | QDir::System | QDir::Hidden);
    }
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() > b.lastModified();
    });
    bool recovered = false;
    for (const QFileInfo& file : files) {
        long pid = 0;
        if (!recovery_file_pid(file.fileName().toStdString(), pid)) continue;
        // A window of this process before this one has gone: its text is ours to offer.
        if (pid != getpid() && process_alive(pid)) continue;
        if (holds_other_than_a_file(file.filePath())) {
            set_aside(file.filePath(), "is not a regular file");
            continue;
        }
        const FileRead read = read_regular_file(QFile::encodeName(file.filePath()).toStdString(),
                                                MAX_RECOVERY_FILE_BYTES);
        if (!read.ok) continue;
        RecoveryRecord record;
        if (read.truncated || !recovery_parse(read.bytes, record)) {
            set_aside(file.filePath(), "is no recovery file");
            continue;
        }
        const QFileInfo source(QFile::decodeName(record.source_path.c_str()));
        const bool saved_since =
            !record.source_path.empty() && source.lastModified() >= file.lastModified();
        if (recovered && !saved_since) continue;
        if (!saved_since && ask_recover(file.lastModified())) {
            set_text(QString::fromUtf8(record.text));
            editor_->document()->setModified(true);
            recovered = true;
            // The text is this window's now: kept under its name before the old file goes.
            write_recovery();
        }
        if (file.filePath() != recovery_path_) QFile::remove(file.filePath());
    }
}
