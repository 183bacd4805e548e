// The Simulation menu in the window: the sliders a preset takes from the user and gives back,
// the satellite moving with the program's time (also during a DELAY, never while paused), the
// choice kept for the next start, preset files, the waterfall during a pass, and the telemetry.
#include "simulation.h"

#include <QAction>
#include <QChartView>
#include <QElapsedTimer>
#include <QLineSeries>
#include <cmath>

#include "simulation_control.h"
#include "telemetry_pane.h"
#include "telemetry_part.h"
#include "window_fixture.h"

namespace {

// The header of an export without a simulation, as it has always been.
const char* const PLAIN_HEADER =
    "time_ms,line,magx,magy,magz,colr,colg,colb,tem,rx,coix,coiy,coiz,spd,tx_active,tx_column,"
    "tx_symbol,A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z";

class SimulationTest : public WindowTest {
   protected:
    // The toolkit keeps its settings store's folder for the whole process: a test that shares
    // the process with others leaves no choice behind for them.
    void TearDown() override {
        if (w != nullptr) w->simulation_control()->choose_off();
        WindowTest::TearDown();
    }
    QAction* entry(const char* name) const { return w->findChild<QAction*>(name); }
    bool waiting() const { return run_control(*w)->state() == RunControl::State::Waiting; }
    // A run that a step never comes to is stopped, and fails its test instead of hanging.
    void stop_after(int milliseconds) {
        QTimer::singleShot(milliseconds, w.get(), [this] { button("bt_stop")->click(); });
    }
    QString write_preset(const char* name, const QByteArray& text) {
        write_bytes(dir.filePath(name), text);
        return dir.filePath(name);
    }
};

TEST_F(SimulationTest, APresetTakesExactlyTheDrivenSlidersAndOffGivesThemBack) {
    slider("tb_magx")->setValue(30);
    slider("tb_tem")->setValue(10);
    const QString title = GroupBox1(*w)->title();
    entry("sim_tumbling_1u")->trigger();
    // Another preset keeps the positions the user gave before the first.
    entry("sim_hot_case")->trigger();
    ASSERT_TRUE(simulation.on && entry("sim_hot_case")->isChecked());
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        const Channel c = static_cast<Channel>(i);
        const Mover mover = info_of(c).mover;
        if (w->slider(c) == nullptr) continue;
        EXPECT_EQ(w->slider(c)->isEnabled(),
                  (mover == Mover::User || mover == Mover::Setting) && !sim_drives(c))
            << info_of(c).name;
    }
    EXPECT_EQ(channel_position(Channel::Tem), 20);  // the preset's starting temperature
    EXPECT_EQ(GroupBox1(*w)->value_label(Channel::Tem)->accessibleDescription(),
              "Temperature value, simulated");
    EXPECT_EQ(GroupBox1(*w)->simulation_note()->text(), "Simulated: Hot Case");

    entry("sim_off")->trigger();
    EXPECT_FALSE(simulation.on);
    EXPECT_EQ(channel_position(Channel::MagX), 30);
    EXPECT_EQ(channel_position(Channel::Tem), 10);
    for (Channel c : SIM_DRIVEN) EXPECT_TRUE(w->slider(c)->isEnabled()) << info_of(c).name;
    EXPECT_EQ(GroupBox1(*w)->value_label(Channel::Tem)->accessibleDescription(),
              "Temperature value");
    EXPECT_FALSE(GroupBox1(*w)->simulation_note()->isVisible());
    EXPECT_EQ(GroupBox1(*w)->title(), title);
}

