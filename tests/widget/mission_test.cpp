// Simulation > Missions and the Mission panel: what choosing a mission sets up, a run judged as
// the runner judges it, a mission's scenario and its time limit; and Run > Record Slider Moves,
// whose file the runner replays to the same output.
#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <csignal>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QLayout>
#include <QScrollArea>
#include <QTextDocumentFragment>
#include <cmath>

#include "mission_control.h"
#include "scenario.h"
#include "simulation.h"
#include "simulation_control.h"
#include "slider_recorder.h"
#include "telemetry_part.h"
#include "window_fixture.h"

namespace {

class MissionTest : public WindowTest {
   protected:
    void TearDown() override {
        if (w != nullptr) w->simulation_control()->choose_off();
        clock_set_source(nullptr, nullptr);
        WindowTest::TearDown();
    }
    QAction* entry(const char* name) const { return w->findChild<QAction*>(name); }
    QScrollArea* goals() const { return w->findChild<QScrollArea*>("mission_goals"); }
    QString dock_label(const char* name) const { return w->findChild<QLabel*>(name)->text(); }
    // The goals' rows, in the panel's order.
    QList<QWidget*> goal_rows() const {
        QList<QWidget*> rows;
        const QLayout* list = goals()->widget()->layout();
        for (int i = 0; i < list->count(); ++i) {
            if (QWidget* row = list->itemAt(i)->widget()) rows << row;
        }
        return rows;
    }
    static QLabel* part(const QWidget* row, const char* name) {
        return row->findChild<QLabel*>(name);
    }
    // Each goal's state word, mark and accessible text, as the panel shows them.
    QStringList goal_lines() const {
        QStringList lines;
        for (const QWidget* row : goal_rows()) {
            lines << row->property("state").toString() + " | " +
                         part(row, "mission_goal_mark")->text() + " | " +
                         row->accessibleName();
        }
        return lines;
    }
    // Runs the program on the window with a clock that stands still while statements run and
    // jumps to the end of each DELAY, as the runner's --no-wait does: a mission of minutes is
    // over in a moment, and reads the same moments the runner reads.
    void run_without_waits(const QString& program) {
        VirtualClock clock;
        clock.now = 1000;
        clock.install();
        QTimer jump;
        QObject::connect(&jump, &QTimer::timeout, [this, &clock] {
            if (run_control(*w)->state() == RunControl::State::Waiting) {
                clock.advance_to(interp.resume_time);
            }
        });
        jump.start(0);
        run(program);
        jump.stop();
        clock_set_source(nullptr, nullptr);
    }
    // zorvant-run's output for the program with these arguments.
    static QStringList runner(const QStringList& args, const QString& program_path) {
        QProcess p;
        p.start(ZORVANT_RUN, args + QStringList{program_path});
        EXPECT_TRUE(p.waitForFinished(60000));
        return QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
    QString write_file(const char* name, const QByteArray& text) {
        write_bytes(dir.filePath(name), text);
        return dir.filePath(name);
    }
};

const char* const DETUMBLE = ":/missions/detumble.mission";

TEST_F(MissionTest, ChoosingAMissionSetsUpItsWorldAndShowsItsGoals) {
    // The shipped missions by their titles, none chosen at first.
    QStringList titles;
    for (QAction* a : w->findChild<QMenu*>("menu_missions")->actions()) {
        if (!a->isSeparator() && a->isVisible()) titles << a->text();
    }
    EXPECT_EQ(titles, QStringList({"&No Mission", "Beacon during the pass",
                                   "Detumble within ten minutes", "Keep the hot case cool",
                                   "&Open Mission..."}));
    EXPECT_TRUE(entry("mission_none")->isChecked());

    entry("mission_detumble")->trigger();
    EXPECT_TRUE(entry("mission_detumble")->isChecked());
    EXPECT_TRUE(simulation.on && entry("sim_tumbling_1u")->isChecked());
    ASSERT_NE(w->mission_control()->dock(), nullptr);
    EXPECT_TRUE(w->mission_control()->dock()->isVisible());
    EXPECT_EQ(w->mission_control()->dock()->objectName(), "mission_dock");
    EXPECT_EQ(w->mission_control()->dock()->isFloating(), false);
    EXPECT_EQ(goal_lines(),
              QStringList({"pending | \u25CB | pending: rate_deg_s < 1 by 600. Brake the tumbling "
                           "in time and keep it braked: tune the gain K of the detumbling lesson.",
                           "pending | \u25CB | pending: rate_deg_s < 0.5 by 900 weight 0.5. Go on "
                           "braking to the end: a camera needs the satellite nearly still."}));
    EXPECT_EQ(dock_label("mission_time_left"), "Time left: 15:00");
    EXPECT_EQ(w->status_text(),
              "Mission: Detumble within ten minutes. RUN starts it; it lasts 15:00.");

    // A mission file of one's own, with its preset file and a sensor it sets; a bad one is
    // reported and leaves the armed mission as it was.
    write_file("warm.sim", "description = warm\ntemp_start_c = 31\n");
    const QString own = write_file(
        "own.mission", "title = Own & warm\nsim = warm.sim\nset = colr=77\ntime = 3725\n"
                       "goal = output contains \"OK\"\n");
    const QString bad = write_file("bad.mission", "title = Bad\ntime = 5\ngoal = rate ~ 3\n");
    answer_dialogs({own, bad, ""});
    entry("mission_open")->trigger();
    EXPECT_TRUE(entry("mission_file")->isVisible() && entry("mission_file")->isChecked());
    EXPECT_EQ(entry("mission_file")->text(), "own.mission");
    EXPECT_EQ(w->simulation_control()->chosen(), dir.filePath("warm.sim"));
    EXPECT_EQ(channel_position(Channel::ColR), 77);
    EXPECT_EQ(dock_label("mission_title"), "Own & warm");
    EXPECT_EQ(dock_label("mission_time_left"), "Time left: 1:02:05");
    entry("mission_open")->trigger();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(bad + ":3: ")) << errors[0].toStdString();
    EXPECT_EQ(w->mission_control()->armed()->title, "Own & warm");
    entry("mission_open")->trigger();  // cancelled: nothing changes
    EXPECT_TRUE(entry("mission_file")->isChecked());

