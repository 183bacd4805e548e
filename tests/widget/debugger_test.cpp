// Watching a program run: STEP, breakpoints, the band on the next statement, the error line,
// the variables that changed, and slow motion.
#include <QApplication>
#include <QComboBox>
#include <QTextBlock>

#include "clock.h"
#include "debugger.h"
#include "output_pane.h"
#include "window_fixture.h"

namespace {

// "run pause stop step" as 1 for enabled, 0 for disabled.
QString all_buttons(const Tfmain& w) {
    return QStringLiteral("%1%2%3%4")
        .arg(named<QPushButton>(w, "bt_run")->isEnabled())
        .arg(named<QPushButton>(w, "bt_pause")->isEnabled())
        .arg(named<QPushButton>(w, "bt_stop")->isEnabled())
        .arg(named<QPushButton>(w, "bt_step")->isEnabled());
}

TEST_F(WindowTest, StepGoesOneStatementAtATimeFromIdle) {
    QStringList seen;
    const auto record = [&] {
        seen << QStringLiteral("%1 %2 %3 %4")
                    .arg(mcod(*w)->current_band_line())
                    .arg(label("lA"), label("lB"))
                    .arg(all_buttons(*w));
    };
    const auto step = [&] { QTest::mouseClick(button("bt_step"), Qt::LeftButton); };
    const bool taken = run_steps("A=1\nB=2\nPRINT A+B",
                                 {{[&] { return paused(); }, record},
                                  {at_once(), step},
                                  {[&] { return paused(); }, record},
                                  {at_once(), step},
                                  {[&] { return paused(); }, record},
                                  {at_once(), step}},
                                 button("bt_step"));
    EXPECT_TRUE(taken);
    EXPECT_EQ(seen, QStringList({"0 A: 0 B: 0 1011", "1 A: 1 B: 0 1011", "2 A: 1 B: 2 1011"}));
    EXPECT_EQ(output(), QStringList({"3"}));
    EXPECT_EQ(all_buttons(*w), "1001");
    EXPECT_EQ(mcod(*w)->current_band_line(), -1);
}

TEST_F(WindowTest, StepWaitsOutADelayFirst) {
    VirtualClock clock;
    clock.install();
    double during_delay = -1;
    const bool taken = run_steps(
        "DELAY 500\nA=7",
        {{[&] { return paused(); }, [&] { QTest::mouseClick(button("bt_step"), Qt::LeftButton); }},
         {[&] { return paused() && mcod(*w)->current_band_line() == 1; },
          [&] { QTest::mouseClick(button("bt_step"), Qt::LeftButton); }},
         {[&] { return run_control(*w)->state() == RunControl::State::Waiting; },
          [&] {
              during_delay = var_get(0);
              clock.advance_to(500);
          }}},
        button("bt_step"));
    clock_set_source(nullptr, nullptr);
    EXPECT_TRUE(taken);
    EXPECT_EQ(during_delay, 0);
    EXPECT_EQ(var_get(0), 7);
    EXPECT_EQ(all_buttons(*w), "1001");
}

TEST_F(WindowTest, ABreakpointInALoopHoldsEveryPassAndRunGoesOnPastIt) {
    mcod(*w)->setPlainText("FOR I=1 TO 3\nA=A+I\nNEXT I\nPRINT A");
    mcod(*w)->toggle_breakpoint(1);
    QStringList holds;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!paused()) return;
        holds << QStringLiteral("%1 %2").arg(mcod(*w)->current_band_line()).arg(label("lA"));
        QTest::mouseClick(button("bt_run"), Qt::LeftButton);
    });
    poll.start(2);
    QTest::mouseClick(button("bt_run"), Qt::LeftButton);
    EXPECT_EQ(holds, QStringList({"1 A: 0", "1 A: 1", "1 A: 3"}));
    EXPECT_EQ(output(), QStringList({"6"}));
}