// The magnetometer's sliders turn while a DELAY still waits; a pause holds the simulated time,
// and the resume goes on from there without the time spent paused.
TEST_F(SimulationTest, TheSatelliteMovesDuringADelayAndStandsStillWhilePaused) {
    entry("sim_tumbling_1u")->trigger();
    auto field = [this] {
        return QList<int>{slider("tb_magx")->value(), slider("tb_magy")->value(),
                          slider("tb_magz")->value()};
    };
    QList<int> at_start;
    bool moved_while_waiting = false;
    bool menu_closed = false;
    int64_t held_at = -1, after_pause = -1, at_end = -1;
    qint64 since_resume_ms = 0;
    QElapsedTimer wall;
    stop_after(20000);
    ASSERT_TRUE(
        run_steps("DELAY 2000\nLABEL 1\nA=A+1\nGOTO 1",
                  {{[&] { return waiting(); },
                    [&] {
                        at_start = field();
                        menu_closed = !entry("sim_off")->isEnabled();
                    }},
                   {[&] { return field() != at_start; }, [&] { moved_while_waiting = waiting(); }},
                   {[] { return simulation.state.time_ms > 2100; },
                    [&] { button("bt_pause")->click(); }},
                   {[&] { return paused(); },
                    [&] {
                        held_at = simulation.state.time_ms;
                        wall.start();
                    }},
                   {[&] { return wall.elapsed() >= 400; },
                    [&] {
                        after_pause = simulation.state.time_ms;
                        button("bt_run")->click();
                        wall.restart();
                    }},
                   {[&] { return wall.elapsed() >= 200; },
                    [&] {
                        at_end = simulation.state.time_ms;
                        since_resume_ms = wall.elapsed();
                        button("bt_stop")->click();
                    }}}));
    EXPECT_TRUE(moved_while_waiting);
    EXPECT_TRUE(menu_closed);
    EXPECT_EQ(after_pause, held_at);
    EXPECT_GT(at_end, held_at);
    EXPECT_LE(at_end - held_at, since_resume_ms + 2 * SIM_STEP_MS);
}

// The settings file keeps the user's positions, and the choice comes back at the next start;
// a kept preset file that is gone by then is reported once and forgotten.
TEST_F(SimulationTest, TheChoiceIsKeptForTheNextStart) {
    slider("tb_magx")->setValue(33);
    entry("sim_ground_pass")->trigger();
    ASSERT_TRUE(w->close());
    w.reset();
    EXPECT_EQ(read_bytes(dir.filePath("brevolin.ini")).split('\n').at(0).trimmed(), "33");
    open_window();
    EXPECT_TRUE(simulation.on && entry("sim_ground_pass")->isChecked());
    entry("sim_off")->trigger();
    EXPECT_EQ(channel_position(Channel::MagX), 33);

    const QString path = write_preset("mine.sim", "orbit_inclination_deg = 97.8\n");
    ASSERT_TRUE(w->simulation_control()->choose_file(path));
    ASSERT_TRUE(QFile::remove(path));
    w.reset();
    open_window();
    EXPECT_EQ(errors, QStringList({"Cannot open file " + path + "."}));
    EXPECT_FALSE(simulation.on);
    w.reset();
    open_window();
    EXPECT_EQ(errors.size(), 1);
}

// Simulation > Open Preset...: a bad line is reported with its file and line and changes
// nothing; a good file is used and listed in the menu.
TEST_F(SimulationTest, OpenPreset) {
    const QString bad = write_preset("bad.sim",
                                     "# a comment\norbit_altitude_km = 600\n"
                                     "rate_rad_s = 0.02 -0.01\n");
    const QString good = write_preset("polar.sim", "orbit_inclination_deg = 97.8\n");
    answer_dialogs({bad, good});
    entry("sim_open")->trigger();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.at(0).startsWith(bad + ":3: ")) << errors.at(0).toStdString();
    EXPECT_FALSE(simulation.on);
    EXPECT_TRUE(entry("sim_off")->isChecked());
    entry("sim_open")->trigger();
    EXPECT_EQ(errors.size(), 1);
    ASSERT_TRUE(simulation.on);
    EXPECT_EQ(simulation.preset.orbit_inclination_deg, 97.8);
    EXPECT_TRUE(entry("sim_file")->isVisible() && entry("sim_file")->isChecked());
}