    entry("mission_none")->trigger();
    EXPECT_EQ(w->mission_control()->armed(), nullptr);
    EXPECT_FALSE(w->mission_control()->dock()->isVisible());

    // Another simulation chosen after the mission: the run is not the mission's.
    entry("mission_detumble")->trigger();
    entry("sim_hot_case")->trigger();
    run("PRINT 1");
    EXPECT_EQ(w->mission_control()->armed(), nullptr);
    EXPECT_EQ(w->mission_control()->watch(), nullptr);
    EXPECT_TRUE(entry("mission_none")->isChecked());
}

// A mission's words are shown as written wherever they appear, never taken for markup (a picture
// tag would have the window read the file it names) nor for a menu's key.
TEST_F(MissionTest, AMissionsWordsShowAsWritten) {
    const QString title = "<img src=\"FIFO\"> Keep <b>warm</b> & dry";
    const QByteArray text = ("title = " + title + "\ntime = 5\ngoal = tem > 99\n").toUtf8();
    const QString path = write_file("odd & <i>.mission", text);
    ASSERT_TRUE(w->mission_control()->choose_file(path));
    const auto* shown = w->findChild<QLabel*>("mission_title");
    EXPECT_EQ(shown->textFormat(), Qt::PlainText);
    EXPECT_EQ(shown->text(), title);
    EXPECT_EQ(w->findChild<QLabel*>("mission_result")->textFormat(), Qt::PlainText);
    EXPECT_EQ(w->findChild<QLabel*>("sb_panel")->textFormat(), Qt::PlainText);
    EXPECT_EQ(w->status_text(), "Mission: " + title + ". RUN starts it; it lasts 0:05.");
    EXPECT_EQ(entry("mission_file")->text(), "odd && <i>.mission");
    EXPECT_EQ(QTextDocumentFragment::fromHtml(entry("mission_file")->toolTip()).toPlainText(),
              title + "\n" + path);

    // A file whose name reads as markup is reported as named.
    QMessageBox* box = nullptr;
    error_display_hook = nullptr;
    QTimer::singleShot(0, [&] {
        box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->findChild<QLabel*>("qt_msgbox_informativelabel")->textFormat(),
                  Qt::PlainText);
        box->reject();
    });
    EXPECT_FALSE(w->mission_control()->choose_file(dir.filePath("<b>none.mission")));
    EXPECT_NE(box, nullptr);
}

