#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTextBlock>
#include <cmath>

#include "clock.h"
#include "window_fixture.h"

namespace {

const QString endless = "LABEL 1\nGOTO 1";

// ---- start-up and the editor ----

TEST_F(WindowTest, StartsIdleWithEveryPanelFilled) {
    EXPECT_EQ(w->windowTitle(), "Untitled[*] \u2014 ZORVANT Basic Editor");
    EXPECT_EQ(button_states(), "100");
    EXPECT_FALSE(button("bt_save")->isEnabled());
    EXPECT_EQ(label("lA"), "A: 0");
    EXPECT_EQ(label("lZ"), "Z: 0");
    EXPECT_EQ(label("lb_magx"), "0");
    EXPECT_EQ(label("lb_coiz"), "0");
    EXPECT_EQ(w->findChild<QLabel*>("Label5")->text(), "BETA 150130");
    EXPECT_EQ(msrc(*w)->toPlainText(), "msrc");
    EXPECT_FALSE(msrc(*w)->isVisible());
    EXPECT_TRUE(timer("t_sdr")->isActive());
    EXPECT_EQ(timer("t_sdr")->interval(), 60);
    EXPECT_FALSE(slider("tb_coix")->isEnabled());
    EXPECT_TRUE(slider("tb_magx")->isEnabled());
    EXPECT_EQ(w->pb_spd()->value(), 4);
    EXPECT_EQ(w->findChild<QProgressBar*>("pb_sys")->value(), 1000);
    EXPECT_EQ(w->size(), QSize(1118, 930));
    // The editor and the output pane take what a larger window adds.
    const QSize editor = mcod(*w)->size();
    const QSize pane = mdb(*w)->size();
    w->resize(1400, 1100);
    QCoreApplication::processEvents();
    EXPECT_GT(mcod(*w)->width(), editor.width());
    EXPECT_GT(mcod(*w)->height(), editor.height());
    EXPECT_GT(mdb(*w)->width(), pane.width());
    EXPECT_GT(mdb(*w)->height(), pane.height());
    for (const char* name : {"mcod", "mdb", "bt_load", "bt_savas", "GroupBox1", "gb_sdr", "Iprev",
                             "tb_timer", "Panel1", "Label2", "sb"}) {
        EXPECT_NE(w->findChild<QWidget*>(name), nullptr) << name;
    }
}

TEST_F(WindowTest, TypedLettersBecomeUpperCasePastedTextDoesNot) {
    QTest::keyClicks(mcod(*w), "print a+1");
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT A+1");
    EXPECT_TRUE(button("bt_save")->isEnabled());
    QApplication::clipboard()->setText("\nprint b");
    mcod(*w)->paste();
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT A+1\nprint b");
}

TEST_F(WindowTest, CursorPositionInTheStatusBar) {
    mcod(*w)->setPlainText("A=1\nB=2\nPRINT A\n");
    QTextCursor c(mcod(*w)->document()->findBlockByNumber(2));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    const QPoint at = mcod(*w)->cursorRect(c).center();
    QTest::mouseClick(mcod(*w)->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(w->status_text(), "Line: 2  X: 4");
    QTest::keyClick(mcod(*w), Qt::Key_Left);
    QTest::keyClick(mcod(*w), Qt::Key_Left);
    EXPECT_EQ(w->status_text(), "Line: 2  X: 2");
    // With a selection its end counts, measured from the start of the caret's line.
    QTest::keyClick(mcod(*w), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(w->status_text(), "Line: 2  X: 6");
}

// ---- running ----

TEST_F(WindowTest, PauseResumeAndStopSwitchTheButtons) {
    QString running, paused, resumed;
    const bool taken =
        run_steps(endless, {
                               {at_once(), [&] { running = button_states(); }},
                               {at_once(),
                                [&] { QTest::mouseClick(button("bt_pause"), Qt::LeftButton); }},
                               {at_once(),
                                [&] {
                                    paused = button_states();
                                    // The resume goes on in the loop that RUN started.
                                    QTimer::singleShot(20, [&] {
                                        resumed = button_states();
                                        QTest::mouseClick(button("bt_stop"), Qt::LeftButton);
                                    });
                                    QTest::mouseClick(button("bt_run"), Qt::LeftButton);
                                }},
                           });
    EXPECT_TRUE(taken);
    EXPECT_EQ(running, "011");
    EXPECT_EQ(paused, "101");
    EXPECT_EQ(resumed, "111");
    EXPECT_EQ(button_states(), "100");
    EXPECT_TRUE(w->status_text().startsWith("Stop in line: "));
}

TEST_F(WindowTest, ManyResumesNeedNoMoreStack) {
    // Each resume once nested a loop of its own: a few hundred PAUSE/RUN pairs ran a 1 MB stack
    // out. The limit applies to the stack's growth from here on.
    rlimit saved{};
    getrlimit(RLIMIT_STACK, &saved);
    rlimit small = saved;
    small.rlim_cur = 1024 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_STACK, &small), 0);
    // Ten pairs a visit to the event queue: the old loop nested at the first RUN of each.
    int pairs = 0;
    std::function<void()> next = [&] {
        if (pairs == 5000) {
            QTest::mouseClick(button("bt_stop"), Qt::LeftButton);
            return;
        }
        QTimer::singleShot(0, w.get(), next);
        for (int k = 0; k < 10; ++k, ++pairs) {
            button("bt_pause")->click();
            button("bt_run")->click();
        }
    };
    run("LABEL 1\nA=A+1\nGOTO 1", next);
    setrlimit(RLIMIT_STACK, &saved);
    EXPECT_EQ(pairs, 5000);
    EXPECT_EQ(button_states(), "100");
    EXPECT_GT(var_get(0), 0);
}

TEST_F(WindowTest, StopLineAfterEndAnErrorAndStop) {
    run("A=1\n\nEND\nPRINT 2");
    EXPECT_EQ(w->status_text(), "Stop in line: 2");
    EXPECT_TRUE(output().isEmpty());

    run("A=1\nRETURN\nPRINT 2");
    EXPECT_EQ(output(), QStringList({"ERROR in line: 1", "ERROR: RETURN does not match"}));
    EXPECT_EQ(w->status_text(), "Stop in line: 1");

    // Stopped while paused: the line of the statement that would have run next.
    run_steps("LABEL 1\nA=A+1\nIF A<50 THEN GOTO 1\nPRINT A\nLABEL 2:GOTO 2",
              {{[&] { return !output().isEmpty(); },
                [&] { QTest::mouseClick(button("bt_pause"), Qt::LeftButton); }},
               {at_once(), [&] { QTest::mouseClick(button("bt_stop"), Qt::LeftButton); }}});
    EXPECT_EQ(output(), QStringList({"50"}));
    EXPECT_EQ(w->status_text(), "Stop in line: 4");
    EXPECT_EQ(button_states(), "100");
}

TEST_F(WindowTest, FreshRunClearsTheOutputAResumeDoesNot) {
    run("PRINT 1");
    EXPECT_EQ(output(), QStringList({"1"}));
    QStringList while_paused;
    run_steps("PRINT 2\nLABEL 1\nGOTO 1",
              {{at_once(), [&] { QTest::mouseClick(button("bt_pause"), Qt::LeftButton); }},
               {at_once(), [&] {
                    mcod(*w)->setPlainText("PRINT 3");  // edits during a pause are not run
                    QTimer::singleShot(20, [&] {
                        while_paused = output();
                        QTest::mouseClick(button("bt_stop"), Qt::LeftButton);
                    });
                    QTest::mouseClick(button("bt_run"), Qt::LeftButton);
                }}});
    EXPECT_EQ(while_paused, QStringList({"2"}));
    EXPECT_EQ(output(), QStringList({"2"}));
    EXPECT_EQ(msrc(*w)->toPlainText(), "PRINT 2\nLABEL 1\nGOTO 1");
}

TEST_F(WindowTest, EmptyProgramFinishesAtOnce) {
    run("// nothing\n\n   ");
    EXPECT_TRUE(output().isEmpty());
    EXPECT_EQ(button_states(), "100");
    EXPECT_EQ(w->status_text(), "Stop in line: 0");
}

TEST_F(WindowTest, TooLargeAndFaultyProgramsLeaveTheWindowIdle) {
    run(QString(9000, 'A'));
    EXPECT_EQ(output(), QStringList({"ERROR: Program too large: 9002 bytes, limit 8192"}));
    EXPECT_EQ(button_states(), "100");

    run("A=1\nB=A/0\nPRINT 9");
    EXPECT_EQ(output(), QStringList({"ERROR in line: 1", "ERROR: Division by zero"}));
    EXPECT_EQ(button_states(), "100");
    run("PRINT 7");
    EXPECT_EQ(output(), QStringList({"7"}));
}

TEST_F(WindowTest, ClosingStopsARunningProgram) {
    answer_questions({QMessageBox::No});
    run_steps(endless, {{at_once(), [&] { w->close(); }}});
    EXPECT_EQ(button_states(), "100");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(questions, QStringList({"Save changes?"}));
}

TEST_F(WindowTest, NoStatementBeforeTheResumeTime) {
    VirtualClock clock;
    clock.install();
    QStringList early;
    run_steps("DELAY 1000\nPRINT 1",
              {{[] { return interp.resume_time == 1000; }, nullptr},
               {[n = 0]() mutable { return ++n > 20; },  // some 40 ms of waiting
                [&] {
                    early = output();
                    clock.advance_to(999);
                }},
               {[n = 0]() mutable { return ++n > 5; },
                [&] {
                    early += output();
                    clock.advance_to(1000);
                }}});
    clock_set_source(nullptr, nullptr);
    EXPECT_TRUE(early.isEmpty());
    EXPECT_EQ(output(), QStringList({"1"}));
}

// ---- panels ----

TEST_F(WindowTest, VariablePanelFollowsAtTheTimerRate) {
    run("A=1234567\nB=0.1234567\nC=-0.00012\nD=0.00001\nE=999999");
    ASSERT_TRUE(wait_for([&] { return label("lA") == "A: 1.23457E6"; }));
    EXPECT_EQ(label("lB"), "B: 0.123457");
    EXPECT_EQ(label("lC"), "C: -0.00012");
    EXPECT_EQ(label("lD"), "D: 1E-5");
    EXPECT_EQ(label("lE"), "E: 999999");
}

// Only the channels that changed are redrawn: a label of another channel is not touched.
TEST_F(WindowTest, ThePanelRedrawsOnlyWhatChanged) {
    w->findChild<QLabel*>("lb_magx")->setText("untouched");
    channel_set(Channel::CoiX, 40);
    channel_set(Channel::Spd, 1);
    ASSERT_TRUE(panel_drawn());
    EXPECT_EQ(label("lb_magx"), "untouched");
    EXPECT_EQ(label("lb_coix"), "0.4");
    EXPECT_EQ(slider("tb_coix")->value(), 40);
    EXPECT_EQ(w->pb_spd()->value(), 1);
}

TEST_F(WindowTest, SlidersSetTheLabelsAndThePrograms) {
    slider("tb_magx")->setValue(37);
    slider("tb_magy")->setValue(-100);
    slider("tb_tem")->setValue(-40);
    slider("tb_rx")->setValue(300);
    EXPECT_EQ(label("lb_magx"), "0");  // not in the middle of a change: at the next redraw
    ASSERT_TRUE(panel_drawn());
    EXPECT_EQ(label("lb_magx"), "0.37");
    EXPECT_EQ(label("lb_magy"), "-1");
    EXPECT_EQ(label("lb_tem"), "-40");
    EXPECT_EQ(label("lb_rx"), "255");

    run_steps("LABEL 1\nMGET A,B,C\nIF A>0.5 THEN END\nGOTO 1",
              {{at_once(), [&] { slider("tb_magx")->setValue(60); }}});
    EXPECT_EQ(var_get(0), 0.6);
    EXPECT_EQ(var_get(1), -1);
}

TEST_F(WindowTest, CoilsAndSpeedShowOnTheWidgets) {
    run("COIL 0.29,-5,0.5\nSPEED 2.9");
    EXPECT_EQ(slider("tb_coix")->value(), 28);
    EXPECT_EQ(slider("tb_coiy")->value(), -100);
    EXPECT_EQ(slider("tb_coiz")->value(), 50);
    EXPECT_EQ(label("lb_coix"), "0.28");
    EXPECT_EQ(label("lb_coiy"), "-1");
    EXPECT_EQ(label("lb_coiz"), "0.5");
    EXPECT_EQ(w->pb_spd()->value(), 2);
}

TEST_F(WindowTest, TimerIntervalFollowsItsSlider) {
    slider("tb_timer")->setValue(10);
    EXPECT_EQ(timer("t_sdr")->interval(), 10);
    slider("tb_timer")->setValue(0);
    EXPECT_EQ(timer("t_sdr")->interval(), 110);
}

TEST_F(WindowTest, TransmissionDrawsATraceUntilRxEndsIt) {
    slider("tb_timer")->setValue(10);
    int rows_with_trace = 0;
    int noisy_pixels = 0;
    int trace_after_rx = -1;
    // The program transmits until the test sets A, then ends the transmission with RX.
    run_steps("TX 5,7\nLABEL 1\nIF A=0 THEN GOTO 1\nRX R\nDELAY 300\nEND",
              {
                  {[] { return radio.tx_active; }, nullptr},
                  // Three rows drawn since: they carry 200 in column 17 (or four seconds pass).
                  {[&, n = 0]() mutable { return pixel(2, 17) == 200 || ++n > 2000; },
                   [&] {
                       for (int row = 0; row < 3; ++row) {
                           rows_with_trace += pixel(row, 17) == 200;
                           for (int col = 0; col < SDR_WIDTH; ++col) {
                               const int v = pixel(row, col);
                               if (col != 17 && (v < 20 || v > 34)) ++noisy_pixels;
                           }
                       }
                       var_set(0, 1);
                   }},
                  {[] { return !radio.tx_active; }, nullptr},
                  {[n = 0]() mutable { return ++n > 40; }, [&] { trace_after_rx = pixel(0, 17); }},
              });
    EXPECT_EQ(rows_with_trace, 3);
    EXPECT_EQ(noisy_pixels, 0);
    EXPECT_GE(trace_after_rx, 20);
    EXPECT_LE(trace_after_rx, 34);
}

// ---- the math error box ----

// A report explains itself under the output without a hover, and the band marks the line
// where the failing statement began; the next RUN takes the explanation away.
TEST_F(WindowTest, AReportIsExplainedUnderTheOutput) {
    QLabel* strip = w->findChild<QLabel*>("explanation");
    ASSERT_NE(strip, nullptr);
    EXPECT_FALSE(strip->isVisible());
    run("PRINT 1\nGOTO 7\nPRINT 2");
    EXPECT_EQ(output(), QStringList({"1", "ERROR in line: 2", "ERROR: Expected token 1, got 2",
                                     "ERROR in line: 2", "ERROR: Expected token 3, got 2"}));
    EXPECT_TRUE(strip->isVisible());
    EXPECT_TRUE(strip->text().contains(
        "There is no LABEL 7 in the program: GOTO 7 has nowhere to go (line 1: GOTO 7)"))
        << strip->text().toStdString();
    // Where the search ended, with the rest, behind "More".
    w->findChild<QPushButton*>("explanation_more")->click();
    EXPECT_TRUE(strip->text().contains("No LABEL 7 in the program. The GOTO that asked for it is "
                                       "on line 1; the report names line 2, where the search "
                                       "ended."))
        << strip->text().toStdString();
    EXPECT_EQ(mcod(*w)->error_band_line(), 1);
    run("PRINT 1");
    EXPECT_FALSE(strip->isVisible());
}

TEST_F(WindowTest, MathErrorBoxHoldsTheRunUntilClosed) {
    QString text, caption, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int output_lines_while_open = -1;
    int ticks_while_open = 0;
    QTimer poll;
    QSignalSpy ticks(timer("t_sdr"), &QTimer::timeout);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ticks.clear();
            return;
        }
        // The waterfall keeps running while the box holds the run.
        ticks_while_open = static_cast<int>(ticks.count());
        if (ticks_while_open < 2) return;
        poll.stop();
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        output_lines_while_open = output().size();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    run("PRINT 1\nSQRT -4,A\nPRINT A");
    EXPECT_EQ(text, "sqrt: DOMAIN error");
    EXPECT_EQ(title, QCoreApplication::applicationFilePath().section('/', -1));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(output_lines_while_open, 1);
    EXPECT_GE(ticks_while_open, 2);
    EXPECT_EQ(output(), QStringList({"1", "NAN"}));
}

TEST_F(WindowTest, MathErrorBoxCanStopAnEndlessRun) {
    int boxes = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        // OK twice: the run goes on and the box comes back; then STOP ends the run.
        if (++boxes < 3) {
            box->button(QMessageBox::Ok)->click();
        } else {
            poll.stop();
            box->findChild<QPushButton*>("math_stop")->click();
        }
    });
    poll.start(5);
    run("LABEL 1\nSQRT -1,A\nGOTO 1");
    EXPECT_EQ(boxes, 3);
    EXPECT_EQ(button_states(), "100");
    EXPECT_TRUE(std::isnan(var_get(0)));
    EXPECT_EQ(w->status_text(), "Stop in line: 2");
}

TEST_F(WindowTest, MathErrorSeamTakesTheText) {
    QStringList seen;
    Tfmain::math_error_hook = [&](const QString&, const QString& t) { seen << t; };
    run("LOG 0,A\nPOW 0,0,B\nPRINT A");
    EXPECT_EQ(seen, QStringList({"log: SING error", "pow: DOMAIN error"}));
    EXPECT_EQ(output(), QStringList({"-INF"}));
}

}  // namespace
