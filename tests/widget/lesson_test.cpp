// Lessons opened from File > Examples set up their simulation and mission, and the Lesson pane
// shows them; a program from a file sets up nothing. The first start's welcome page, the
// window's title, and the name offered for recorded slider moves.
#include "lesson.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextBrowser>
#include <QWindow>

#include "lesson_pane.h"
#include "mission_control.h"
#include "simulation_control.h"
#include "slider_recorder.h"
#include "window_fixture.h"

namespace {

class LessonTest : public WindowTest {
   protected:
    void TearDown() override {
        if (w != nullptr) {
            w->mission_control()->choose_none();
            w->simulation_control()->choose_off();
        }
        WindowTest::TearDown();
    }
    QAction* example(const QString& title_start) const {
        for (QAction* a : named<QMenu>(*w, "menu_examples")->actions()) {
            if (a->text().startsWith(title_start)) return a;
        }
        qFatal("no example %s", qPrintable(title_start));
        return nullptr;
    }
    QDockWidget* lesson_dock() const { return w->findChild<QDockWidget*>("lesson_dock"); }
    bool armed(const char* mission) const {
        QAction* entry = w->mission_control()->mission_action(mission);
        return entry != nullptr && entry->isChecked() && w->mission_control()->armed() != nullptr;
    }
};

TEST_F(LessonTest, ALessonFromExamplesSetsUpItsWorldAndAFileDoesNot) {
    // The choice an earlier session left comes back at the start.
    w->simulation_control()->choose_shipped("hot_case");
    struct Case {
        const char* lesson;
        const char* sim;
        const char* mission;
        const char* status;
    };
    const Case cases[] = {
        {"LESSON 4:", "", nullptr,
         "LESSON 4: READING THE SENSORS. Simulation off: the sensor sliders are yours."},
        {"LESSON 9:", "tumbling_1u", ":/missions/detumble.mission",
         "LESSON 9: DETUMBLING IN ORBIT. Simulation: Tumbling 1U. Mission: Detumble within ten "
         "minutes. Run speed: 60\u00D7 time. RUN starts it."},
        {"LESSON 10:", "hot_case", ":/missions/hot_case.mission",
         "LESSON 10: A THERMOSTAT IN THE SUN. Simulation: Hot Case. Mission: Keep the hot case "
         "cool. Run speed: 60\u00D7 time. RUN starts it."},
        {"LESSON 11:", "ground_pass", ":/missions/beacon_pass.mission",
         "LESSON 11: A BEACON FOR THE PASS. Simulation: Ground Pass. Mission: Beacon during the "
         "pass. Run speed: 60\u00D7 time. RUN starts it."},
        // After a mission, a lesson of sliders puts it away.
        {"LESSON 5:", "", nullptr,
         "LESSON 5: DETUMBLING. Simulation off: the sensor sliders are yours."},
    };
    for (const Case& c : cases) {
        example(c.lesson)->trigger();
        EXPECT_EQ(w->simulation_control()->chosen(), c.sim) << c.lesson;
        EXPECT_EQ(w->simulation_control()->off_action()->isChecked(), *c.sim == 0) << c.lesson;
        if (c.mission != nullptr) {
            EXPECT_TRUE(armed(c.mission)) << c.lesson;
        } else {
            EXPECT_EQ(w->mission_control()->armed(), nullptr) << c.lesson;
        }
        EXPECT_EQ(w->status_text(), QString::fromUtf8(c.status));
        // A mission's lesson at sixty times real time, a lesson of sliders at real time.
        EXPECT_EQ(named<QComboBox>(*w, "cb_speed")->currentIndex(), c.mission != nullptr ? 6 : 0)
            << c.lesson;
        ASSERT_NE(lesson_dock(), nullptr);
        QCoreApplication::processEvents();
        EXPECT_TRUE(lesson_dock()->isVisible()) << c.lesson;
        // On top of the tabs it shares with the armed mission's panel.
        for (const QTabBar* tabs : w->findChildren<QTabBar*>(Qt::FindDirectChildrenOnly)) {
            if (tabs->count() > 1) {
                EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Lesson") << c.lesson;
            }
        }
        EXPECT_TRUE(label("lesson_title").startsWith(c.lesson));
    }

    // The Simulation menu still overrides; a program from a file keeps the world as it is.
    example("LESSON 9:")->trigger();
    w->simulation_control()->choose_shipped("ground_pass");
    const QString path = dir.filePath("mine.bas");
    write_bytes(path, "PRINT 1");
    w->open_file(path);
    EXPECT_EQ(w->simulation_control()->chosen(), "ground_pass");
    EXPECT_TRUE(armed(":/missions/detumble.mission"));
    EXPECT_EQ(w->status_text(), "Loaded.");
    EXPECT_EQ(label("lesson_title"), "No lesson open");

    // During a run the world stays the run's: the lesson opens, and sets nothing up.
    answer_questions({QMessageBox::No});
    QString said;
    ASSERT_TRUE(run_steps("LABEL 1\nGOTO 1", {{at_once(), [&] {
                                                   example("LESSON 4:")->trigger();
                                                   said = w->status_text();
                                                   button("bt_stop")->click();
                                               }}}));
    EXPECT_EQ(w->simulation_control()->chosen(), "ground_pass");
    EXPECT_EQ(said,
              "LESSON 4: READING THE SENSORS. The run goes on in its own simulation: open the "
              "lesson again after STOP to set it up.");
}

// The instructions come from the program's comments; a task is met by a run that prints what it
// expects; the last lesson has no next one.
TEST_F(LessonTest, ThePaneShowsInstructionsTasksAndTheNextLesson) {
    example("LESSON 1:")->trigger();
    QStringList paragraphs;
    for (const std::string& p : lesson_text(mcod(*w)->toPlainText().toStdString()).paragraphs) {
        paragraphs << QString::fromStdString(p);
    }
    ASSERT_FALSE(paragraphs.isEmpty());
    EXPECT_EQ(named<QTextBrowser>(*w, "lesson_text")->toPlainText(), paragraphs.join('\n'));
    auto* tasks = named<QListWidget>(*w, "lesson_tasks");
    ASSERT_EQ(tasks->count(), 2);
    EXPECT_TRUE(tasks->item(0)->text().startsWith(QString("\u25CB  Press RUN")))
        << tasks->item(0)->text().toStdString();
    EXPECT_EQ(w->lesson_pane()->tasks_met(), std::vector<bool>({false, true}));
    QTest::mouseClick(button("bt_run"), Qt::LeftButton);
    EXPECT_EQ(w->lesson_pane()->tasks_met(), std::vector<bool>({true, true}));
    EXPECT_TRUE(tasks->item(0)->text().startsWith(QString("\u2713")))
        << tasks->item(0)->text().toStdString();
    EXPECT_TRUE(tasks->item(0)->data(Qt::AccessibleTextRole).toString().startsWith("done: "));

    button("lesson_next")->click();
    EXPECT_TRUE(mcod(*w)->toPlainText().startsWith("// LESSON 2:"));
    EXPECT_TRUE(label("lesson_title").startsWith("LESSON 2:"));

    // A lesson with a mission lists the mission's goals after its tasks.
    example("LESSON 11:")->trigger();
    EXPECT_EQ(tasks->count(), 2 + static_cast<int>(w->mission_control()->armed()->goals.size()));
    EXPECT_TRUE(tasks->item(2)->text().contains("Mission goal: tx only while station_visible"));
    EXPECT_FALSE(button("lesson_next")->isEnabled());
    // A screen reader names every control of the pane.
    for (QWidget* c : lesson_dock()->widget()->findChildren<QWidget*>()) {
        if (c->focusPolicy() == Qt::NoFocus || !c->isVisible()) continue;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty())
            << c->objectName().toStdString();
    }
}

