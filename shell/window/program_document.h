// The program in the editor as a document: the file it belongs to, whether it has changed
// since it was opened or saved, the copy that keeps unsaved text through a crash, and the
// "Save changes?" question before anything replaces it.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class CodeEditor;
class QFileDialog;
class QTimer;
class QWidget;

class ProgramDocument : public QObject {
    Q_OBJECT
   public:
    enum class SaveResult { Saved, Cancelled, Failed };

    // `window` parents the boxes and the dialogs.
    ProgramDocument(CodeEditor* editor, QWidget* window);

    // The program file, empty before the first LOAD or SAVE AS and after New or an example.
    QString path() const { return path_; }
    // Changed by an edit since it was last opened, replaced or saved; undoing back to that
    // point makes it unmodified again.
    bool modified() const;
    // The editor's text, lines joined by '\n'.
    QString text() const;

    // LOAD: the question when modified, then the open dialog. A save cancelled from the
    // question does not stop it: the open dialog still comes, and cancelling that keeps
    // the text.
    void load();
    // Opens a file as LOAD does once its dialog is answered (Open Recent, a drop, the file
    // named at start-up). A save cancelled from the question cancels the opening.
    void open(const QString& path);
    // File > New: an empty, untitled text.
    void open_new();
    // An example as an untitled copy of its text: SAVE asks for a name. False when the user
    // kept the text in the editor.
    bool open_example(const QString& title, const QString& text);
    SaveResult save();
    SaveResult save_as();
    // Before the window closes: false when the user keeps it open.
    bool may_close();
    // LOAD's dialog ("od") and SAVE AS's ("sd"), made when first wanted.
    QFileDialog* open_dialog();
    QFileDialog* save_dialog();

    // The recovery file: written every 30 seconds while the text is modified, and by
    // keep_for_recovery(); removed once the text is saved or given up.
    QString recovery_file() const;
    QTimer* recovery_timer() const { return recovery_timer_; }
    // Offers the texts that ended sessions left behind; one at most comes into the editor.
    void offer_recovery();
    // The session ends without a question: a modified text is kept for the next start. False
    // when it could be kept nowhere.
    bool keep_for_recovery();
    // The window closes with nothing worth keeping.
    void remove_recovery();

   signals:
    void modifiedChanged(bool modified);
    // What the status bar says after an operation ("Loaded.", "Saved.", "Example: …").
    void status(const QString& text);
    // The file name the caption shows has changed meaning: after LOAD, SAVE, SAVE AS, and
    // when the text became untitled.
    void captionNeeded();
    // The text was replaced by another program: marks that belong to the old one go.
    void replaced();
    // A file was opened or saved under its name; one that could not be opened.
    void fileUsed(const QString& path);
    void fileFailed(const QString& path);

   private:
    QFileDialog* new_file_dialog(const char* name);
    bool may_replace(bool go_on_after_cancelled_save);
    int ask_save_changes();
    bool read_file(const QString& path);
    bool write_file(const QString& path);
    void load_file(const QString& path);
    void replace_untitled(const QString& text);
    void set_text(const QString& text);
    void report_modified();
    void saved();
    bool write_recovery();
    bool ask_recover(const QDateTime& written);
    void set_aside(const QString& path, const char* why);

    CodeEditor* editor_;
    QFileDialog* open_dialog_ = nullptr;
    QFileDialog* save_dialog_ = nullptr;
    QWidget* window_;
    QTimer* recovery_timer_;
    QString path_;
    QString last_opened_;
    // Where this window's unsaved text goes: the first free name of the process's names.
    QString recovery_path_;
    bool reported_modified_ = false;
    // The text changed since the recovery file was last written.
    bool unsaved_since_recovery_ = false;
    // What was last said about a recovery copy kept elsewhere or nowhere; empty when all is well.
    QString recovery_trouble_;
};
