// The window on the screens of a classroom: a laptop, a laptop under a title bar and a taskbar,
// a netbook and a projector (tests/widget/screen.json lists them beside the desk screen).
#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QtMath>
#include <functional>

#include "editor_commands.h"
#include "mission_control.h"
#include "radio.h"
#include "telemetry_pane.h"
#include "waterfall_view.h"
#include "telemetry_part.h"
#include "window_fixture.h"

namespace {

QScreen* screen_named(const QString& name) {
    for (QScreen* s : QGuiApplication::screens()) {
        if (s->name() == name) return s;
    }
    return nullptr;
}

// Every control a lesson needs: the variables, the device panel's sliders with their values
// and its bars, the waterfall and its speed, the buttons, the editor and the output.
QList<QWidget*> lesson_controls(Tfmain& w) {
    QList<QWidget*> controls;
    for (int k = 0; k < 26; ++k) {
        controls << w.findChild<QLabel*>(QStringLiteral("l%1").arg(QChar('A' + k)));
    }
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        const Channel c = static_cast<Channel>(i);
        if (c == Channel::Timer) continue;
        if (QSlider* s = GroupBox1(w)->slider(c)) controls << s;
        if (QLabel* l = GroupBox1(w)->value_label(c)) controls << l;
    }
    controls << GroupBox1(w)->pb_spd << GroupBox1(w)->pb_sys << w.findChild<QWidget*>("Iprev")
             << w.findChild<QSlider*>("tb_timer");
    for (const char* name :
         {"bt_run", "bt_pause", "bt_stop", "bt_step", "bt_stepback", "bt_load", "bt_save",
          "bt_savas"}) {
        controls << w.findChild<QPushButton*>(name);
    }
    controls << mcod(w) << mdb(w);
    return controls;
}

QString name_of(const QWidget* c) {
    return c->objectName();
}

// A click at the control's centre reaches the control (or a part of it), not something over it.
bool reached(QWidget* window, QWidget* c) {
    const QPoint centre = c->mapTo(window, c->rect().center());
    QWidget* hit = window->childAt(centre);
    return hit != nullptr && (hit == c || c->isAncestorOf(hit));
}

// Nothing of the control is cut off by the window or a scroll area around it.
bool shown_whole(QWidget* c) {
    return c->isVisible() && c->visibleRegion().boundingRect() == c->rect();
}

QRect global_rect(const QWidget* c) {
    return QRect(c->mapToGlobal(QPoint(0, 0)), c->size());
}

class LayoutTest : public WindowTest {
   protected:
    LayoutTest() { defer_window = true; }

    void open_on(const char* screen_name) {
        QScreen* screen = screen_named(screen_name);
        ASSERT_NE(screen, nullptr) << screen_name;
        interp_reset_all();
        device_reset();
        radio_reset();
        w = std::make_unique<Tfmain>();
        w->setScreen(screen);
        w->move(screen->availableGeometry().topLeft());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        settle();
    }
    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(10);
        }
    }
    QScrollArea* panel_scroll() const { return w->findChild<QScrollArea*>("panel_scroll"); }
    QSplitter* split() const { return w->findChild<QSplitter*>("editor_split"); }

    // Every control shows whole, where a click reaches it, and the panels do not scroll.
    void expect_everything_at_hand(const char* screen_name) {
        const QRect available = w->screen()->availableGeometry();
        EXPECT_TRUE(available.contains(w->frameGeometry())) << screen_name;
        for (QWidget* c : lesson_controls(*w)) {
            ASSERT_NE(c, nullptr);
            EXPECT_TRUE(shown_whole(c)) << screen_name << " " << name_of(c).toStdString();
            EXPECT_TRUE(reached(w.get(), c)) << screen_name << " " << name_of(c).toStdString();
        }
        EXPECT_FALSE(panel_scroll()->verticalScrollBar()->isVisible()) << screen_name;
        EXPECT_FALSE(panel_scroll()->horizontalScrollBar()->isVisible()) << screen_name;
    }
};

// The design size on a large screen: the panels where they have always been.
TEST_F(LayoutTest, DesignSizeKeepsThePanelsInPlace) {
    open_on("desk");
    EXPECT_EQ(w->size(), QSize(1118, 930));
    const QWidget* central = w->centralWidget();
    auto at = [central](const char* name) {
        const auto* c = central->findChild<QWidget*>(name);
        return QRect(c->mapTo(central, QPoint(0, 0)), c->size());
    };
    EXPECT_EQ(at("Panel1"), QRect(521, 0, 153, 721));
    EXPECT_EQ(at("GroupBox1"), QRect(688, 0, 273, 729));
    EXPECT_EQ(at("gb_sdr"), QRect(975, 0, 121, 729));
    // The newest 625 of the waterfall's rows, the channel axis under them.
    EXPECT_EQ(at("Iprev"), QRect(985, 32, 100, 625));
    EXPECT_EQ(at("sdr_axis"), QRect(977, 658, 117, 24));
    EXPECT_EQ(at("lZ"), QRect(521 + 16, 48 + 24 * 25, 130, 22));
    expect_everything_at_hand("desk");
}

