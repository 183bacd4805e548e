// The simulation in a run: the run session moves it with the program clock, and zorvant-run's
// --sim option, its refusals, its trace columns and its determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "radio.h"
#include "run_shell.h"
#include "runner.h"
#include "simulation.h"
#include "test_support.h"
#include "trace.h"

namespace {

struct SimMachine : TestMachine {
    ~SimMachine() { sim_off(); }
};

// The session moves the simulation on with the clock: across DELAYs, up to a time limit, in
// stretches of statements and statement by statement; RUN starts it again from its preset.
TEST(SimSession, MovesWithTheProgramClock) {
    SimMachine m;
    sim_reset(SimPreset{});
    m.run("DELAY 1000\nDELAY 5\nA=1");
    EXPECT_EQ(simulation.state.time_ms, 1000);
    m.run("DELAY 25\nA=2");
    EXPECT_EQ(simulation.state.time_ms, 20);  // a fresh RUN starts it again
    const double first_rate = simulation.state.body.w.x;

    m.session.time_limit = static_cast<int32_t>(m.clock.now + 2500);
    m.session.start(split_lines("DELAY 100000\nPRINT 1"));
    EXPECT_EQ(m.session.run_to_end(), PassStop::StepLimit);
    EXPECT_EQ(simulation.state.time_ms, 2500);
    m.session.time_limit.reset();

    // Statement by statement (a hook is installed) it moves on as well.
    m.session.hook = [](const char*, int, void*) { return HookAction::Go; };
    m.session.start(split_lines("FOR I=1 TO 3\nDELAY 100\nNEXT I"));
    m.session.run_to_end();
    EXPECT_EQ(simulation.state.time_ms, 300);
    m.session.hook = nullptr;
    EXPECT_EQ(simulation.state.body.w.x == first_rate, false);

    // A fresh machine has no simulation on; a run then leaves the sensors alone.
    session_reset_machine();
    EXPECT_FALSE(simulation.on);
    channel_set(Channel::MagX, 7);
    m.run("DELAY 1000");
    EXPECT_EQ(channel_position(Channel::MagX), 7);
}

// The simulation's columns: fixed decimals, and no "-0.000" for a value that rounds to zero.
TEST(SimTrace, ColumnsAfterTheVariables) {
    TraceSnapshot s;
    const std::string plain = trace_row(s);
    s.simulated = true;
    const double values[SIM_SERIES_COUNT] = {-0.0004, 1.23456, -7.5, 7.6, 24.871, 1, -0.004};
    std::copy(std::begin(values), std::end(values), s.sim);
    EXPECT_EQ(trace_row(s), plain + ",0.000,1.235,-7.500,7.600,24.87,1,0.00");
    TraceSnapshot other = s;
    EXPECT_FALSE(trace_state_changed(s, other));
    other.sim[SIM_SUNLIT] = 0;
    EXPECT_TRUE(trace_state_changed(s, other));
}

using Result = ShellResult;

Result runner(const std::string& args) {
    return run_shell(std::string(ZORVANT_RUN) + " " + args + " 2>&1");
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> fields_of(const std::string& row) {
    std::vector<std::string> fields;
    std::istringstream in(row);
    for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
    return fields;
}

TEST(RunnerSim, ListsTheShippedPresets) {
    for (const char* args : {"--sim list", "--no-wait --sim list whatever.bas"}) {
        const Result r = runner(args);
        EXPECT_EQ(r.code, 0);
        const std::vector<std::string> lines = lines_of(r.out);
        ASSERT_EQ(lines.size(), sim_shipped_presets().size()) << r.out;
        EXPECT_EQ(lines[0].rfind("tumbling_1u  A 1U tumbling", 0), 0u) << lines[0];
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string name = sim_shipped_presets()[i].name;
            EXPECT_EQ(lines[i].rfind(name + "  ", 0), 0u) << lines[i];
            EXPECT_GT(lines[i].size(), name.size() + 10) << lines[i];
        }
    }
}

TEST(RunnerSim, RefusesWhatItCannotRunBeforeItStarts) {
    const std::string program = write_temp_file("sim_refused.bas", "PRINT 1\n");
    Result r = runner("--no-wait --sim no-such-preset " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out,
              "zorvant-run: cannot read no-such-preset: No such file or directory (nor is it a "
              "shipped preset: see --sim list)\n");

    const std::string bad = write_temp_file("bad.sim", "# fine\nenv_speedup = 5\nfoo = 1\n");
    r = runner("--no-wait --sim " + bad + " " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "zorvant-run: " + bad + ":3: unknown key 'foo'\n");

    // The simulation drives the magnetometer, the temperature and RX: no --set, no event.
    r = runner("--no-wait --set tem=5 --sim tumbling_1u " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out.rfind("zorvant-run: --set tem does not go with --sim: the simulation drives "
                          "tem\nusage: zorvant-run",
                          0),
              0u)
        << r.out;
    const std::string events = write_temp_file("sim.events", "0 colr=5\n# moved\n10 magy=3\n");
    r = runner("--no-wait --sim tumbling_1u --scenario " + events + " " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "zorvant-run: " + events +
                         ":3: magy is driven by the simulation (--sim): no event can move it\n");

    // The trace must not overwrite the preset file.
    r = runner("--no-wait --sim " + bad + " --trace " + bad + " " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "zorvant-run: " + bad + " is also an input file\n");
    EXPECT_EQ(read_file(bad), "# fine\nenv_speedup = 5\nfoo = 1\n");

    // The other sensors stay the user's.
    const std::string colour = write_temp_file("colour.events", "0 colg=33\n");
    r = runner("--no-wait --set colr=12 --sim tumbling_1u --scenario " + colour + " " +
               write_temp_file("colours.bas", "CGET R,G,B\nPRINT R\nPRINT G\n"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "12\n33\nStop in line: 2\n");
}

// The trace gets the simulation's columns after the variables; two runs give the same bytes.
TEST(RunnerSim, TraceAddsItsColumnsAndRunsAreDeterministic) {
    const std::string program =
        write_temp_file("sim_traced.bas",
                        "FOR I=1 TO 40\nMGET X,Y,Z\nCOIL -X,-Y,-Z\nTX 3,I%8\nDELAY 250\nNEXT I\n");
    const std::string first = testing::TempDir() + "sim_first.csv";
    const std::string second = testing::TempDir() + "sim_second.csv";
    const std::string args = " --no-wait --sim ground_pass --timeout 7500 " + program;
    const Result a = runner("--trace " + first + args);
    const Result b = runner("--trace " + second + args);
    EXPECT_EQ(a.code, 3) << a.out;
    EXPECT_EQ(a.out, b.out);
    const std::string trace = read_file(first);
    EXPECT_EQ(trace, read_file(second));

    const std::vector<std::string> rows = lines_of(trace);
    ASSERT_GT(rows.size(), 30u);
    EXPECT_EQ(rows[0], trace_header() + ",rate_x,rate_y,rate_z,rate,field,sunlit,elevation");
    const size_t columns = fields_of(rows[0]).size();
    for (const std::string& row : rows) ASSERT_EQ(fields_of(row).size(), columns) << row;
    // The last row stands at the time limit, the simulation with it: 7.5 s of a pass whose
    // station sees nothing yet, in sunlight, the rate about 0.9 deg/s.
    const std::vector<std::string> end = fields_of(rows.back());
    EXPECT_EQ(end[0], "7500");
    EXPECT_EQ(end[columns - 2], "1");
    EXPECT_LT(std::stod(end[columns - 1]), 0);
    EXPECT_NEAR(std::stod(end[columns - 4]), 0.86, 0.3);
    EXPECT_NE(fields_of(rows[1])[columns - 1], end[columns - 1]);
}

// The detumbling lesson, run for its simulated twenty minutes: with its gain the tumbling
// falls below 1 deg/s; with the sign turned round the satellite spins up; with a far too large
// gain it stalls above 1 deg/s, spinning about the field line.
TEST(RunnerSim, TheDetumblingLessonDetumbles) {
    const std::string lesson = read_file(ZORVANT_SOURCE_DIR "/samples/09_detumbling_in_orbit.bas");
    const auto final_rate = [&](const std::string& from, const std::string& to) {
        std::string text = lesson;
        const size_t at = text.find("\n" + from + "\n");
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at + 1, from.size(), to);
        const std::string program = write_temp_file("detumbling.bas", text);
        const std::string trace = testing::TempDir() + "detumbling.csv";
        const Result r = runner("--no-wait --sim tumbling_1u --trace " + trace + " " + program);
        EXPECT_EQ(r.code, 0) << r.out;
        EXPECT_NE(r.out.find("DETUMBLING DONE"), std::string::npos);
        const std::vector<std::string> end = fields_of(lines_of(read_file(trace)).back());
        EXPECT_EQ(end[0], "1200000");
        return std::stod(end[end.size() - 4]);
    };
    EXPECT_LT(final_rate("K=7", "K=7"), 1.0);
    EXPECT_GT(final_rate("COIL -K*D,-K*E,-K*F", "COIL K*D,K*E,K*F"), 20.0);
    EXPECT_GT(final_rate("K=7", "K=500"), 1.5);
}

// The thermostat lesson holds the hot case between its limits once it has warmed up; the
// beacon lesson sends only while the station sees the satellite.
TEST(RunnerSim, TheThermostatAndBeaconLessonsWorkTheirPresets) {
    const std::string trace = testing::TempDir() + "lesson.csv";
    Result r = runner("--no-wait --sim hot_case --trace " + trace +
                      " " ZORVANT_SOURCE_DIR "/samples/10_thermostat_hot_case.bas");
    EXPECT_EQ(r.code, 0) << r.out;
    std::vector<std::string> rows = lines_of(read_file(trace));
    std::vector<std::string> header = fields_of(rows[0]);
    const auto column = [&](const char* name) {
        return std::find(header.begin(), header.end(), name) - header.begin();
    };
    int lowest = 100;
    int highest = -100;
    for (size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> f = fields_of(rows[i]);
        if (std::stoi(f[0]) < 60000) continue;
        lowest = std::min(lowest, std::stoi(f[column("tem")]));
        highest = std::max(highest, std::stoi(f[column("tem")]));
    }
    EXPECT_GE(lowest, 38);
    EXPECT_LE(highest, 47);

    r = runner("--no-wait --sim ground_pass --trace " + trace +
               " " ZORVANT_SOURCE_DIR "/samples/11_beacon_pass.bas");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("STATION IN VIEW"), std::string::npos) << r.out;
    rows = lines_of(read_file(trace));
    header = fields_of(rows[0]);
    int sending = 0;
    for (size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> f = fields_of(rows[i]);
        if (f[column("tx_active")] != "1") continue;
        ++sending;
        // A byte begun just before the satellite sets may end just after.
        EXPECT_GT(std::stod(f[column("elevation")]), -1.0) << rows[i];
    }
    EXPECT_GT(sending, 100);
}