// The detumbling lesson with its own gain meets the mission, a weaker gain misses its first
// goal: in the window as in the runner, with the same figures, and the run ends at the
// mission's time by itself.
TEST_F(MissionTest, TheWindowJudgesADetumblingRunAsTheRunnerDoes) {
    QFile lesson(":/samples/09_detumbling_in_orbit.bas");
    ASSERT_TRUE(lesson.open(QIODevice::ReadOnly));
    const QString good = QString::fromLatin1(lesson.readAll());
    QString weak = good;
    weak.replace("\nK=7\n", "\nK=5\n");
    ASSERT_NE(good, weak);
    const QString mission = write_file("detumble.mission", read_bytes(DETUMBLE));

    for (const QString& program : {good, weak}) {
        SCOPED_TRACE(program == good ? "K=7" : "K=5");
        entry("mission_detumble")->trigger();
        run_without_waits(program);
        const MissionWatch* watch = w->mission_control()->watch();
        ASSERT_NE(watch, nullptr);
        ASSERT_TRUE(watch->finished());
        // The time limit ended it, before the lesson's twenty minutes.
        EXPECT_FALSE(output().contains("DETUMBLING DONE"));

        const QString path = write_file("program.bas", program.toLatin1());
        const QStringList from_runner = runner({"--mission", mission}, path);
        QStringList from_window;
        for (const std::string& line : watch->output_lines()) {
            from_window << QString::fromStdString(line);
        }
        // The goals' lines, each with its words under it, and the score.
        ASSERT_EQ(from_window.size(), 5);
        EXPECT_EQ(output(), from_runner.mid(0, from_runner.size() - 5));
        EXPECT_EQ(from_window, from_runner.mid(from_runner.size() - 5));
        EXPECT_EQ(dock_label("mission_time_left"), "Time left: 0:00");
        if (program == good) {
            EXPECT_EQ(dock_label("mission_result"), "Score 1.5/1.5 (100 %)");
            EXPECT_EQ(w->status_text(),
                      "Mission Detumble within ten minutes: every goal met. Score 1.5/1.5 (100 %)");
            EXPECT_EQ(goal_lines()[0].left(8), "met | \u2713 ");
        } else {
            EXPECT_EQ(dock_label("mission_result"),
                      "Score 0.5/1.5 (33 %)\nMissed: rate_deg_s < 1 by 600: rate_deg_s was "
                      "1.088 at 600 s: 0.088 above 1");
            EXPECT_EQ(goal_lines()[0],
                      "missed | \u2717 | missed: rate_deg_s < 1 by 600. Brake the tumbling in time "
                      "and keep it braked: tune the gain K of the detumbling lesson. rate_deg_s was "
                      "1.088 at 600 s: 0.088 above 1");
            EXPECT_TRUE(w->status_text().startsWith(
                "Mission Detumble within ten minutes: 1 goal missed (rate_deg_s < 1 by 600: "));
        }
    }
}