// A laptop: the whole width, and every control at hand without scrolling, also with a title
// bar and a taskbar taking their share of the height.
TEST_F(LayoutTest, EveryControlAtHandOnALaptop) {
    for (const char* screen : {"laptop", "laptop_taskbar"}) {
        open_on(screen);
        EXPECT_EQ(w->frameGeometry().width(), 1366) << screen;
        expect_everything_at_hand(screen);
        EXPECT_GE(mcod(*w)->width(), 500) << screen;
    }
}

// A netbook: the panels scroll, and each control can be scrolled to and clicked.
TEST_F(LayoutTest, EveryControlReachableOnANetbook) {
    open_on("netbook");
    EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()));
    QWidget* panels = panel_scroll()->widget();
    for (QWidget* c : lesson_controls(*w)) {
        if (panels->isAncestorOf(c)) panel_scroll()->ensureWidgetVisible(c, 0, 0);
        QCoreApplication::processEvents();
        EXPECT_TRUE(reached(w.get(), c)) << name_of(c).toStdString();
    }
}

// The line between editor and output, and the window's size, come back at the next start; a
// maximised window gives its height to the editor and the output.
TEST_F(LayoutTest, SplitAndSizeComeBack) {
    open_on("desk");
    w->resize(1000, 900);
    settle();
    const int total = split()->sizes().at(0) + split()->sizes().at(1);
    split()->setSizes({total - 480, 480});
    settle();
    const QList<int> sizes = split()->sizes();
    EXPECT_EQ(sizes.at(1), 480);
    ASSERT_TRUE(w->close());
    w.reset();

    open_on("desk");
    EXPECT_EQ(w->size(), QSize(1000, 900));
    EXPECT_EQ(split()->sizes(), sizes);

    const int editor = mcod(*w)->height();
    const int output = mdb(*w)->height();
    w->showMaximized();
    settle();
    EXPECT_GT(mcod(*w)->height(), editor + 50);
    EXPECT_GT(mdb(*w)->height(), output + 50);
    EXPECT_EQ(mdb(*w)->geometry().bottom(), mdb(*w)->parentWidget()->height() - 1);
}

// 150 % on a projector: the panels' text grows with the editor's, and the window grows with
// them so that everything is still at hand. Reset gives the design's sizes back.
TEST_F(LayoutTest, ZoomForAProjector) {
    open_on("projector");
    while (text_pixel_size(mcod(*w)) < 27) action("act_zoom_in")->trigger();
    settle();
    const int zoomed = text_pixel_size(mcod(*w));
    EXPECT_EQ(w->findChild<QLabel*>("lA")->font().pixelSize(), zoomed);
    EXPECT_EQ(GroupBox1(*w)->value_label(Channel::MagX)->font().pixelSize(), zoomed);
    EXPECT_GE(w->findChild<QWidget*>("Panel1")->height(), 26 * 24);
    expect_everything_at_hand("projector");

    action("act_zoom_reset")->trigger();
    settle();
    EXPECT_EQ(w->findChild<QLabel*>("lA")->font().pixelSize(), 18);
    EXPECT_EQ(GroupBox1(*w)->size(), QSize(273, 729));
}

// The telemetry on a laptop takes a place of its own beside the editor and the sliders, and
// is found where the user left it at the next start.
TEST_F(LayoutTest, TelemetryCoversNothingAndKeepsItsPlace) {
    open_on("laptop");
    w->telemetry()->view_action()->trigger();
    settle();
    TelemetryPane* pane = w->telemetry()->pane();
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(pane->isVisible());
    EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()));
    const QRect charts = global_rect(pane);
    EXPECT_TRUE(w->screen()->availableGeometry().contains(charts));
    EXPECT_FALSE(charts.intersects(global_rect(mcod(*w))));
    EXPECT_TRUE(reached(w.get(), mcod(*w)));
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        QSlider* s = GroupBox1(*w)->slider(static_cast<Channel>(i));
        if (s == nullptr || s->objectName() == "tb_timer") continue;
        EXPECT_FALSE(charts.intersects(global_rect(s))) << name_of(s).toStdString();
        EXPECT_TRUE(reached(w.get(), s)) << name_of(s).toStdString();
    }

    pane->setFloating(true);
    pane->setGeometry(QRect(w->screen()->geometry().topLeft() + QPoint(100, 80), QSize(700, 500)));
    settle();
    const QRect left = pane->geometry();
    ASSERT_TRUE(w->close());
    w.reset();

    open_on("laptop");
    w->telemetry()->view_action()->trigger();
    settle();
    ASSERT_NE(w->telemetry()->pane(), nullptr);
    EXPECT_TRUE(w->telemetry()->pane()->isFloating());
    EXPECT_EQ(w->telemetry()->pane()->geometry(), left);
}