// A transmission shows in the waterfall only while the station sees the satellite, moved by
// the Doppler shift: here during a pass sped up to take place within a second of RUN.
TEST_F(SimulationTest, TheWaterfallShowsTheTransmissionOnlyInViewAndShifted) {
    QByteArray text = sim_find_shipped("ground_pass")->text;
    text.replace("env_speedup = 20", "env_speedup = 1000");
    ASSERT_TRUE(w->simulation_control()->choose_file(write_preset("fast_pass.sim", text)));
    // The columns of the newest row with a trace in them, after a tick of the waterfall.
    auto traced_columns = [this] {
        w->t_sdrTimer();
        QList<int> columns;
        for (int c = 0; c < SDR_WIDTH; ++c) {
            if (pixel(0, c) >= 60) columns << c;
        }
        return columns;
    };
    QList<int> out_of_view = {-1};
    QList<int> in_view;
    int shifted = -1;
    stop_after(10000);
    ASSERT_TRUE(run_steps(
        "TX 10,7\nDELAY 3000\nROFF",
        {{[&] { return waiting() && !radio.tx_in_view; }, [&] { out_of_view = traced_columns(); }},
         {[&] { return waiting() && radio.tx_in_view && radio.tx_shift != 0; },
          [&] {
              shifted = 10 * 3 + 2 + radio.tx_shift;
              in_view = traced_columns();
              button("bt_stop")->click();
          }}}));
    EXPECT_TRUE(out_of_view.isEmpty());
    EXPECT_EQ(in_view, QList<int>({shifted}));
}

// The telemetry records the simulation's series from each RUN's start and shows them in a
// chart of their own; the export adds their columns only for a recording with a simulation.
TEST_F(SimulationTest, TelemetryAndExport) {
    run("COIL 1,0,0\nDELAY 50\nCOIL 0,0,0");
    answer_dialogs({dir.filePath("plain.csv"), dir.filePath("sim.csv")});
    w->telemetry()->export_action()->trigger();
    EXPECT_EQ(read_bytes(dir.filePath("plain.csv")).split('\n').at(0), PLAIN_HEADER);

    entry("sim_tumbling_1u")->trigger();
    w->telemetry()->view_action()->trigger();
    for (int pass = 0; pass < 2; ++pass) {
        run("DELAY 400\nCOIL 1,1,1\nDELAY 300\nCOIL 0,0,0");
        const auto rate_x = w->telemetry()->recording().points(sim_telemetry_series(SIM_RATE_X));
        ASSERT_GE(rate_x.size(), 5u);
        EXPECT_EQ(rate_x.front().time_ms, 0);
        EXPECT_NEAR(rate_x.front().value, 0.10 * 180 / M_PI, 1e-9) << pass;
        EXPECT_LE(rate_x.size(), 12u);  // a sample a tenth of a second, and the end
        EXPECT_GE(rate_x.back().time_ms, 650);
    }
    EXPECT_TRUE(w->telemetry()->pane()->simulation_chart()->isVisible());
    EXPECT_GT(w->telemetry()->pane()->line(sim_telemetry_series(SIM_RATE))->count(), 0);
    w->telemetry()->export_action()->trigger();
    const QList<QByteArray> rows = read_bytes(dir.filePath("sim.csv")).split('\n');
    EXPECT_EQ(rows.at(0),
              QByteArray(PLAIN_HEADER) + ",rate_x,rate_y,rate_z,rate,field,sunlit,elevation");
    EXPECT_TRUE(rows.at(1).startsWith("0,")) << rows.at(1).toStdString();
    EXPECT_TRUE(rows.at(1).contains(",5.730,-4.584,3.438,8.103,")) << rows.at(1).toStdString();

    entry("sim_off")->trigger();
    run("DELAY 20\nA=1");
    EXPECT_FALSE(w->telemetry()->pane()->simulation_chart()->isVisible());
}

}  // namespace
