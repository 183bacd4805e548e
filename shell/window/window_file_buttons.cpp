// Tfmain's file buttons: LOAD, SAVE and SAVE AS forward to the program document, whose state the
// buttons, the menu entries and the caption follow; the hidden bt_sini writes the settings file.
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "Ucompiler.h"
#include "code_editor.h"
#include "debugger.h"
#include "dialog_seams.h"
#include "mission_control.h"
#include "settings_file.h"

std::function<int(QFileDialog&)>& Tfmain::file_dialog_hook = file_dialog_seam;
std::function<int(QMessageBox&)>& Tfmain::question_hook = question_seam;

// SAVE is enabled exactly while the text is modified.
void Tfmain::build_document() {
    document_ = new ProgramDocument(mcod, this);
    connect(document_, &ProgramDocument::modifiedChanged, bt_save, &QPushButton::setEnabled);
    connect(document_, &ProgramDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(document_, &ProgramDocument::status, this, &Tfmain::set_status);
    connect(document_, &ProgramDocument::captionNeeded, this, &Tfmain::set_caption);
    connect(document_, &ProgramDocument::replaced, this, [this] {
        mcod->clear_breakpoints();
        mcod->set_error_line(-1);
        debugger_->forget_stop();
        mission_->forget_verdict();
    });
}

// The program's name, its modified mark and the editor's name, as the desktop shows documents:
// "first.bas* — ZORVANT Basic Editor". The desktop is told the file too.
void Tfmain::set_caption() {
    const QString path = document_->path();
    // "[*]" in a name would be taken for the mark; doubled, it stands for itself.
    const QString name = path.isEmpty() ? QStringLiteral("Untitled")
                                        : QFileInfo(path).fileName().replace("[*]", "[*][*]");
    setWindowFilePath(path);
    setWindowTitle(name + QStringLiteral("[*] — ") + QString::fromLatin1(EditorTitle));
    setWindowModified(document_->modified());
}

void Tfmain::bt_loadClick() {
    document_->load();
}

void Tfmain::bt_saveClick() {
    document_->save();
}

void Tfmain::bt_savasClick() {
    document_->save_as();
}

void Tfmain::bt_siniClick() {
    settings_->write();
}

void Tfmain::open_file(const QString& path) {
    document_->open(path);
}

void Tfmain::new_program() {
    document_->open_new();
}

void Tfmain::open_example(const QString& title, const QString& text) {
    document_->open_example(title, text);
}

QString Tfmain::recovery_file() const {
    return document_->recovery_file();
}
