// The simulation as the device panel and a host see it: presets, its clock and grid, the
// channels it drives and the waterfall.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "radio.h"
#include "simulation.h"
#include "test_support.h"

namespace {

// A fresh machine, and the simulation off again afterwards whatever the test did.
struct SimMachine : TestMachine {
    ~SimMachine() { sim_off(); }
};

SimPresetRead parse(const std::string& text) {
    return sim_preset_parse(text);
}

TEST(SimPreset, ReadsKeysCommentsAndKeepsDefaults) {
    const SimPresetRead r = parse(
        "# a comment\n"
        "\n"
        "description = Polar, slow\r\n"
        "  orbit_inclination_deg=90   # trailing comment\n"
        "rate_rad_s = 0.01 +0.02 -3e-2\n"
        "attitude_quat = 0 0 0 2\n");
    ASSERT_EQ(r.error_line, 0) << r.error;
    EXPECT_EQ(r.preset.description, "Polar, slow");
    EXPECT_EQ(r.preset.orbit_inclination_deg, 90);
    EXPECT_EQ(r.preset.rate_rad_s.y, 0.02);
    EXPECT_EQ(r.preset.rate_rad_s.z, -0.03);
    EXPECT_EQ(r.preset.attitude_quat.z, 1);  // normalised
    EXPECT_EQ(r.preset.orbit_altitude_km, SimPreset{}.orbit_altitude_km);
}

TEST(SimPreset, RefusesBadLinesWithTheirNumber) {
    const struct {
        const char* text;
        int line;
        const char* error;
    } bad[] = {
        {"orbit_altitude_km = 500\nfoo = 1\n", 2, "unknown key 'foo'"},
        {"\n\norbit altitude\n", 3, "expected KEY = VALUE, got 'orbit altitude'"},
        {"env_speedup = 2\nenv_speedup = 3\n", 2, "env_speedup is given twice, first on line 1"},
        {"env_speedup = fast\n", 1, "env_speedup: bad number 'fast'"},
        {"env_speedup = nan\n", 1, "env_speedup: bad number 'nan'"},
        {"env_speedup = 1e999\n", 1, "env_speedup: bad number '1e999'"},
        {"env_speedup =\n", 1, "env_speedup has no value"},
        {"orbit_altitude_km = 5\n", 1, "orbit_altitude_km: 5 is out of range 100 to 100000"},
        {"rate_rad_s = 0.1 0.2\n", 1, "rate_rad_s: 3 numbers, got 2"},
        {"emissivity = 0.5 0.5\n", 1, "emissivity: one number, got 2"},
        {"attitude_quat = 0 0 0 0\n", 1, "attitude_quat: all four are 0"},
        {"\ninertia_kg_m2 = 1e-3 1e-3 5e-3\n", 2,
         "inertia_kg_m2: no body has one moment larger than the other two together"},
        {"description = caf\xc3\xa9\n", 1, "the description holds '\\xC3': printable ASCII only"},
    };
    for (const auto& b : bad) {
        const SimPresetRead r = parse(b.text);
        EXPECT_EQ(r.error_line, b.line) << b.text;
        EXPECT_EQ(r.error, b.error) << b.text;
    }
}

// Every shipped preset reads without a fault; the tumbling 1U comes first and is the default.
TEST(SimPreset, ShippedPresetsRead) {
    const std::vector<ShippedPreset>& shipped = sim_shipped_presets();
    ASSERT_GE(shipped.size(), 3u);
    EXPECT_STREQ(shipped[0].name, "tumbling_1u");
    for (const char* name : {"tumbling_1u", "hot_case", "ground_pass"}) {
        const ShippedPreset* p = sim_find_shipped(name);
        ASSERT_NE(p, nullptr) << name;
        const SimPresetRead r = parse(p->text);
        EXPECT_EQ(r.error_line, 0) << name << ": " << r.error;
        EXPECT_FALSE(r.preset.description.empty());
    }
    EXPECT_EQ(sim_find_shipped("tumbling_1u.sim"), nullptr);
    // The tumbling 1U names every key, with the defaults' values.
    const std::string text = sim_find_shipped("tumbling_1u")->text;
    for (const std::string& key : sim_preset_keys()) {
        EXPECT_NE(text.find("\n" + key + " = "), std::string::npos) << key;
    }
    const SimPreset read = parse(text).preset;
    const SimPreset defaults;
    EXPECT_EQ(read.description, defaults.description);
    EXPECT_EQ(read.earth_rate_deg_s, defaults.earth_rate_deg_s);
    EXPECT_EQ(read.rate_rad_s.y, defaults.rate_rad_s.y);
    EXPECT_EQ(read.waterfall_hz_per_column, defaults.waterfall_hz_per_column);
}

// The sensors read the simulated satellite as a slider would show it: microtesla and whole
// degrees, clamped to the sliders' ranges, through channel_set, so subscribers follow.
TEST(Simulation, DrivesTheSensorsThroughTheChannels) {
    SimMachine m;
    std::vector<Channel> heard;
    const ChannelListener note = [](Channel c, void* v) {
        static_cast<std::vector<Channel>*>(v)->push_back(c);
    };
    ASSERT_TRUE(device_subscribe(note, &heard));
    SimPreset p;
    p.temp_start_c = 21.4;
    sim_reset(p);
    const SimState& s = simulation.state;
    EXPECT_EQ(channel_position(Channel::MagX), std::lround(s.field_body.x * 1e6));
    EXPECT_EQ(channel_position(Channel::MagZ), std::lround(s.field_body.z * 1e6));
    EXPECT_NE(channel_position(Channel::MagZ), 0);  // about 25 uT at the equator
    EXPECT_EQ(channel_position(Channel::Tem), 21);
    EXPECT_NEAR(sim_series_value(SIM_FIELD), 24.9, 0.1);
    EXPECT_NEAR(sim_series_value(SIM_RATE), std::sqrt(0.02) / DEG, 1e-9);
    EXPECT_NE(std::find(heard.begin(), heard.end(), Channel::Tem), heard.end());
    for (Channel c : heard) EXPECT_TRUE(sim_drives(c)) << info_of(c).name;

    // A field beyond the slider is clamped to it; a temperature beyond it too.
    p.field_b0_t = 5e-4;
    p.temp_start_c = 200;
    sim_reset(p);
    EXPECT_EQ(std::abs(channel_position(Channel::MagZ)), 100);
    EXPECT_EQ(channel_position(Channel::Tem), 80);
    device_unsubscribe(note, &heard);

    // The satellite's own subscribers hear of each reset and move, once each, until they leave.
    int told[2] = {};
    const SimListener count = [](void* n) { ++*static_cast<int*>(n); };
    ASSERT_TRUE(sim_subscribe(count, &told[0]));
    ASSERT_TRUE(sim_subscribe(count, &told[0]));
    ASSERT_TRUE(sim_subscribe(count, &told[1]));
    sim_reset(p);
    sim_unsubscribe(count, &told[0]);
    sim_advance_to(100);
    sim_unsubscribe(count, &told[1]);
    sim_advance_to(200);
    EXPECT_EQ(told[0], 1);
    EXPECT_EQ(told[1], 2);
}

// Time moves on a 10 ms grid; a time already passed changes nothing; a pause does not count.
TEST(Simulation, FollowsTheClockOnItsGrid) {
    SimMachine m;
    sim_reset(SimPreset{});
    sim_start_clock(5000);
    sim_follow(5009);
    EXPECT_EQ(simulation.state.time_ms, 0);
    sim_follow(5010);
    EXPECT_EQ(simulation.state.time_ms, 10);
    sim_follow(5255);
    EXPECT_EQ(simulation.state.time_ms, 250);
    sim_follow(5100);
    EXPECT_EQ(simulation.state.time_ms, 250);
    sim_hold(5300);
    EXPECT_EQ(simulation.state.time_ms, 300);
    sim_follow(9000);  // held
    EXPECT_EQ(simulation.state.time_ms, 300);
    sim_release(9000);
    sim_follow(9100);  // 3.7 s paused do not count
    EXPECT_EQ(simulation.state.time_ms, 400);
    // A fresh start, across the 32-bit wrap of the clock.
    sim_restart();
    sim_start_clock(INT32_MAX - 5);
    sim_follow(INT32_MIN + 25);
    EXPECT_EQ(simulation.state.time_ms, 30);
    // A reading from before the start moves nothing; a release before the hold shifts nothing.
    sim_follow(INT32_MAX - 100);
    EXPECT_EQ(simulation.state.time_ms, 30);
    sim_hold(INT32_MIN + 25);
    sim_release(INT32_MIN + 5);
    sim_follow(INT32_MIN + 45);
    EXPECT_EQ(simulation.state.time_ms, 50);
    sim_off();
    sim_follow(INT32_MIN + 2000);
    EXPECT_EQ(simulation.state.time_ms, 50);
}

// A coil set between two grid points acts from the next one on, and the same inputs give the
// same satellite, bit for bit.
TEST(Simulation, CoilsActFromTheNextGridPoint) {
    SimMachine m;
    const auto run = [](int set_at_ms) {
        sim_reset(SimPreset{});
        channel_set(Channel::CoiX, 0);
        sim_advance_to(set_at_ms);
        channel_set(Channel::CoiX, 100);
        sim_advance_to(2000);
        return simulation.state;
    };
    const SimState a = run(1001);
    const SimState b = run(1009);
    const SimState c = run(1010);
    const SimState again = run(1001);
    EXPECT_EQ(a.body.w.x, b.body.w.x);
    EXPECT_EQ(a.body.q.w, b.body.q.w);
    EXPECT_NE(a.body.w.x, c.body.w.x);
    EXPECT_EQ(a.body.w.x, again.body.w.x);
    EXPECT_EQ(a.temp_k, again.temp_k);
    sim_reset(SimPreset{});
    channel_set(Channel::CoiX, 0);
    sim_advance_to(2000);
    EXPECT_NE(simulation.state.body.w.x, c.body.w.x);  // the coil does act
}

// The CPU's heat: a busy computer runs warmer.
TEST(Simulation, TheCpuSpeedWarmsTheSatellite) {
    SimMachine m;
    SimPreset p;
    p.sun_beta_deg = 80;
    p.cpu_power_w_per_step = 5;
    p.env_speedup = 60;
    double temp[2];
    for (int speed : {0, 4}) {
        sim_reset(p);
        channel_set(Channel::Spd, speed);
        sim_advance_to(60000);
        temp[speed / 4] = simulation.state.temp_k;
    }
    EXPECT_GT(temp[1], temp[0] + 5);
}

// The waterfall: the trace moves by the Doppler shift and shows only while the station sees
// the satellite; with the simulation off it is drawn where it always was.
TEST(Simulation, TheWaterfallHearsOnlyWhatTheStationHears) {
    SimMachine m;
    radio.tx_active = true;
    radio.tx_column = 30;
    radio.tx_symbol = 7;
    const auto drawn = [] {
        for (uint8_t& v : radio.sdr_row) v = 0;
        tx_inject();
        std::vector<int> at;
        for (int i = 0; i < SDR_WIDTH; ++i) {
            if (radio.sdr_row[i] != 0) at.push_back(i);
        }
        return at;
    };
    EXPECT_EQ(drawn(), std::vector<int>{32});
    radio.tx_shift = -5;
    EXPECT_EQ(drawn(), std::vector<int>{27});
    radio.tx_shift = 70;  // off the edge: not drawn anywhere
    EXPECT_EQ(drawn(), std::vector<int>{});
    radio.tx_shift = -40;
    EXPECT_EQ(drawn(), std::vector<int>{});
    radio.tx_shift = 0;
    radio.tx_in_view = false;
    EXPECT_EQ(drawn(), std::vector<int>{});

    // Out of view from the start: RX reads 0 and nothing is drawn; then the simulation is off.
    SimPreset far;
    far.station_lat_deg = -60;
    far.station_lon_deg = 180;
    sim_reset(far);
    EXPECT_FALSE(simulation.state.in_view);
    EXPECT_EQ(channel_position(Channel::Rx), 0);
    EXPECT_EQ(drawn(), std::vector<int>{});
    sim_off();
    EXPECT_EQ(drawn(), std::vector<int>{32});

    // Straight over the station: full strength, no shift at the top of the pass.
    SimPreset over;
    over.station_lat_deg = 0;
    over.station_lon_deg = 0;
    over.earth_rate_deg_s = 0;
    sim_reset(over);
    EXPECT_TRUE(simulation.state.in_view);
    EXPECT_EQ(channel_position(Channel::Rx), 255);
    EXPECT_NEAR(sim_series_value(SIM_ELEVATION), 90, 1e-9);
    EXPECT_EQ(radio.tx_shift, 0);
    EXPECT_EQ(drawn(), std::vector<int>{32});
    // Moving away a few seconds later: the frequency falls, the trace moves left.
    sim_advance_to(10000);
    EXPECT_LT(radio.tx_shift, 0);
    EXPECT_LT(channel_position(Channel::Rx), 255);
}

}  // namespace