// Panes take their room from inside the window: on a laptop, the telemetry, the satellite and a
// mission with a long title leave the window's size as it was, and closed they give the editor
// its width back. The satellite and the mission come back where they were at the next start.
TEST_F(LayoutTest, PanesTakeTheirRoomFromInside) {
    open_on("laptop");
    const QSize size = w->size();
    const int editor = mcod(*w)->width();
    w->telemetry()->view_action()->trigger();
    action("act_satellite")->trigger();
    settle();
    EXPECT_EQ(w->size(), size);
    EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()));
    const QString mission = dir.filePath("long.mission");
    write_bytes(mission, "title = " + QByteArray(" keep it going").repeated(20) +
                             "\ntime = 5\ngoal = tem > 99\n");
    ASSERT_TRUE(w->mission_control()->choose_file(mission));
    settle();
    EXPECT_EQ(w->size(), size);
    w->mission_control()->choose_none();
    w->telemetry()->view_action()->trigger();
    action("act_satellite")->trigger();
    settle();
    EXPECT_EQ(w->size(), size);
    EXPECT_EQ(mcod(*w)->width(), editor);

    action("act_satellite")->trigger();
    ASSERT_TRUE(w->mission_control()->choose_file(mission));
    w->addDockWidget(Qt::LeftDockWidgetArea, w->findChild<QDockWidget*>("satellite_dock"));
    w->addDockWidget(Qt::LeftDockWidgetArea, w->mission_control()->dock());
    settle();
    ASSERT_TRUE(w->close());
    w.reset();
    open_on("laptop");
    action("act_satellite")->trigger();
    ASSERT_TRUE(w->mission_control()->choose_file(mission));
    settle();
    EXPECT_EQ(w->dockWidgetArea(w->findChild<QDockWidget*>("satellite_dock")),
              Qt::LeftDockWidgetArea);
    EXPECT_EQ(w->dockWidgetArea(w->mission_control()->dock()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()));
}

// Room on a laptop: a dozen lines of output, and 70 columns in the editor with any one pane open
// beside it, the sliders whole and the simulation's line in view. Panes on one side share it as
// tabs, a pane made by any part of the window too.
TEST_F(LayoutTest, ALaptopHasRoomForTheOutputAndTheEditorsColumns) {
    open_on("laptop");
    const auto output_lines = [this] {
        QPlainTextEdit* out = mdb(*w);
        const int margins = 2 * qCeil(out->document()->documentMargin());
        return (out->viewport()->height() - margins) / out->fontMetrics().lineSpacing();
    };
    const auto editor_columns = [this] {
        return mcod(*w)->viewport()->width() / mcod(*w)->fontMetrics().horizontalAdvance('0');
    };
    ASSERT_TRUE(w->mission_control()->choose_file(":/missions/detumble.mission"));
    QDockWidget* mission = w->mission_control()->dock();
    mission->close();
    settle();
    EXPECT_GE(output_lines(), 12);
    EXPECT_GE(editor_columns(), 70);
    const std::function<QDockWidget*(bool)> panes[] = {
        [this](bool shown) {
            if (w->telemetry()->view_action()->isChecked() != shown) {
                w->telemetry()->view_action()->trigger();
            }
            return static_cast<QDockWidget*>(w->telemetry()->pane());
        },
        [this](bool shown) {
            if (action("act_satellite")->isChecked() != shown) action("act_satellite")->trigger();
            return w->findChild<QDockWidget*>("satellite_dock");
        },
        [mission](bool shown) {
            mission->setVisible(shown);
            return mission;
        },
    };
    for (const auto& pane : panes) {
        const QDockWidget* shown = pane(true);
        settle();
        const std::string name = shown->objectName().toStdString();
        EXPECT_FALSE(shown->isFloating()) << name;
        EXPECT_GE(editor_columns(), 70) << name;
        EXPECT_GE(output_lines(), 12) << name;
        EXPECT_GE(shown->width(), 300) << name;
        EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry())) << name;
        EXPECT_TRUE(shown_whole(w->findChild<QLabel*>("sim_note"))) << name;
        // The sensors' and coils' sliders; the variables and the waterfall may scroll aside.
        for (QSlider* s : GroupBox1(*w)->findChildren<QSlider*>()) {
            EXPECT_TRUE(reached(w.get(), s)) << name << " " << name_of(s).toStdString();
        }
        pane(false);
    }
    // All at once, and one more made elsewhere: one area of tabs.
    for (const auto& pane : panes) pane(true);
    auto* other = new QDockWidget("Other", w.get());
    other->setObjectName("other_dock");
    w->addDockWidget(Qt::RightDockWidgetArea, other);
    settle();
    EXPECT_EQ(w->tabifiedDockWidgets(other).size(), 3);
    EXPECT_GE(editor_columns(), 70);
    EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()));
}

