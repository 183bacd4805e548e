// View > Problems: every finding of the checker in a list on a tab beside the output, kept in
// step with the editor's findings. Each shows its severity as an icon (and says it to a screen
// reader); the tab's title counts the errors and the warnings. Activating a finding takes the
// caret to its line and column; F1, the context menu or the Help button beside the tabs opens
// the page of the language reference that explains it.
#pragma once

#include <QObject>
#include <QString>

class CodeEditor;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QToolButton;

class ProblemsPane : public QObject {
    Q_OBJECT
   public:
    // Adds the Problems tab to `tabs`, after the tabs already there.
    ProblemsPane(CodeEditor* editor, QTabWidget* tabs);

    // Brings the Problems tab to the front, its list up to date.
    void show_pane();
    QListWidget* list() const { return list_; }
    // Opens the help page of the current finding; disabled when it has none.
    QToolButton* help_button() const { return help_; }

   signals:
    // A finding's help page, as the checker names it: "traps.html#lower-case".
    void helpRequested(const QString& page);

   private:
    void findings_changed();
    void fill();
    void update_title();
    void update_help_button();
    void request_help(const QListWidgetItem* item);
    void go_to(int line, int column);
    bool shown() const;

    CodeEditor* editor_;
    QTabWidget* tabs_;
    QListWidget* list_;
    QToolButton* help_;
    int tab_ = 0;
    bool stale_ = true;  // the findings changed while the tab was hidden
};