TEST_F(WindowTest, BreakpointsMoveWithTheirLines) {
    mcod(*w)->setPlainText("A=1\nB=2\n// note\n");
    button("bt_save")->setEnabled(false);
    mcod(*w)->toggle_breakpoint(1);
    EXPECT_FALSE(button("bt_save")->isEnabled()) << "a breakpoint is no edit of the text";
    mcod(*w)->toggle_breakpoint(2);
    QTextCursor top(mcod(*w)->document());
    top.insertText("// new first line\n");
    EXPECT_EQ(mcod(*w)->breakpoint_lines(), (std::vector<int>{2, 3}));
    mcod(*w)->toggle_breakpoint(3);
    EXPECT_EQ(mcod(*w)->breakpoint_lines(), (std::vector<int>{2}));

    // A click in the gutter beside a line, and F9 on the caret's line.
    const QRect line_one =
        mcod(*w)->cursorRect(QTextCursor(mcod(*w)->document()->findBlockByNumber(1)));
    QTest::mouseClick(mcod(*w)->gutter(), Qt::LeftButton, {}, QPoint(5, line_one.center().y()));
    mcod(*w)->setTextCursor(QTextCursor(mcod(*w)->document()));
    QApplication::setActiveWindow(w.get());
    QTest::keyClick(mcod(*w), Qt::Key_F9);
    EXPECT_EQ(mcod(*w)->breakpoint_lines(), (std::vector<int>{0, 1, 2}));
}

TEST_F(WindowTest, PauseShowsTheNextStatementAndAnEditKeepsItsLine) {
    int band = -2;
    int line = -3;
    const bool taken =
        run_steps("LABEL 1\nA=A+1\nGOTO 1",
                  {{at_once(), [&] { QTest::mouseClick(button("bt_pause"), Qt::LeftButton); }},
                   {[&] { return paused(); },
                    [&] {
                        band = mcod(*w)->current_band_line();
                        line = current_line();
                        QTextCursor(mcod(*w)->document()).insertText("// added\n");
                    }},
                   {at_once(), [&] { QTest::mouseClick(button("bt_stop"), Qt::LeftButton); }}});
    EXPECT_TRUE(taken);
    EXPECT_EQ(band, line);
    EXPECT_EQ(mcod(*w)->current_band_line(), -1);
    EXPECT_TRUE(w->status_text().startsWith("Stop in line: "));
}

TEST_F(WindowTest, TheErrorLineGetsABandAndTheCaret) {
    run("A=1\nB=1/0\nPRINT 3");
    EXPECT_EQ(output().value(0), "ERROR in line: 1");
    EXPECT_EQ(mcod(*w)->error_band_line(), 1);
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 1);
    EXPECT_EQ(mcod(*w)->textCursor().positionInBlock(), 0);
    EXPECT_EQ(w->status_text(), "Stop in line: 1");
    EXPECT_EQ(label("lA"), "A: 1");
    EXPECT_TRUE(w->findChild<QLabel*>("lA")->property("changed").toBool());
    EXPECT_FALSE(w->findChild<QLabel*>("lB")->property("changed").toBool());

    // A double click on the report takes the caret back there.
    mcod(*w)->setTextCursor(QTextCursor(mcod(*w)->document()));
    const QRect first = mdb(*w)->cursorRect(QTextCursor(mdb(*w)->document()));
    QTest::mouseDClick(mdb(*w)->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 1);

    // Mending the line takes the band away.
    QTest::keyClicks(mcod(*w), "B");
    EXPECT_TRUE(wait_for([&] { return mcod(*w)->error_band_line() == -1; }));
}