// What the lessons that fly a simulation say, against the runner and their missions: the score
// a lesson gets as shipped or as one of its "Try:" lines changes it, a line it prints, a value of
// the trace at a moment its text names.
TEST(RunnerSim, TheLessonsSayWhatTheirMissionsFind) {
#define MISSION "--mission " ZORVANT_SOURCE_DIR "/samples/missions/"
    struct Claim {
        const char* lesson;
        const char* args;
        const char* from;  // a line of the lesson, and what replaces it; nullptr: as shipped
        const char* to;
        const char* printed;  // in the output, or nullptr
        const char* column;   // of the trace, or nullptr
        double at_s, low, high;
    };
    const char* const bdot = "COIL -K*D,-K*E,-K*F";
    const Claim claims[] = {
        {"09_detumbling_in_orbit", MISSION "detumble.mission", nullptr, nullptr,
         "score 1.5/1.5 (100 %)", "rate", 540, 0.5, 1},
        {"09_detumbling_in_orbit", MISSION "detumble.mission", nullptr, nullptr, nullptr, "rate",
         450, 1, 1.5},
        {"09_detumbling_in_orbit", "--sim tumbling_1u", nullptr, nullptr, nullptr, "rate", 1200,
         0.15, 0.25},
        {"09_detumbling_in_orbit", MISSION "detumble.mission", "K=7", "K=6",
         "score 1.5/1.5 (100 %)", nullptr, 0, 0, 0},
        {"09_detumbling_in_orbit", MISSION "detumble.mission", "K=7", "K=9",
         "score 1.5/1.5 (100 %)", nullptr, 0, 0, 0},
        {"09_detumbling_in_orbit", MISSION "detumble.mission", "K=7", "K=3", "score 0/1.5 (0 %)",
         "rate", 600, 2.5, 2.7},
        {"09_detumbling_in_orbit", MISSION "detumble.mission", "K=7", "K=12", nullptr, "rate",
         900, 0.7, 0.9},
        {"09_detumbling_in_orbit", MISSION "detumble.mission", "K=7", "K=500", nullptr, "rate",
         900, 2.3, 2.5},
        {"09_detumbling_in_orbit", "--sim tumbling_1u", bdot, "COIL K*D,K*E,K*F", nullptr, "rate",
         1200, 80, 100},
        {"10_thermostat_hot_case", MISSION "hot_case.mission", nullptr, nullptr,
         "score 2.5/2.5 (100 %)", nullptr, 0, 0, 0},
        {"10_thermostat_hot_case", MISSION "hot_case.mission", "L=45", "L=200", nullptr, "tem",
         600, 68, 72},
        {"10_thermostat_hot_case", "--sim hot_case", nullptr, nullptr, "SPEED CHANGES\n29\n",
         nullptr, 0, 0, 0},
        {"10_thermostat_hot_case", "--sim hot_case", "G=5", "G=0", "SPEED CHANGES\n135\n",
         nullptr, 0, 0, 0},
        {"10_thermostat_hot_case", "--sim hot_case", "G=5", "G=10", "SPEED CHANGES\n13\n",
         nullptr, 0, 0, 0},
        {"10_thermostat_hot_case", "--sim hot_case", "L=45", "L=25", "SPEED CHANGES\n1\n",
         nullptr, 0, 0, 0},
        {"11_beacon_pass", MISSION "beacon_pass.mission", nullptr, nullptr,
         "STATION IN VIEW, SIGNAL\n85\n", "elevation", 60, 85, 90},
        {"11_beacon_pass", MISSION "beacon_pass.mission", nullptr, nullptr,
         "STRONGEST SIGNAL\n255\n", "elevation", 40, -5, 0},
        {"11_beacon_pass", MISSION "beacon_pass.mission", "IF H=1 THEN PRINT \"STATION LOST\"",
         "IF H=1 THEN PRINT \"PASS OVER\"", "score 2.5/2.5 (100 %)", "elevation", 80, -5, 0},
    };
#undef MISSION
    for (const Claim& c : claims) {
        const std::string lesson = c.lesson;
        std::string text = read_file(ZORVANT_SOURCE_DIR "/samples/" + lesson + ".bas");
        const std::string from = c.from ? c.from : "";
        const std::string what = lesson + " " + (c.to ? c.to : "");
        if (!from.empty()) {
            const size_t at = text.find('\n' + from + '\n');
            ASSERT_NE(at, std::string::npos) << what;
            text = text.substr(0, at + 1) + c.to + text.substr(at + 1 + from.size());
        }
        const std::string trace = testing::TempDir() + "claim.csv";
        const Result r = runner("--no-wait " + (c.column ? "--trace " + trace + " " : "") +
                                c.args + " " + write_temp_file("claim.bas", text));
        if (c.printed) {
            EXPECT_NE(r.out.find(c.printed), std::string::npos) << what << "\n" << r.out;
        }
        if (!c.column) continue;
        const std::vector<std::string> rows = lines_of(read_file(trace));
        const std::vector<std::string> header = fields_of(rows.at(0));
        const size_t column = std::find(header.begin(), header.end(), c.column) - header.begin();
        ASSERT_LT(column, header.size()) << c.column;
        std::string value;
        for (size_t i = 1; i < rows.size(); ++i) {
            const std::vector<std::string> f = fields_of(rows[i]);
            if (std::stod(f[0]) > c.at_s * 1000) break;
            value = f.at(column);
        }
        ASSERT_FALSE(value.empty()) << what;
        EXPECT_GE(std::stod(value), c.low) << what << " " << c.column << " at " << c.at_s;
        EXPECT_LE(std::stod(value), c.high) << what << " " << c.column << " at " << c.at_s;
    }

    // The beacon's trace drifts with the Doppler shift, about ten columns either way: on
    // channel 31 (column 95 of 100) it is beyond the picture's right edge until the satellite is
    // nearly overhead, on channel 0 (column 2) beyond the left one soon after.
    sim_reset(sim_preset_parse(sim_find_shipped("ground_pass")->text).preset);
    std::vector<int> shifts;
    for (int64_t t = 0; t <= 120000; t += 100) {
        sim_advance_to(t);
        if (!simulation.state.in_view) continue;
        shifts.push_back(radio.tx_shift);
        const int shift = radio.tx_shift;
        const bool shown = shift > 0 ? 3 * 31 + 2 + shift < SDR_WIDTH : 2 + shift >= 0;
        if (shown) {
            EXPECT_GT(sim_series_value(SIM_ELEVATION), 60) << t;
        }
    }
    sim_off();
    ASSERT_GT(shifts.size(), 300u);
    EXPECT_GE(shifts.front(), 9);
    EXPECT_LE(shifts.back(), -9);
    EXPECT_EQ(shifts[shifts.size() / 2], 0);
}

// In real time the satellite moves while a program computes without a DELAY: the loop ends as
// soon as the magnetometer reads another field, long before its end.
TEST(RunnerSim, MovesInRealTimeWithoutADelay) {
    const std::string fast = write_temp_file("fast.sim", "rate_rad_s = 3 2 1\n");
    const std::string program = write_temp_file("busy.bas",
                                                "MGET A,B,C\n"
                                                "FOR I=1 TO 100000000\n"
                                                "MGET X,Y,Z\n"
                                                "D=(X-A)*(X-A)+(Y-B)*(Y-B)+(Z-C)*(Z-C)\n"
                                                "IF D>0 THEN GOTO 1\n"
                                                "NEXT I\n"
                                                "PRINT \"STILL\"\n"
                                                "END\n"
                                                "LABEL 1\n"
                                                "PRINT \"MOVED\"\n");
    const Result r = runner("--sim " + fast + " " + program);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "MOVED");
}

}  // namespace