// The title names the program as the desktop names documents, with its modified mark.
TEST_F(LessonTest, TheTitleNamesTheProgramAndMarksItModified) {
    struct Case {
        const char* file;
        const char* title;
        const char* shown;
    };
    const Case cases[] = {
        {"first.bas", "first.bas[*] \u2014 ZORVANT Basic Editor",
         "first.bas \u2014 ZORVANT Basic Editor"},
        // A name that holds the mark's placeholder keeps it.
        {"a[*].bas", "a[*][*].bas[*] \u2014 ZORVANT Basic Editor",
         "a[*].bas \u2014 ZORVANT Basic Editor"},
    };
    EXPECT_EQ(w->windowHandle()->title(), "Untitled \u2014 ZORVANT Basic Editor");
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.file);
        write_bytes(path, "PRINT 1");
        w->open_file(path);
        EXPECT_EQ(w->windowTitle(), c.title);
        EXPECT_EQ(w->windowFilePath(), path);
        EXPECT_EQ(w->windowHandle()->title(), c.shown);
        edit("PRINT 2");
        EXPECT_EQ(w->windowHandle()->title(), QString(c.shown).replace(" \u2014", "* \u2014"));
        answer_questions({QMessageBox::No});
    }
    w->new_program();
    EXPECT_EQ(w->windowFilePath(), "");
    EXPECT_EQ(w->windowHandle()->title(), "Untitled \u2014 ZORVANT Basic Editor");
}

