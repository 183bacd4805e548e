// Going back through a paused run in the window: BACK and Run > Run Back, STEP forward again,
// RUN from the past, sliders moved during the run, and Run > History.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QRegularExpression>
#include <QTextBlock>

#include "history_settings.h"
#include "slider_recorder.h"
#include "window_fixture.h"

namespace {

class StepBackTest : public WindowTest {
   protected:
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    // The output, one line after the other; a line the run has undone, struck through, is
    // marked "~".
    QString shown_output() const {
        QStringList lines;
        const QList<QTextEdit::ExtraSelection> marks = mdb(*w)->extraSelections();
        for (QTextBlock b = mdb(*w)->document()->begin(); b.isValid(); b = b.next()) {
            if (b.text().isEmpty()) continue;
            bool undone = false;
            for (const QTextEdit::ExtraSelection& m : marks) {
                undone |= m.format.fontStrikeOut() && m.cursor.selectionStart() <= b.position() &&
                          b.position() < m.cursor.selectionEnd();
            }
            lines << (undone ? "~" : "") + b.text();
        }
        return lines.join('|');
    }
    // The band, variables A and B, the output, and whether BACK is enabled.
    QString seen() const {
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(mcod(*w)->current_band_line())
            .arg(label("lA"), label("lB"), shown_output())
            .arg(button("bt_stepback")->isEnabled());
    }
    // Starts `program` paused (or with RUN to the first of its `breakpoints`) and, while it is
    // paused, takes `keys` one by one: s STEP, b BACK, r Run > Run Back, R RUN, m the temperature
    // slider 7 up. Notes `look` (or seen()) before the first key and after each, "ended" once
    // the run has ended, and stops the run.
    QStringList walk(const QString& program, const QString& keys,
                     const std::vector<int>& breakpoints = {},
                     std::function<QString()> look = nullptr) {
        if (!look) look = [this] { return seen(); };
        edit(program);
        for (int line : breakpoints) mcod(*w)->toggle_breakpoint(line);
        QStringList noted;
        const auto settled = [this] {
            return !run_control(*w)->active() || (paused() && !GroupBox1(*w)->pending());
        };
        const auto note = [&] { noted << (run_control(*w)->active() ? look() : "ended"); };
        std::vector<Step> steps{{settled, note}};
        for (QChar key : keys) {
            steps.push_back({at_once(), [this, key] {
                                 if (key == 's') click("bt_step");
                                 if (key == 'b') click("bt_stepback");
                                 if (key == 'r') action("act_run_back")->trigger();
                                 if (key == 'R') click("bt_run");
                                 if (key == 'm')
                                     slider("tb_tem")->setValue(slider("tb_tem")->value() + 7);
                             }});
            steps.push_back({settled, note});
        }
        steps.push_back({at_once(), [this] {
                             if (run_control(*w)->active()) click("bt_stop");
                         }});
        StepDriver driver(std::move(steps));
        click(breakpoints.empty() ? "bt_step" : "bt_run");
        // A run that has ended leaves the rest to be taken after it.
        EXPECT_TRUE(wait_for([&] { return driver.done(); }));
        return noted;
    }
};

// BACK undoes a statement at a time, its output greyed; STEP brings back the same run.
TEST_F(StepBackTest, BackUndoesStatementsAndStepBringsThemBack) {
    const QStringList noted = walk("A=1\nPRINT A\nB=A+1\nPRINT B\nA=A*3\nPRINT A", "sssssbbbsss");
    EXPECT_EQ(noted, QStringList({
                         "0 A: 0 B: 0  0",
                         "1 A: 1 B: 0  1",
                         "2 A: 1 B: 0 1 1",
                         "3 A: 1 B: 2 1 1",
                         "4 A: 1 B: 2 1|2 1",
                         "5 A: 3 B: 2 1|2 1",
                         "4 A: 1 B: 2 1|2 1",
                         "3 A: 1 B: 2 1|~2 1",
                         "2 A: 1 B: 0 1|~2 1",
                         "3 A: 1 B: 2 1|~2 1",
                         "4 A: 1 B: 2 1|2 1",
                         "5 A: 3 B: 2 1|2 1",
                     }));
}

// Run Back stops before each pass of a breakpoint's line, then at the oldest moment kept.
TEST_F(StepBackTest, RunBackStopsAtTheBreakpointsPassed) {
    const QStringList noted = walk("FOR I=1 TO 3\nA=A+I\nB=I\nNEXT I\nPRINT A", "RRRrrrr", {1, 4});
    EXPECT_EQ(noted, QStringList({
                         "1 A: 0 B: 0  1",
                         "1 A: 1 B: 1  1",
                         "1 A: 3 B: 2  1",
                         "4 A: 6 B: 3  1",
                         "1 A: 3 B: 2  1",
                         "1 A: 1 B: 1  1",
                         "1 A: 0 B: 0  1",
                         "0 A: 0 B: 0  0",
                     }));
    EXPECT_FALSE(action("act_run_back")->isEnabled());
}

// RUN from the past asks before it forgets a future that printed: No leaves everything as it
// was, Yes goes on from there, the future's lines gone.
TEST_F(StepBackTest, RunFromThePastAsksFirstWhenTheFuturePrinted) {
    struct Case {
        int answer;
        QString after;   // the window after the question
        QString output;  // at the end (STOP leaves the future kept)
    };
    const Case cases[] = {
        {QMessageBox::No, "2 A: 1 B: 0 ONE|~TWO 1", "ONE|~TWO"},
        {QMessageBox::Yes, "ended", "ONE|TWO|3"},
    };
    for (const Case& c : cases) {
        questions.clear();
        answer_questions({c.answer});
        const QStringList noted =
            walk("A=1\nPRINT \"ONE\"\nA=2\nPRINT \"TWO\"\nA=3\nPRINT A", "ssssbbR");
        EXPECT_EQ(questions.size(), 1) << c.answer;
        EXPECT_EQ(noted.back(), c.after) << c.answer;
        EXPECT_EQ(shown_output(), c.output) << c.answer;
    }
}

// A slider moved while paused goes back when BACK passes its move and comes back with STEP;
// RUN from before the move forgets it, so no moves are left to save.
TEST_F(StepBackTest, SliderMovesGoBackAndComeBackAndAreForgottenWithTheFuture) {
    w->slider_recorder()->action()->setChecked(true);
    const int start = channel_position(Channel::Tem);
    const auto look = [&] {
        return QStringLiteral("%1 %2 %3")
            .arg(mcod(*w)->current_band_line())
            .arg(slider("tb_tem")->value() == start ? "start" : "moved")
            .arg(shown_output());
    };
    answer_questions({QMessageBox::Yes});
    const QStringList noted =
        walk("TGET A\nPRINT A\nTGET B\nPRINT B\nC=1", "ssmssbbbsssbbbR", {}, look);
    const QString s = QString::number(start);
    const QString m = QString::number(start + 7);
    EXPECT_EQ(noted, QStringList({
                         "0 start ",
                         "1 start ",
                         "2 start " + s,
                         "2 moved " + s,
                         "3 moved " + s,
                         "4 moved " + s + "|" + m,
                         "3 moved " + s + "|~" + m,
                         "2 moved " + s + "|~" + m,
                         "1 start ~" + s + "|~" + m,
                         "2 moved " + s + "|~" + m,
                         "3 moved " + s + "|~" + m,
                         "4 moved " + s + "|" + m,
                         "3 moved " + s + "|~" + m,
                         "2 moved " + s + "|~" + m,
                         "1 start ~" + s + "|~" + m,
                         "ended",
                     }));
    EXPECT_EQ(shown_output(), s + "|" + s);
    EXPECT_EQ(questions.size(), 1);
    // Nothing to save: the dialog would have been an unexpected one.
    EXPECT_TRUE(dialogs.isEmpty());
    EXPECT_TRUE(w->slider_recorder()->events().empty());
}

// Run > History says what is kept; turned off (not while the run shows its past), nothing is
// and BACK stays disabled; both choices come back with the next window.
TEST_F(StepBackTest, TheHistoryDialogSaysWhatIsKeptAndTurnsRecordingOff) {
    action("act_history")->trigger();
    auto* dialog = w->findChild<QDialog*>("history_dialog");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    auto kept = [this] { return label("history_kept"); };
    EXPECT_EQ(kept(), "Nothing is kept yet: the next run will be.");
    // On the program clock, the DELAY passes at once.
    w->findChild<QComboBox*>("cb_speed")->setCurrentIndex(7);
    run("A=1\nDELAY 1500\nB=2");
    EXPECT_TRUE(QRegularExpression(R"(^The last 3 statements / 1\.5 seconds of the run are )"
                                   R"(kept \([0-9.]+ [KM]B\)\.$)")
                    .match(kept())
                    .hasMatch())
        << kept().toStdString();

    // Shown a moment of its past, the run keeps its history.
    click("bt_stepback");
    auto* record = dialog->findChild<QCheckBox*>("history_recording");
    EXPECT_FALSE(record->isEnabled());
    w->history_settings()->set_recording(false);
    EXPECT_TRUE(run_control(*w)->recording());
    w->debugger()->seek_step(run_control(*w)->history().last().step);

    dialog->findChild<QComboBox*>("history_bound")->setCurrentIndex(2);
    record->setChecked(false);
    EXPECT_EQ(kept(),
              "Nothing is kept: recording is off, so Step Back and Run Back cannot go "
              "back.");
    w.reset();
    open_window();
    EXPECT_FALSE(run_control(*w)->recording());
    EXPECT_EQ(run_control(*w)->history().bound().statements, 10'000'000);
    for (const QString& paused : walk("A=1\nB=2\nC=3", "ss")) {
        EXPECT_TRUE(paused.endsWith(" 0")) << paused.toStdString();
    }
}

// BACK says what it does to a screen reader and in its tooltip; its menu entries have keys.
TEST_F(StepBackTest, TheNewControlsSayWhatTheyDo) {
    QPushButton* back = button("bt_stepback");
    EXPECT_EQ(QStringList({back->text(), back->accessibleName(), back->accessibleDescription(),
                           back->toolTip()}),
              QStringList({"BACK", "Step back", "Undo the last statement",
                           "Step back (Shift+F10): undo the last statement, and see the run as "
                           "it stood before it"}));
    EXPECT_EQ(action("act_step_back")->shortcut(), QKeySequence("Shift+F10"));
    EXPECT_EQ(action("act_run_back")->shortcut(), QKeySequence("Ctrl+Shift+F5"));
    action("act_history")->trigger();
    EXPECT_EQ(w->findChild<QComboBox*>("history_bound")->accessibleName(), "History kept");
}

}  // namespace