// A mission's scenario moves its slider on the program clock, its output goal reads the
// program's lines, and its time ends the run; the paused time does not count.
TEST_F(MissionTest, AScenarioAndTheTimeOfAShortMission) {
    write_file("warm.txt", "300 tem=40\n");
    const QString path = write_file(
        "short.mission",
        "title = Short\nscenario = warm.txt\nset = tem=10\ntime = 0.8\n"
        "goal = tem < 20 to 0.25\ngoal = tem > 30 from 0.35\ngoal = output contains \"HOT\"\n");
    ASSERT_TRUE(w->mission_control()->choose_file(path));
    EXPECT_EQ(channel_position(Channel::Tem), 10);
    slider("tb_tem")->setValue(25);  // the mission sets it again at RUN
    int64_t paused_at = -1;
    QElapsedTimer wall;
    wall.start();
    StepDriver steps({{[&] { return channel_position(Channel::Tem) == 40; },
                       [&] { button("bt_pause")->click(); }},
                      {[&] { return paused(); },
                       [&] {
                           paused_at = wall.elapsed();
                           QTimer::singleShot(400, w.get(), [this] { button("bt_run")->click(); });
                       }}});
    run("LABEL 1\nTGET A\nIF A>30 THEN PRINT \"HOT\"\nDELAY 5\nGOTO 1");
    EXPECT_TRUE(steps.done());
    const qint64 took = wall.elapsed();
    const MissionWatch* watch = w->mission_control()->watch();
    ASSERT_NE(watch, nullptr);
    EXPECT_TRUE(watch->all_met()) << goal_lines().join("\n").toStdString();
    EXPECT_TRUE(output().contains("HOT"));
    // Ended by the mission's time, which left the 400 ms paused out.
    EXPECT_GE(took, 800 + 400);
    EXPECT_GE(paused_at, 300);
    EXPECT_EQ(dock_label("mission_result"), "Score 3/3 (100 %)");
    EXPECT_EQ(run_control(*w)->state(), RunControl::State::Idle);
    // The next run without a mission has no time limit.
    entry("mission_none")->trigger();
    wall.restart();
    run("DELAY 1000\nPRINT \"DONE\"");
    EXPECT_TRUE(output().contains("DONE"));
}

// Slider moves recorded while the program waits in DELAYs are saved as a scenario; the runner
// replays it to the output the window printed.
TEST_F(MissionTest, RecordedSliderMovesReplayInTheRunner) {
    const QString program =
        "PRINT \"START\"\nDELAY 300\nTGET A\nPRINT A\nDELAY 300\nMGET X,Y,Z\nPRINT X\n"
        "RX R\nPRINT R\nEND";
    const QString scenario = dir.filePath("moves.txt");
    w->slider_recorder()->action()->setChecked(true);
    answer_dialogs({scenario});
    const auto waiting = [this] { return run_control(*w)->state() == RunControl::State::Waiting; };
    ASSERT_TRUE(run_steps(program, {{[&] { return waiting() && output().size() == 1; },
                                     [&] { slider("tb_tem")->setValue(33); }},
                                    {[&] { return waiting() && output().size() == 2; },
                                     [&] {
                                         slider("tb_magx")->setValue(12);
                                         slider("tb_rx")->setValue(200);
                                         slider("tb_magx")->setValue(-40);
                                     }}}));
    EXPECT_EQ(output(), QStringList({"START", "33", "-0.4", "200"}));
    EXPECT_EQ(dialogs, QStringList({"scenario_dialog"}));

    const ScenarioRead read = scenario_parse(read_bytes(scenario).toStdString());
    ASSERT_EQ(read.error_line, 0) << read.error;
    ASSERT_EQ(read.events.size(), 4u);
    const Channel moved[] = {Channel::Tem, Channel::MagX, Channel::Rx, Channel::MagX};
    const int positions[] = {33, 12, 200, -40};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(read.events[i].channel, moved[i]) << i;
        EXPECT_EQ(read.events[i].position, positions[i]) << i;
        // Moved while the first DELAY waited, then while the second did.
        EXPECT_GE(read.events[i].time_ms, i == 0 ? 0 : 300) << i;
        EXPECT_LT(read.events[i].time_ms, i == 0 ? 300 : 600) << i;
    }
    const QString path = dir.filePath("program.bas");
    write_bytes(path, program.toLatin1());
    EXPECT_EQ(runner({"--no-wait", "--scenario", scenario}, path), output());

    // Unchecked, the next run records nothing and asks nothing.
    w->slider_recorder()->action()->setChecked(false);
    run_steps(program, {{[&] { return waiting(); }, [&] { slider("tb_tem")->setValue(5); }}});
    EXPECT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(w->slider_recorder()->events().empty());
}

