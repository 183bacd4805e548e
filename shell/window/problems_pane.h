// View > Problems: every finding of the checker in a docked list, kept in step with the editor's
// findings; activating one takes the caret to its line and column. Made when first shown.
#pragma once

#include <QObject>

class CodeEditor;
class QDockWidget;
class QListWidget;
class QMainWindow;

class ProblemsPane : public QObject {
    Q_OBJECT
   public:
    ProblemsPane(CodeEditor* editor, QMainWindow* window);

    // Makes the pane, docked under the editor, the first time; shows it.
    void show_pane();
    // The list; nullptr before the pane is first shown.
    QListWidget* list() const { return list_; }

   signals:
    // The pane was made and docked.
    void dockMade(QDockWidget* dock);

   private:
    void fill();
    void go_to(int line, int column);

    CodeEditor* editor_;
    QMainWindow* window_;
    QDockWidget* dock_ = nullptr;
    QListWidget* list_ = nullptr;
};
