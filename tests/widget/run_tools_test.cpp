// What the user can do to a run besides RUN and STOP: quiet the math error box for the rest of a
// run, clear the variables between runs, change a value while paused; and STOP during a flood
// of output.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>

#include "dialog_seams.h"
#include "variable_editor.h"
#include "window_fixture.h"

namespace {

class RunToolsTest : public WindowTest {
   protected:
    void TearDown() override {
        math_box_seam = nullptr;
        WindowTest::TearDown();
    }
    // Answers the math boxes in order: "ok", "quiet" (ticked, then OK) or "stop".
    void answer_math_boxes(QStringList answers) {
        math_box_seam = [this, answers](QMessageBox& box) mutable {
            ++math_boxes;
            const QString a = answers.isEmpty() ? QStringLiteral("stop") : answers.takeFirst();
            if (a == "quiet") box.checkBox()->setChecked(true);
            if (a == "stop") {
                box.findChild<QPushButton*>("math_stop")->click();
            } else {
                box.button(QMessageBox::Ok)->click();
            }
        };
    }
    QLineEdit* line() const { return w->debugger()->variable_editor()->line(); }
    int math_boxes = 0;
};

TEST_F(RunToolsTest, TheMathBoxCanBeQuietForTheRestOfTheRunOnly) {
    const QString program = "FOR I=1 TO 3\nSQRT -1,A\nNEXT I\nPRINT I";
    answer_math_boxes({"quiet"});
    run(program);
    EXPECT_EQ(math_boxes, 1);
    EXPECT_EQ(output(), QStringList({"4"}));
    EXPECT_EQ(w->status_text(), "Stop in line: 3, 3 math messages");

    // A new run shows the boxes again; OK goes on, STOP ends the run there.
    math_boxes = 0;
    answer_math_boxes({"ok", "stop"});
    run(program);
    EXPECT_EQ(math_boxes, 2);
    EXPECT_EQ(output(), QStringList());
    EXPECT_FALSE(w->status_text().contains("math"));
}

TEST_F(RunToolsTest, ClearVariablesOnlyBetweenRuns) {
    run("A=5\nZ=-2");
    ASSERT_EQ(label("lA"), "A: 5");
    bool enabled_while_running = true;
    const bool taken = run_steps("A=A+1\nLABEL 1\nGOTO 1",
                                 {{at_once(),
                                   [&] {
                                       enabled_while_running =
                                           action("act_clear_variables")->isEnabled();
                                       w->debugger()->clear_variables();
                                       button("bt_stop")->click();
                                   }}});
    EXPECT_TRUE(taken);
    EXPECT_FALSE(enabled_while_running);
    EXPECT_EQ(var_get(0), 6) << "variables carry over between runs, and a run clears nothing";
    ASSERT_TRUE(action("act_clear_variables")->isEnabled());
    action("act_clear_variables")->trigger();
    EXPECT_EQ(label("lA"), "A: 0");
    EXPECT_EQ(label("lZ"), "Z: 0");
    EXPECT_EQ(var_get(25), 0);
}

// Paused at a breakpoint: A by a double click, B with the keyboard alone, a bad value refused;
// the run goes on with the new values.
TEST_F(RunToolsTest, AValueChangedWhilePausedIsWhatTheRunGoesOnWith) {
    QApplication::setActiveWindow(w.get());
    auto* la = w->findChild<QLabel*>("lA");
    auto* lb = w->findChild<QLabel*>("lB");
    QStringList seen;
    Qt::FocusPolicy running_policy = Qt::StrongFocus;
    edit("A=1\nB=2\nPRINT A\nPRINT B");
    mcod(*w)->toggle_breakpoint(2);
    StepDriver driver({
        {[&] { return paused(); },
         [&] {
             QTest::mouseDClick(la, Qt::LeftButton);
             ASSERT_NE(line(), nullptr);
             seen << line()->accessibleName() << line()->text();
             EXPECT_EQ(line()->geometry(), la->geometry());
             line()->setText("2.5");
             QTest::keyClick(line(), Qt::Key_Return);
             EXPECT_EQ(line(), nullptr);
             seen << label("lA");
             // The keyboard only: A has the focus back, Tab goes on to B, Enter opens it.
             EXPECT_TRUE(la->hasFocus());
             QTest::keyClick(la, Qt::Key_Tab);
             EXPECT_TRUE(lb->hasFocus());
             QTest::keyClick(lb, Qt::Key_Return);
             ASSERT_NE(line(), nullptr);
             QTest::keyClicks(line(), "1,5");
             QTest::keyClick(line(), Qt::Key_Return);
             ASSERT_NE(line(), nullptr) << "a bad value keeps the line open";
             seen << line()->styleSheet() << label("lB");
             QTest::keyClick(line(), Qt::Key_Escape);
             EXPECT_EQ(line(), nullptr);
             QTest::keyClick(lb, Qt::Key_F2);
             ASSERT_NE(line(), nullptr);
             QTest::keyClicks(line(), "-7");
             QTest::keyClick(line(), Qt::Key_Return);
             seen << label("lB");
             QTest::mouseClick(button("bt_run"), Qt::LeftButton);
             running_policy = la->focusPolicy();
         }},
    });
    QTest::mouseClick(button("bt_run"), Qt::LeftButton);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(seen, QStringList({"Value of A", "1", "A: 2.5",
                                 "QLineEdit { border: 2px solid red; }", "B: 2", "B: -7"}));
    EXPECT_EQ(running_policy, Qt::NoFocus);
    EXPECT_EQ(output(), QStringList({"2.5", "-7"}));
}

TEST_F(RunToolsTest, OnlyTheLanguagesNumbersAreValues) {
    double v = 0;
    for (const char* good : {"12", "-3.25", ".5", "7.", " 42 "}) {
        EXPECT_TRUE(VariableEditor::parse_value(good, v)) << good;
    }
    EXPECT_TRUE(VariableEditor::parse_value("-0.125", v));
    EXPECT_EQ(v, -0.125);
    for (const char* bad : {"", "-", ".", "1,5", "1.2.3", "1E5", "0x10", "A", "--1", "1 2",
                            "1234567890123456"}) {
        EXPECT_FALSE(VariableEditor::parse_value(bad, v)) << bad;
    }
}

// A click on STOP posted while a program floods the output ends the run at the next visits of
// the event queue, however much output is waiting.
TEST_F(RunToolsTest, StopEndsAPrintFloodAtTheNextVisits) {
    int visits_after_click = -1;
    QTimer each_visit;  // a zero timer fires once in every visit to the event queue
    QObject::connect(&each_visit, &QTimer::timeout, [&] {
        if (visits_after_click >= 0) {
            ++visits_after_click;
        } else if (mdb(*w)->document()->blockCount() > 20000) {
            const QPoint at = button("bt_stop")->rect().center();
            const QPoint global = button("bt_stop")->mapToGlobal(at);
            QCoreApplication::postEvent(
                button("bt_stop"), new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                   Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(
                button("bt_stop"), new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                   Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            visits_after_click = 0;
        }
    });
    each_visit.start(0);
    run("LABEL 1\nI=I+1\nPRINT \"X\";I\nGOTO 1");
    each_visit.stop();
    EXPECT_GE(visits_after_click, 0);
    EXPECT_LE(visits_after_click, 2);
    EXPECT_EQ(button_states(), "100");
}

}  // namespace