// On the clock a replay uses, the recorded moves replay exactly: each at the time the program
// saw it, so the replay prints what the recorded run printed.
TEST_F(MissionTest, ARecordedRunAndItsReplayAgree) {
    const QString program =
        "PRINT 1\nDELAY 100\nMGET X,Y,Z\nTGET T\nPRINT X+T\nDELAY 200\nRX R\nPRINT R\nEND";
    const QString scenario = dir.filePath("recorded.txt");
    w->slider_recorder()->action()->setChecked(true);
    answer_dialogs({scenario});
    VirtualClock clock;
    clock.install();
    clock.now = 5000;
    const auto waiting_until = [this](int32_t t) {
        return [this, t] {
            return run_control(*w)->state() == RunControl::State::Waiting &&
                   interp.resume_time == 5000 + t;
        };
    };
    const bool taken = run_steps(program, {{waiting_until(100),
                                            [&] {
                                                clock.advance_to(5040);
                                                slider("tb_magx")->setValue(25);
                                                slider("tb_tem")->setValue(31);
                                                clock.advance_to(5100);
                                            }},
                                           {waiting_until(300), [&] {
                                                clock.advance_to(5170);
                                                slider("tb_rx")->setValue(99);
                                                clock.advance_to(5300);
                                            }}});
    clock_set_source(nullptr, nullptr);
    ASSERT_TRUE(taken);
    EXPECT_EQ(output(), QStringList({"1", "31.25", "99"}));
    EXPECT_EQ(read_bytes(scenario).toStdString(),
              "# Slider moves recorded in the editor: milliseconds since RUN.\n"
              "40 magx=25\n40 tem=31\n170 rx=99\n");

    const QString path = write_file("recorded.bas", program.toLatin1());
    QProcess replay;
    replay.start(ZORVANT_RUN, {"--no-wait", "--scenario", scenario, path});
    ASSERT_TRUE(replay.waitForFinished(10000));
    ASSERT_EQ(replay.exitCode(), 0) << replay.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromLatin1(replay.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
              output());
}

// A file that cannot be written is reported, and the moves wait for another try: unticking the
// entry offers them again.
TEST_F(MissionTest, MovesThatCouldNotBeSavedAreOfferedAgain) {
    w->slider_recorder()->action()->setChecked(true);
    answer_dialogs({dir.filePath("missing/moves.txt"), dir.filePath("moves.txt")});
    ASSERT_TRUE(run_steps(
        "DELAY 200\nTGET A\nPRINT A",
        {{[this] { return run_control(*w)->state() == RunControl::State::Waiting; },
          [this] { slider("tb_tem")->setValue(44); }}}));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Cannot save file " + dir.filePath("missing/moves.txt") + ".");
    EXPECT_EQ(w->slider_recorder()->events().size(), 1u);
    w->slider_recorder()->action()->setChecked(false);
    EXPECT_EQ(dialogs.size(), 2);
    EXPECT_TRUE(read_bytes(dir.filePath("moves.txt")).contains(" tem=44\n"));
    EXPECT_TRUE(w->slider_recorder()->events().empty());
}

// A program that stops at once misses the windows its run never reached: the Mission panel
// says so with the runner's figures.
TEST_F(MissionTest, AProgramThatStopsAtOnceMissesTheWindowsItNeverReached) {
    const char* const program = "SPEED 4\nEND";
    entry("mission_hot_case")->trigger();
    run_without_waits(program);
    const MissionWatch* watch = w->mission_control()->watch();
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(watch->finished());
    EXPECT_EQ(dock_label("mission_result"),
              "Score 0.5/2.5 (20 %)\nMissed: temperature between 0 45 tolerance 1 from 60 to 600: "
              "the run ended at 0 s, before 60 s\nspd > 0 from 0 to 30: the run ended at 0 s, "
              "before 30 s");
    QStringList from_window;
    for (const std::string& line : watch->output_lines()) {
        from_window << QString::fromStdString(line);
    }
    const QString mission =
        write_file("hot_case.mission", read_bytes(":/missions/hot_case.mission"));
    EXPECT_EQ(from_window, runner({"--mission", mission}, write_file("stop.bas", program)));
}