namespace {

// With the satellite on, a pause holds it and a seek puts it back: neither is a change the user
// made, so STEP forward through the past and RUN from it ask nothing when nothing was printed.
TEST_F(StepBackTest, TheSatellitesHoldIsNoChangeToAskAbout) {
    action("sim_tumbling_1u")->trigger();
    answer_questions({});
    const QStringList noted = walk("A=1\nB=2\nC=3\nD=4", "sssbsbR");
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(noted.mid(4, 2), QStringList({"2 A: 1 B: 2  1", "3 A: 1 B: 2  1"}));
    EXPECT_EQ(noted.last(), "ended");
}

}  // namespace

namespace {

// After a run has ended, BACK goes into its past too: STEP goes forward through it, and RUN
// goes on from the moment shown rather than starting again.
TEST_F(StepBackTest, AfterTheEndStepAndRunGoOnFromThePast) {
    run("A=1\nPRINT A\nA=2\nPRINT A\nA=3");
    click("bt_stepback");
    click("bt_stepback");
    click("bt_stepback");
    EXPECT_EQ(seen(), "2 A: 1 B: 0 1|~2 1");
    click("bt_step");
    EXPECT_EQ(seen(), "3 A: 2 B: 0 1|~2 1");
    answer_questions({QMessageBox::Yes});
    click("bt_run");
    EXPECT_TRUE(wait_for([&] { return !run_control(*w)->active(); }));
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(output(), QStringList({"1", "2"}));
    EXPECT_EQ(label("lA"), "A: 3");
}

}  // namespace
