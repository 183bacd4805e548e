// The Lesson pane (View > Lesson): a dock beside the editor with the open lesson's instructions,
// word-wrapped, its set-up, its tasks with their checks, the goals of its mission, and a button
// to the next lesson. The first start shows a welcome page in it instead (start with Lesson 1,
// open a program, help); once dismissed, it does not come back (the toolkit's settings store
// keeps that). The dock is made when first wanted.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <string_view>
#include <vector>

#include "lesson.h"

class QAction;
class QDockWidget;
class QLabel;
class QListWidget;
class QMainWindow;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

class LessonPane : public QObject {
    Q_OBJECT
   public:
    explicit LessonPane(QMainWindow* window);

    // What the pane shows of a lesson.
    struct Shown {
        QString title;
        QStringList paragraphs;
        QString setup;  // "Simulation: Tumbling 1U. Mission: ..."
        std::vector<LessonTask> tasks;
        QStringList goals;  // the mission's, as written
    };
    // Shows the lesson (and the pane). `next` is the next lesson button's caption; empty when
    // there is none.
    void show_lesson(const Shown& lesson, const QString& next);
    // A program that is no lesson took the editor: the pane says where the lessons are.
    void clear_lesson(const QString& next);
    // The welcome page of the first start.
    void show_welcome();

    // The welcome page was dismissed, in this session or an earlier one.
    static bool welcome_dismissed();
    static void set_welcome_dismissed(bool dismissed);

    // A line the program printed: the tasks' expected lines it holds are met.
    void output_line(std::string_view line);
    // Per task of the lesson shown: whether every line it expects was printed (true for a task
    // without one).
    std::vector<bool> tasks_met() const;

    // View > Lesson.
    QAction* view_action() const { return view_; }
    // Made when first shown; nullptr before.
    QDockWidget* dock() const { return dock_; }

   signals:
    void startWanted();  // "Start with Lesson 1" on the welcome page
    void openWanted();   // "Open a Program..."
    void helpWanted();   // "Help"
    void nextWanted();   // the next lesson button
    void dockMade(QDockWidget* dock);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    void build_dock();
    QWidget* build_welcome_page();
    QWidget* build_lesson_page();
    void leave_welcome();
    void show_tasks();
    void refresh();
    void show_dock();

    QMainWindow* window_;
    QAction* view_;
    QDockWidget* dock_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QWidget* welcome_page_ = nullptr;
    QWidget* lesson_page_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* setup_ = nullptr;
    QTextBrowser* text_ = nullptr;
    QListWidget* tasks_ = nullptr;
    QPushButton* next_ = nullptr;
    Shown shown_;
    QString next_caption_;
    // Per task, per expected line: printed since the lesson was opened.
    std::vector<std::vector<bool>> printed_;
};