// The pane knows its reports by the run, not by what a line says or where it stands: a printed
// look-alike is none, and a report stays one after lines have left the pane's top.
TEST_F(WindowTest, TheOutputPaneKnowsItsReportsWhateverItDrops) {
    mdb(*w)->setMaximumBlockCount(50);
    run("FOR I=1 TO 60\nPRINT I\nNEXT I\nPRINT \"ERROR in line: 0\"\nA=1/0");
    const QTextDocument* doc = mdb(*w)->document();
    ASSERT_EQ(doc->blockCount(), 50);
    const QTextBlock message = doc->lastBlock();
    const QTextBlock line = message.previous();
    const QTextBlock look_alike = line.previous();
    ASSERT_EQ(look_alike.text(), "ERROR in line: 0");
    ASSERT_EQ(line.text(), "ERROR in line: 4");
    bool first = false;
    const RunReport* report = OutputPane::report_of(line, &first);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->kind, ReportKind::DivisionByZero);
    EXPECT_TRUE(first);
    ASSERT_NE(OutputPane::report_of(message, &first), nullptr);
    EXPECT_FALSE(first);
    EXPECT_EQ(OutputPane::report_of(look_alike), nullptr);

    mcod(*w)->setTextCursor(QTextCursor(mcod(*w)->document()->findBlockByNumber(2)));
    QTest::mouseDClick(mdb(*w)->viewport(), Qt::LeftButton, {},
                       mdb(*w)->cursorRect(QTextCursor(look_alike)).center());
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 2);
    QTest::mouseDClick(mdb(*w)->viewport(), Qt::LeftButton, {},
                       mdb(*w)->cursorRect(QTextCursor(message)).center());
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 4);
}

TEST_F(WindowTest, SlowMotionKeepsItsRateOnTheProgramClock) {
    VirtualClock clock;
    clock.install();
    auto* speed = w->findChild<QComboBox*>("cb_speed");
    speed->setCurrentIndex(speed->findData(10));
    std::vector<long long> steps;
    int band = -1;
    std::vector<Step> script;
    for (int t = 100; t <= 500; t += 100) {
        script.push_back({[&, t] { return run_control(*w)->steps() == t / 100; },
                          [&, t] {
                              steps.push_back(run_control(*w)->steps());
                              band = std::max(band, mcod(*w)->current_band_line());
                              clock.advance_to(t);
                          }});
    }
    script.push_back({[&] { return run_control(*w)->steps() == 6; },
                      [&] { QTest::mouseClick(button("bt_stop"), Qt::LeftButton); }});
    const bool taken = run_steps("LABEL 1\nA=A+1\nGOTO 1", script);
    clock_set_source(nullptr, nullptr);
    EXPECT_TRUE(taken);
    EXPECT_EQ(steps, (std::vector<long long>{1, 2, 3, 4, 5}));
    EXPECT_GE(band, 0);  // the band followed the running statement
    // LABEL, then A=A+1 and GOTO in turn: GOTO goes on after the LABEL.
    EXPECT_EQ(var_get(0), 3);
}

// What the window hangs on the debugger (the telemetry recording, the status bar) sees every
// fresh start end exactly once: after a run, after a STOP while paused, and when the program
// cannot start at all.
TEST_F(WindowTest, EveryStartOfARunEndsOnce) {
    Debugger* debugger = w->debugger();
    ASSERT_EQ(debugger->run_control(), run_control(*w));
    QStringList seen;
    QObject::connect(debugger, &Debugger::runStarting, [&] { seen << "start"; });
    QObject::connect(debugger, &Debugger::runEnded, [&] { seen << "end"; });
    QObject::connect(debugger, &Debugger::paused, [&] { seen << "paused"; });
    QObject::connect(debugger, &Debugger::status, [&](const QString& text) { seen << text; });
    run("A=1\nB=2");
    run(QString("A=1\nPRINT ") + QChar(0x20AC));
    EXPECT_TRUE(run_steps("A=1\nB=2",
                          {{[&] { return paused(); },
                            [&] { QTest::mouseClick(button("bt_stop"), Qt::LeftButton); }}},
                          button("bt_step")));
    EXPECT_EQ(seen, QStringList({"start", "end", "Stop in line: 1", "start", "end", "start",
                                 "paused", "end", "Stop in line: 0"}));
    EXPECT_FALSE(debugger->active());
}

}  // namespace