// During the run each goal shows where its quantity stands; the author's words wrap in the
// panel. The verdict and the explanation of a stop go with a new mission, another program and
// a new RUN.
TEST_F(MissionTest, ThePanelShowsProgressAndForgetsOldVerdicts) {
    const QByteArray words = QByteArray(" warm it up").repeated(12);
    const QString path = write_file(
        "warm.mission", "title = Warm\nset = tem=12\ntime = 0.4\ngoal = tem > 30\ndescribe =" +
                            words + "\n");
    ASSERT_TRUE(w->mission_control()->choose_file(path));
    QString during;
    ASSERT_TRUE(run_steps("B=0\nDELAY 150\nA=5/B",
                          {{[this] { return run_control(*w)->state() == RunControl::State::Waiting; },
                            [&] { during = part(goal_rows()[0], "mission_goal_figure")->text(); }}}));
    // Where it stands, over the figure of the breach that has decided it already.
    EXPECT_EQ(during.section('\n', 0, 0), "now 12: 18 below 30");
    const QLabel* said = part(goal_rows()[0], "mission_goal_words");
    EXPECT_EQ(said->text(), QString::fromLatin1(words.trimmed()));
    EXPECT_TRUE(said->wordWrap());
    EXPECT_LE(said->mapTo(goals(), QPoint(said->width(), 0)).x(), goals()->viewport()->width());
    EXPECT_GE(said->height(), 2 * said->fontMetrics().height());
    EXPECT_TRUE(dock_label("mission_result").startsWith("Score 0/1 (0 %)"));
    auto* explanation = w->findChild<QWidget*>("explanation_scroll");
    EXPECT_TRUE(explanation->isVisible());

    // Another program: no verdict, no explanation, the goals wait again.
    const QString other = write_file("other.bas", "PRINT 1\n");
    answer_questions({QMessageBox::No});
    w->open_file(other);
    EXPECT_FALSE(explanation->isVisible());
    EXPECT_EQ(dock_label("mission_result"), "");
    EXPECT_EQ(goal_lines()[0].left(10), "pending | ");
    EXPECT_EQ(w->mission_control()->watch(), nullptr);

    // A finished run's score does not stay under a new mission's goals.
    run_without_waits("PRINT 1");
    EXPECT_FALSE(dock_label("mission_result").isEmpty());
    entry("mission_detumble")->trigger();
    EXPECT_EQ(dock_label("mission_result"), "");
    EXPECT_EQ(dock_label("mission_time_left"), "Time left: 15:00");
}

// Closing the window during a recorded run asks for the file while the window is still there,
// and the close goes on whatever the answer: nothing is asked after the run has stopped.
TEST_F(MissionTest, ClosingDuringARecordedRunAsksOnceAndCloses) {
    w->slider_recorder()->action()->setChecked(true);
    // Not the program's changes, nor the moves.
    answer_questions({QMessageBox::No});
    answer_dialogs({""});
    const auto waiting = [this] { return run_control(*w)->state() == RunControl::State::Waiting; };
    bool closed = false;
    ASSERT_TRUE(run_steps("DELAY 5000\nPRINT 1", {{waiting, [&] {
                                                       slider("tb_tem")->setValue(7);
                                                       closed = w->close();
                                                   }}}))
        << output().join('|').toStdString() << dialogs.join('|').toStdString();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(dialogs, QStringList({"scenario_dialog"}));
    EXPECT_EQ(output(), QStringList());
    // A second close, as the application makes when it quits, asks nothing either.
    w->show();
    EXPECT_TRUE(w->close());
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(dialogs.size(), 1);
}

// A signal during a recorded run asks nothing: the moves go to the recovery folder as a
// scenario, and standard error says where.
TEST_F(MissionTest, ASignalKeepsTheRecordedMoves) {
    w->slider_recorder()->action()->setChecked(true);
    const auto waiting = [this] { return run_control(*w)->state() == RunControl::State::Waiting; };
    testing::internal::CaptureStderr();
    ASSERT_TRUE(run_steps("DELAY 5000\nPRINT 1", {{waiting, [&] {
                                                       slider("tb_tem")->setValue(7);
                                                       std::raise(SIGTERM);
                                                   }}}));
    ASSERT_TRUE(wait_for([&] { return !w->isVisible(); }));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(dialogs, QStringList());
    const QString kept = QFileInfo(w->recovery_file()).dir().filePath(
        QStringLiteral("moves-%1.txt").arg(QCoreApplication::applicationPid()));
    EXPECT_EQ(said, "zorvant: 1 slider moves kept in " + kept.toStdString() + ".\n");
    const ScenarioRead read = scenario_parse(read_bytes(kept).toStdString());
    ASSERT_EQ(read.events.size(), 1u);
    EXPECT_EQ(read.events[0].position, 7);
}

}  // namespace