// Recorded slider moves are offered under the program's name in a dialog that says what it saves.
TEST_F(LessonTest, SliderMovesAreOfferedUnderTheProgramsName) {
    const QString file = dir.filePath("tilt.bas");
    write_bytes(file, "PRINT 0");
    struct Case {
        std::function<void()> open;
        const char* offered;
    };
    const Case cases[] = {
        {[&] { example("LESSON 4:")->trigger(); }, "04_reading_sensors.scenario"},
        {[&] { w->open_file(file); }, "tilt.scenario"},
        {[&] { w->new_program(); }, "untitled.scenario"},
    };
    w->slider_recorder()->action()->setChecked(true);
    int position = 30;
    for (const Case& c : cases) {
        answer_questions({QMessageBox::No});
        c.open();
        QString title;
        QString offered;
        Tfmain::file_dialog_hook = [&](QFileDialog& d) {
            title = d.windowTitle();
            offered = d.property("offered").toString();
            return static_cast<int>(QDialog::Rejected);
        };
        const auto waiting = [this] {
            return run_control(*w)->state() == RunControl::State::Waiting;
        };
        ASSERT_TRUE(run_steps("DELAY 200\nPRINT 1",
                              {{waiting, [&] { slider("tb_tem")->setValue(++position); }}}));
        EXPECT_EQ(title, "Save Slider Moves");
        EXPECT_EQ(offered, c.offered);
    }
}

class WelcomeTest : public LessonTest {
   protected:
    void SetUp() override {
        welcome = true;
        LessonTest::SetUp();
    }
    bool welcoming() const {
        return lesson_dock() != nullptr && lesson_dock()->isVisible() &&
               named<QStackedWidget>(*w, "lesson_pages")->currentWidget()->objectName() ==
                   "welcome_page";
    }
};

// The first start welcomes; each way of leaving the page dismisses it for good.
TEST_F(WelcomeTest, TheWelcomePageComesUntilItIsDismissed) {
    struct Case {
        const char* how;
        std::function<void()> leave;
    };
    const Case cases[] = {
        {"start", [&] { button("welcome_start")->click(); }},
        {"open",
         [&] {
             answer_dialogs({""});
             button("welcome_open")->click();
         }},
        {"help", [&] { button("welcome_help")->click(); }},
        {"close", [&] { lesson_dock()->close(); }},
    };
    for (const Case& c : cases) {
        LessonPane::set_welcome_dismissed(false);
        w.reset();
        open_window();
        ASSERT_TRUE(welcoming()) << c.how;
        for (const char* name : {"welcome_start", "welcome_open", "welcome_help"}) {
            EXPECT_FALSE(button(name)->accessibleName().isEmpty()) << name;
        }
        c.leave();
        EXPECT_TRUE(LessonPane::welcome_dismissed()) << c.how;
        EXPECT_FALSE(welcoming()) << c.how;
        w.reset();
        open_window();
        EXPECT_EQ(lesson_dock(), nullptr) << c.how;
    }
    EXPECT_EQ(dialogs, QStringList({"od"}));
    // Started with Lesson 1, the pane showed it.
    LessonPane::set_welcome_dismissed(false);
    w.reset();
    open_window();
    button("welcome_start")->click();
    EXPECT_TRUE(mcod(*w)->toPlainText().startsWith("// LESSON 1:"));
    EXPECT_TRUE(lesson_dock()->isVisible());
    EXPECT_TRUE(label("lesson_title").startsWith("LESSON 1:"));
}

}  // namespace
