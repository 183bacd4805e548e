// LOAD, SAVE and SAVE AS. A program file holds the editor's text byte for byte, one byte a
// character, lines separated by CR LF.
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "Ucompiler.h"
#include "code_editor.h"
#include "error_display.h"
#include "file_access.h"
#include "program_text.h"

std::function<int(QFileDialog&)> Tfmain::file_dialog_hook;
std::function<int(QMessageBox&)> Tfmain::question_hook;

void Tfmain::build_dialogs() {
    for (QFileDialog** d : {&od, &sd}) {
        *d = new QFileDialog(this);
        (*d)->setDefaultSuffix("bas");
        (*d)->setOption(QFileDialog::ReadOnly, false);
    }
    od->setObjectName("od");
    od->setAcceptMode(QFileDialog::AcceptOpen);
    // The typed name need not exist yet; reading it then fails with a message.
    od->setFileMode(QFileDialog::AnyFile);
    sd->setObjectName("sd");
    sd->setAcceptMode(QFileDialog::AcceptSave);
    sd->setFileMode(QFileDialog::AnyFile);
}

// `offered` is the name the dialog starts with; it also stays on the dialog as the property
// "offered", for the tests' seam.
int Tfmain::exec_dialog(QFileDialog& dialog, const QString& offered) {
    dialog.setProperty("offered", offered);
    if (!offered.isEmpty()) dialog.selectFile(offered);
    return file_dialog_hook ? file_dialog_hook(dialog) : dialog.exec();
}

int Tfmain::ask_save_changes() {
    QMessageBox box(QMessageBox::Question, "Confirm", "Save changes?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText("&Yes");
    box.button(QMessageBox::No)->setText("&No");
    box.button(QMessageBox::Cancel)->setText("Cancel");
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return question_hook ? question_hook(box) : box.exec();
}

void Tfmain::set_caption() {
    setWindowTitle(QString::fromLatin1(EditorTitle) + "  " + current_file_);
}

QString Tfmain::editor_text() const {
    // Block by block: the document's plain text would turn no-break spaces into spaces.
    QString text;
    for (QTextBlock b = mcod->document()->begin(); b.isValid(); b = b.next()) {
        if (b != mcod->document()->begin()) text += '\n';
        text += b.text();
    }
    return text;
}

bool Tfmain::read_program_file(const QString& path) {
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
    const QString loaded = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    // The same text leaves the editor untouched: no change, no cursor jump.
    if (loaded != editor_text()) mcod->setPlainText(loaded);
    return true;
}

bool Tfmain::write_program_file(const QString& path) {
    const QString text = editor_text();
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

// Unsaved text is worth a question before it is replaced; false when the user keeps it.
bool Tfmain::may_replace_text() {
    if (!bt_save->isEnabled()) return true;
    const int answer = ask_save_changes();
    if (answer == QMessageBox::Cancel) return false;
    // A cancelled save dialog still lets the replacement go on; a failed write ends it.
    return answer != QMessageBox::Yes || save() != SaveResult::Failed;
}

void Tfmain::bt_loadClick() {
    if (!may_replace_text()) return;
    if (exec_dialog(*od, last_opened_) != QDialog::Accepted || od->selectedFiles().isEmpty())
        return;
    load_program(od->selectedFiles().constFirst());
}

void Tfmain::open_file(const QString& path) {
    if (may_replace_text()) load_program(path);
}

void Tfmain::load_program(const QString& path) {
    last_opened_ = path;
    if (!read_program_file(path)) {
        forget_recent_file(path);
        return;
    }
    current_file_ = path;
    mcod->clear_breakpoints();
    mcod->set_error_line(-1);
    set_status("Loaded.");
    set_caption();
    bt_save->setEnabled(false);
    remove_recovery();
    remember_recent_file(path);
}

void Tfmain::new_program() {
    if (!may_replace_text()) return;
    replace_text_untitled(QString());
    bt_save->setEnabled(false);
    remove_recovery();
}

// An example is a copy without a name: SAVE asks for one, so the example stays as it is.
void Tfmain::open_example(const QString& title, const QString& text) {
    if (!may_replace_text()) return;
    replace_text_untitled(text);
    set_status("Example: " + title);
}

void Tfmain::replace_text_untitled(const QString& text) {
    mcod->setPlainText(text);
    current_file_.clear();
    mcod->clear_breakpoints();
    mcod->set_error_line(-1);
    set_caption();
}

void Tfmain::bt_saveClick() {
    save();
}

void Tfmain::bt_savasClick() {
    save_as();
}

void Tfmain::saved() {
    set_status("Saved.");
    set_caption();
    bt_save->setEnabled(false);
    remove_recovery();
}

Tfmain::SaveResult Tfmain::save() {
    if (current_file_.isEmpty()) return save_as();
    if (!write_program_file(current_file_)) return SaveResult::Failed;
    saved();
    return SaveResult::Saved;
}

Tfmain::SaveResult Tfmain::save_as() {
    if (exec_dialog(*sd, current_file_) != QDialog::Accepted || sd->selectedFiles().isEmpty()) {
        return SaveResult::Cancelled;
    }
    current_file_ = sd->selectedFiles().constFirst();
    if (!write_program_file(current_file_)) return SaveResult::Failed;
    saved();
    remember_recent_file(current_file_);
    return SaveResult::Saved;
}