namespace {

// The decision to hold before a statement is let go with the object that answers it: a run
// after its owner is gone neither calls into it nor holds.
TEST_F(MissionTest, AHoldHookIsLetGoWithItsOwner) {
    auto* owner = new QObject;
    int asked = 0;
    run_control(*w)->set_hold_before(owner, [&asked](int) { return ++asked > 0; });
    EXPECT_TRUE(run_control(*w)->holds_before());
    delete owner;
    EXPECT_FALSE(run_control(*w)->holds_before());
    run("PRINT 1\nPRINT 2");
    EXPECT_EQ(output(), QStringList({"1", "2"}));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(run_control(*w)->state(), RunControl::State::Idle);
}

}  // namespace

namespace {

// At "No waits" the window runs the fifteen-minute detumbling mission on the program clock, its
// DELAYs passed at once as the runner's: its output, its verdict and its telemetry are the
// runner's, also after a run that left the coils, the CPU speed and the variables moved.
TEST_F(MissionTest, NoWaitsDecidesAMissionAsTheRunnerDoes) {
    QFile lesson(":/samples/09_detumbling_in_orbit.bas");
    ASSERT_TRUE(lesson.open(QIODevice::ReadOnly));
    const QString program = QString::fromLatin1(lesson.readAll());
    const QString path = write_file("program.bas", program.toLatin1());
    const QStringList from_runner =
        runner({"--mission", write_file("detumble.mission", read_bytes(DETUMBLE)), "--trace",
                dir.filePath("runner.csv")},
               path);
    ASSERT_GE(from_runner.size(), 3);

    auto* speed = w->findChild<QComboBox*>("cb_speed");
    speed->setCurrentIndex(speed->findText("No waits"));
    EXPECT_EQ(w->status_text(),
              "Run speed No waits: a DELAY moves the program's clock on at once, as zorvant-run "
              "--no-wait does: a mission is decided in seconds, as the runner decides it.");
    run("COIL 1,-1,1\nSPEED 0\nK=3\nU=7");
    entry("mission_detumble")->trigger();
    run(program);
    const MissionWatch* watch = w->mission_control()->watch();
    ASSERT_TRUE(watch != nullptr && watch->finished());
    QStringList from_window;
    for (const std::string& line : watch->output_lines()) from_window << QString::fromStdString(line);
    const qsizetype goals = from_window.size();
    EXPECT_EQ(output(), from_runner.mid(0, from_runner.size() - goals));
    EXPECT_EQ(from_window, from_runner.mid(from_runner.size() - goals));
    answer_dialogs({dir.filePath("window.csv")});
    w->telemetry()->export_action()->trigger();
    EXPECT_TRUE(read_bytes(dir.filePath("window.csv")) == read_bytes(dir.filePath("runner.csv")));
}

// The goals' states, each with its figure and where it stands.
QStringList watch_states(const MissionWatch& watch) {
    QStringList states;
    for (size_t k = 0; k < watch.goal_count(); ++k) {
        const MissionWatch::GoalStatus s = watch.status(k);
        states << MissionControl::state_word(s.state) + " | " + QString::fromStdString(s.figure) +
                      " | " + QString::fromStdString(watch.progress(k));
    }
    return states;
}

// After a run, the Mission panel shows each goal as the run's watch had it at the moment the
// machine shows (the runner's watch, as the test above holds); the run's end shows the verdict
// again; and a run resumed from its past goes on with the mission as it stood then, to the
// verdict the run had. An output goal counts the lines the moments passed over printed.
TEST_F(MissionTest, ThePanelShowsTheGoalsAtTheMomentShown) {
    QFile lesson(":/samples/09_detumbling_in_orbit.bas");
    ASSERT_TRUE(lesson.open(QIODevice::ReadOnly));
    const QString detumbling = QString::fromLatin1(lesson.readAll());
    const QString printing =
        write_file("print.mission",
                   "title = Print\ntime = 0.6\ngoal = output contains \"DONE\"\n"
                   "goal = A > 2 by 0.3\n");
    auto* speed = w->findChild<QComboBox*>("cb_speed");
    struct Case {
        const char* mission;
        const char* speed;  // a pass a statement at 1000 / s
        QString program;
    };
    for (const Case& c :
         {Case{DETUMBLE, "No waits", detumbling},
          Case{nullptr, "1000 / s",
               "FOR I=1 TO 4\nA=I\nDELAY 100\nNEXT I\nPRINT \"DONE\"\nB=1\nDELAY 50\nB=2\n"}}) {
        SCOPED_TRACE(c.mission != nullptr ? c.mission : "print");
        speed->setCurrentIndex(speed->findText(c.speed));
        ASSERT_TRUE(w->mission_control()->choose_file(c.mission != nullptr ? c.mission : printing));
        // The watch as the run went, at the end of its passes.
        std::vector<std::pair<long long, QStringList>> seen;
        const QMetaObject::Connection watching =
            QObject::connect(run_control(*w), &RunControl::passEnded, [&] {
                seen.emplace_back(run_control(*w)->steps(),
                                  watch_states(*w->mission_control()->watch()));
            });
        run(c.program);
        QObject::disconnect(watching);
        const QStringList verdict = goal_lines();
        const QString result = dock_label("mission_result");
        const QStringList printed = output();
        ASSERT_GE(seen.size(), 3u);
        for (const size_t k : {seen.size() / 10, seen.size() / 2, seen.size() - 2}) {
            w->debugger()->seek_step(seen[k].first);
            EXPECT_EQ(w->debugger()->moment().step, seen[k].first);
            EXPECT_EQ(watch_states(*w->mission_control()->watch()), seen[k].second)
                << "at statement " << seen[k].first;
            EXPECT_EQ(goal_lines()[0].section(" | ", 0, 0), seen[k].second[0].section(" | ", 0, 0));
        }
        w->debugger()->seek_step(run_control(*w)->history().last().step);
        EXPECT_EQ(goal_lines(), verdict);
        // From the middle on again, as it went.
        w->debugger()->seek_step(seen[seen.size() / 2].first);
        answer_questions({QMessageBox::Yes, QMessageBox::Yes});
        ASSERT_TRUE(w->debugger()->resume_here());
        ASSERT_TRUE(paused());
        QTest::mouseClick(button("bt_run"), Qt::LeftButton);
        ASSERT_TRUE(wait_for([this] { return !run_control(*w)->active(); }));
        EXPECT_EQ(goal_lines(), verdict);
        EXPECT_EQ(dock_label("mission_result"), result);
        EXPECT_EQ(output(), printed);
    }
}

// A paused run holds the program clock at any speed, real time included: the satellite, the
// mission and a DELAY's rest wait for the program. At real time it runs again on RUN.
TEST_F(MissionTest, APausedRunHoldsTheProgramClock) {
    int32_t paused_at = 0;
    int32_t later = 1;
    bool real_again = false;
    const auto waiting = [this] { return run_control(*w)->state() == RunControl::State::Waiting; };
    const bool taken = run_steps("DELAY 100000\nA=1",
                                 {{waiting, [this] { button("bt_pause")->click(); }},
                                  {[this] { return paused(); },
                                   [&] {
                                       EXPECT_TRUE(run_control(*w)->on_program_clock());
                                       paused_at = clock_ms();
                                       QTest::qWait(30);
                                       later = clock_ms();
                                       button("bt_run")->click();
                                   }},
                                  {waiting, [&] {
                                       real_again = !run_control(*w)->on_program_clock();
                                       button("bt_stop")->click();
                                   }}});
    EXPECT_TRUE(taken);
    EXPECT_EQ(later, paused_at);
    EXPECT_TRUE(real_again);
}

}  // namespace
