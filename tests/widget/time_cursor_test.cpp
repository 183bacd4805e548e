// The time cursor on the telemetry charts: the keys and the mouse move the moment the machine
// shows, the band, the variables and the cursor's words follow; the telemetry of a run that goes
// on from its past; and the waterfall's mark of the row at the cursor.
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <optional>

#include "telemetry_pane.h"
#include "telemetry_part.h"
#include "window_fixture.h"

namespace {

class TimeCursorTest : public WindowTest {
   protected:
    void SetUp() override {
        WindowTest::SetUp();
        auto* speed = w->findChild<QComboBox*>("cb_speed");
        speed->setCurrentIndex(speed->findText("No waits"));
    }
    TelemetryPane* pane() const {
        w->telemetry()->show_pane(true);
        return w->telemetry()->pane();
    }
    RunMoment moment() const { return w->debugger()->moment(); }
    // Where the machine stands, as the window shows it: the moment, the cursor's words, the
    // band's line and two variables.
    QString shown() const {
        const RunMoment m = moment();
        return QStringLiteral("%1 %2 | %3 | band %4 | %5 %6")
            .arg(m.step)
            .arg(m.clock_ms - w->telemetry()->program_clock(0))
            .arg(pane()->cursor_label()->text())
            .arg(mcod(*w)->current_band_line())
            .arg(label("lA"), label("lB"));
    }
};

// A statement a line, the program clock moved on by its DELAYs: Left and Right go a statement,
// Page Up and Page Down a second, Home and End to the first and the last moment; a click and a
// drag on a chart put the cursor at the time under the pointer. The chart says it as it shows it.
TEST_F(TimeCursorTest, KeysAndTheMouseMoveTheMoment) {
    // Shown during the run, the pane followed the newest time; it no longer does after it.
    TelemetryPane* p = pane();
    run("A=1\nDELAY 1500\nA=2\nDELAY 1500\nA=3\nB=A*2\n");
    ASSERT_TRUE(p->cursor().has_value());
    QChartView* chart = p->chart_view(0);
    chart->setFocus();
    const auto key = [chart](int k) {
        QTest::keyClick(chart, static_cast<Qt::Key>(k));
        return QString();
    };
    struct KeyCase {
        int key;
        const char* shown;
    };
    // A statement's moment has the clock as the statement before left it: the moment before A=3
    // is at the start of the DELAY before it. A moment by the clock is the run stopped then.
    const KeyCase cases[] = {
        {Qt::Key_End, "6 3000 | Time cursor: 3.000 s, the end of the run | band -1 | A: 3 B: 6"},
        {Qt::Key_Left, "5 3000 | Time cursor: 3.000 s, line 5 | band 5 | A: 3 B: 0"},
        {Qt::Key_Left, "4 1500 | Time cursor: 1.500 s, line 4 | band 4 | A: 2 B: 0"},
        {Qt::Key_PageUp, "2 500 | Time cursor: 0.500 s, line 2 | band 2 | A: 1 B: 0"},
        {Qt::Key_Home, "0 0 | Time cursor: 0.000 s, line 0 | band 0 | A: 0 B: 0"},
        {Qt::Key_Right, "1 0 | Time cursor: 0.000 s, line 1 | band 1 | A: 1 B: 0"},
        {Qt::Key_PageDown, "2 1000 | Time cursor: 1.000 s, line 2 | band 2 | A: 1 B: 0"},
    };
    for (const KeyCase& c : cases) {
        key(c.key);
        EXPECT_EQ(shown(), QString::fromLatin1(c.shown))
            << QKeySequence(c.key).toString().toStdString();
        EXPECT_EQ(chart->accessibleDescription(), p->cursor_label()->text());
    }
    // The cursor's line stands where the time axis has the moment's time.
    const double x = *p->cursor_x(0);
    EXPECT_EQ(p->time_at(0, x), 1000);
    // A click at 0.5 s and a drag to 2.5 s.
    const auto at_time = [&](int64_t ms) {
        const QRectF area = chart->chart()->plotArea();
        const double fraction = static_cast<double>(ms - p->view_from()) /
                                static_cast<double>(p->view_to() - p->view_from());
        return chart->mapFromScene(chart->chart()->mapToScene(
            QPointF(area.left() + fraction * area.width(), area.center().y())));
    };
    // Within a pixel's time.
    const double pixel =
        static_cast<double>(p->view_to() - p->view_from()) / chart->chart()->plotArea().width();
    const auto shown_ms = [this] {
        return static_cast<double>(moment().clock_ms - w->telemetry()->program_clock(0));
    };
    QTest::mousePress(chart->viewport(), Qt::LeftButton, {}, at_time(500));
    EXPECT_NEAR(shown_ms(), 500, pixel);
    QMouseEvent move(QEvent::MouseMove, at_time(2500),
                     chart->viewport()->mapToGlobal(at_time(2500)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(chart->viewport(), &move);
    QTest::mouseRelease(chart->viewport(), Qt::LeftButton, {}, at_time(2500));
    EXPECT_NEAR(shown_ms(), 2500, pixel);
    EXPECT_TRUE(p->resume_button()->isEnabled());
}

// Resumed from a moment of its past, a run's telemetry is that of a run that never had the
// forgotten future: the export is the export of a fresh run of the same program.
TEST_F(TimeCursorTest, AResumedRunsTelemetryForgetsTheFuture) {
    const QString program = "FOR I=1 TO 5\nCOIL I*10,0,0\nA=A+I\nDELAY 200\nNEXT I\nCOIL 0,0,0\n";
    run(program);
    answer_dialogs({dir.filePath("fresh.csv")});
    w->telemetry()->export_action()->trigger();
    TelemetryPane* p = pane();
    ASSERT_TRUE(p->cursor().has_value());
    p->chart_view(0)->setFocus();
    QTest::keyClick(p->chart_view(0), Qt::Key_Home);
    for (int k = 0; k < 9; ++k) QTest::keyClick(p->chart_view(0), Qt::Key_Right);
    ASSERT_TRUE(p->resume_button()->isEnabled());
    p->resume_button()->click();
    ASSERT_TRUE(paused());
    EXPECT_FALSE(p->cursor_label()->text().isEmpty());
    QTest::mouseClick(button("bt_run"), Qt::LeftButton);
    ASSERT_TRUE(wait_for([this] { return !run_control(*w)->active(); }));
    answer_dialogs({dir.filePath("resumed.csv")});
    w->telemetry()->export_action()->trigger();
    EXPECT_EQ(read_bytes(dir.filePath("resumed.csv")), read_bytes(dir.filePath("fresh.csv")));
}

// The waterfall marks the row that holds a time while it is in view: the oldest row stamped at or
// after it, once an older stamped row is before it or the run began within the picture.
TEST(WaterfallMark, TheRowThatHoldsTheTime) {
    WaterfallView view;
    view.set_rows(100);
    for (int k = 0; k < 3; ++k) view.row_scrolled(std::nullopt);  // before the run
    view.forget_stamps();
    // Oldest first; a held run draws unstamped rows.
    for (const std::optional<int32_t> stamp :
         {std::optional<int32_t>(100), std::optional<int32_t>(200), std::optional<int32_t>(),
          std::optional<int32_t>(), std::optional<int32_t>(200), std::optional<int32_t>(300),
          std::optional<int32_t>(400)}) {
        view.row_scrolled(stamp);
    }
    const auto mark = [&view](int32_t t) {
        view.mark_time(t);
        return view.marked_row().value_or(-1);
    };
    struct Case {
        int32_t time;
        int row;
    };
    for (const Case& c : {Case{400, 0},
                          {350, 0},
                          {300, 1},
                          {250, 1},
                          {200, 5},
                          {150, 5},
                          {100, 6},
                          {50, 6},
                          {500, -1}}) {
        EXPECT_EQ(mark(c.time), c.row) << c.time;
    }
    // The rows after a moment the run went back to stand for nothing.
    view.forget_stamps_after(250);
    EXPECT_EQ(mark(300), -1);
    EXPECT_EQ(mark(200), 5);
    // Scrolled on, the mark goes with its row, and out of a shorter view.
    view.row_scrolled(std::nullopt);
    EXPECT_EQ(view.marked_row(), 6);
    view.set_rows(6);
    EXPECT_EQ(view.marked_row(), std::nullopt);
    // A run begun before the picture's oldest row: its oldest stamped row may hold earlier times.
    view.forget_stamps();
    for (int k = 0; k < SDR_HEIGHT + 5; ++k) view.row_scrolled(1000 + k);
    view.set_rows(SDR_HEIGHT);
    EXPECT_EQ(mark(1000), -1);
    EXPECT_EQ(mark(1010), SDR_HEIGHT + 4 - 10);
    view.mark_time(std::nullopt);
    EXPECT_EQ(view.marked_row(), std::nullopt);
}

}  // namespace