// The channel axis under the waterfall: its numbers stand under their channels' columns, and
// "TX 17" is marked under the column the trace is drawn in, for the eye and the screen reader.
TEST_F(LayoutTest, TheWaterfallAxisNamesTheChannels) {
    open_on("desk");
    auto* axis = w->findChild<WaterfallAxis*>("sdr_axis");
    auto* view = w->findChild<WaterfallView*>("Iprev");
    ASSERT_NE(axis, nullptr);
    for (int c : {0, 10, 17, 30}) {
        EXPECT_EQ(axis->mapTo(w.get(), QPoint(axis->channel_x(c), 0)).x(),
                  view->mapTo(w.get(), QPoint(sdr_channel_column(c), 0)).x())
            << c;
    }
    EXPECT_EQ(axis->accessibleDescription(), "No transmission yet");

    run("TX 17,5\nDELAY 1500\nPRINT 9\n");
    ASSERT_EQ(axis->marked_channel(), 17);
    EXPECT_EQ(axis->accessibleDescription().endsWith("channel 17"), true)
        << axis->accessibleDescription().toStdString();
    // The trace's column in the newest rows is the one the mark stands under.
    int brightest = 0;
    for (int x = 0; x < SDR_WIDTH; ++x) {
        if (pixel(1, x) > pixel(1, brightest)) brightest = x;
    }
    EXPECT_EQ(brightest, sdr_channel_column(17));
    const QImage drawn = axis->grab().toImage();
    const QColor mark = drawn.pixelColor(axis->channel_x(17), 4);
    EXPECT_GT(mark.red(), 140);
    EXPECT_GT(mark.green(), 140);
    EXPECT_LT(mark.blue(), 100);

    // A column's tooltip names its channel, and the row how long ago it was drawn: 110 ms a
    // row at the slowest speed.
    w->slider(Channel::Timer)->setValue(info_of(Channel::Timer).minimum);
    EXPECT_EQ(view->tip_at(QPoint(sdr_channel_column(17), 10)), "Channel 17 (column 53); 1.1 s ago");
    EXPECT_EQ(view->tip_at(QPoint(0, 0)), "No channel here; 0.0 s ago");
}

}  // namespace

// On a laptop, after a run that stops: the strip starts with the cause, its general words wait
// behind "More", the failing line stays in the editor's view and the report's lines in the
// output's, whole.
TEST_F(LayoutTest, TheStopShowsItsCauseAndKeepsTheLinesInView) {
    open_on("laptop");
    QString program = "B=0\n";
    for (int i = 0; i < 60; ++i) program += "PRINT " + QString::number(i) + "\n";
    program += "A=5/B";
    run(program);
    settle();
    auto* strip = w->findChild<QLabel*>("explanation");
    auto* more = w->findChild<QPushButton*>("explanation_more");
    ASSERT_NE(strip, nullptr);
    ASSERT_NE(more, nullptr);
    ASSERT_TRUE(strip->isVisible());
    EXPECT_TRUE(strip->text().startsWith(
        "<p><b>B is 0 here: dividing by it stops the run (line 61: A=5/B)</b></p><p><a "))
        << strip->text().toStdString();
    EXPECT_FALSE(strip->text().contains("Lines count from 0"));
    // "More" is a button the keyboard reaches and a screen reader names.
    EXPECT_NE(more->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(more->accessibleName(), "More about this error");
    more->setFocus();
    QTest::keyClick(more, Qt::Key_Space);
    EXPECT_EQ(strip->text().count("Lines count from 0"), 1);
    EXPECT_EQ(more->text(), "Less");
    QTest::keyClick(more, Qt::Key_Space);
    EXPECT_FALSE(strip->text().contains("Lines count from 0"));
    settle();

    CodeEditor* editor = mcod(*w);
    EXPECT_EQ(editor->error_band_line(), 61);
    EXPECT_TRUE(editor->viewport()->rect().contains(editor->cursorRect()));
    // The report's two lines are the output's last, each shown whole.
    QPlainTextEdit* out = mdb(*w);
    const QTextBlock last = out->document()->lastBlock();
    EXPECT_EQ(last.text(), "ERROR: Division by zero");
    for (const QTextBlock& b : {last.previous(), last}) {
        const QRect at = out->cursorRect(QTextCursor(b));
        EXPECT_TRUE(out->viewport()->rect().contains(at)) << b.text().toStdString();
    }
}
