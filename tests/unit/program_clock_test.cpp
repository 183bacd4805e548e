// The window's run on the program clock, without a window: passes of statements, DELAYs passed
// in small moves of the clock at a speed's factor (or at once), the mission read before each
// statement and at each pass's end, the telemetry recorded as the window records it. At every
// such speed each shipped mission with its lesson gives the runner's output, trace and verdict.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "mission_setup.h"
#include "run_shell.h"
#include "simulation.h"
#include "telemetry.h"
#include "telemetry_recorder.h"
#include "test_support.h"

namespace {

struct Pace {
    const char* name;
    long long pass;        // statements a pass
    int64_t wait_move_ms;  // program milliseconds a move passes of a DELAY; 0: a DELAY jumps
};

// As the speeds have it: No waits, 60x and 10x time in passes of the window's size, and slow
// motion (or STEP) a statement a pass with its DELAYs passed in real time.
constexpr Pace PACES[] = {
    {"no waits", 1009, 0},
    {"60x", 1009, 15 * 60},
    {"10x", 1009, 15 * 10},
    {"slow motion", 1, 15},
};

struct MissionCase {
    const char* mission;
    const char* lesson;
};

constexpr MissionCase MISSIONS[] = {
    {"detumble.mission", "09_detumbling_in_orbit.bas"},
    {"hot_case.mission", "10_thermostat_hot_case.bas"},
    {"beacon_pass.mission", "11_beacon_pass.bas"},
};

// What the window's mission does before each statement: the scenario's events that are due,
// then the machine for the goals.
struct WindowWatch {
    int32_t start_ms = 0;
    const std::vector<ScenarioEvent>* events = nullptr;
    size_t next_event = 0;
    MissionWatch* watch = nullptr;

    int64_t now() const { return int64_t{clock_ms()} - start_ms; }
    void tick() {
        while (next_event < events->size() && (*events)[next_event].time_ms <= now()) {
            channel_set((*events)[next_event].channel, (*events)[next_event].position);
            ++next_event;
        }
        watch->offer(trace_snapshot(now(), current_line()));
    }
    static HookAction before_statement(const char*, int, void* self) {
        static_cast<WindowWatch*>(self)->tick();
        return HookAction::Go;
    }
};

struct Outcome {
    std::vector<std::string> lines;  // the output, then the goals' lines and the score
    std::string trace;
};

Outcome run_like_the_window(const MissionSetup& setup, const std::string& program,
                            const Pace& pace) {
    TestMachine m;
    if (setup.simulated) sim_reset(setup.preset);
    for (const auto& [channel, position] : setup.mission.settings) channel_set(channel, position);
    m.clock.now = 123456;  // the window's program clock goes on from wherever it stood
    TelemetryRecorder recorder;
    m.session.set_row_hook(TelemetryRecorder::row_hook, &recorder, recorder.row_due());
    m.session.set_clock(&m.clock, pace.wait_move_ms == 0);
    recorder.start();
    EXPECT_TRUE(m.session.start(split_lines(program)).ok);
    MissionWatch watch(setup.mission, setup.preset.station_min_elevation_deg);
    WindowWatch window{clock_ms(), &setup.events, 0, &watch};
    m.session.time_limit = static_cast<int32_t>(window.start_ms + setup.time_ms);
    m.session.hook = WindowWatch::before_statement;
    m.session.hook_context = &window;
    watch.sample(trace_snapshot(0, -1));
    for (;;) {
        const long long steps = m.session.steps();
        const PassStop stop = m.session.run(pace.pass);
        if (m.session.steps() != steps && m.session.wait_ms() == 0) window.tick();
        if (stop == PassStop::Finished || stop == PassStop::StepLimit) break;
        if (stop == PassStop::Waiting) m.session.pass_time(pace.wait_move_ms);
    }
    m.session.follow_simulation();
    window.tick();
    watch.sample(trace_snapshot(window.now(), -1));
    watch.finish(window.now());
    recorder.end();
    Outcome outcome{m.output, telemetry_csv(recorder.data())};
    for (const std::string& line : m.output) watch.output_line(line);
    for (const std::string& line : watch.output_lines()) outcome.lines.push_back(line);
    sim_off();
    return outcome;
}

TEST(ProgramClock, EveryMissionAtEverySpeedIsTheRunners) {
    const std::string source = ZORVANT_SOURCE_DIR;
    for (const MissionCase& c : MISSIONS) {
        const std::string mission = source + "/samples/missions/" + c.mission;
        const std::string lesson = source + "/samples/" + c.lesson;
        const std::string trace = testing::TempDir() + "program_clock_trace.csv";
        const ShellResult runner = run_shell(std::string(ZORVANT_RUN) + " --mission '" + mission +
                                             "' --trace '" + trace + "' '" + lesson + "'");
        std::vector<std::string> expected = split_lines(runner.out);
        if (!expected.empty() && expected.back().empty()) expected.pop_back();
        ASSERT_GE(expected.size(), 2u) << c.mission;
        const std::string expected_trace = read_file(trace);
        MissionSetup setup;
        MissionSetupProblem problem;
        ASSERT_TRUE(mission_setup_file(mission, setup, problem)) << problem.text(mission);
        for (const Pace& pace : PACES) {
            SCOPED_TRACE(std::string(c.mission) + " at " + pace.name);
            const Outcome got = run_like_the_window(setup, read_file(lesson), pace);
            EXPECT_EQ(got.lines, expected);
            EXPECT_TRUE(got.trace == expected_trace) << "the trace differs";
        }
    }
}

// A wait passed in moves ends where one jump ends it, also when the moves overshoot the DELAY
// or the time limit: the clock stops at the first of the two.
TEST(ProgramClock, MovesOfAWaitStopAtItsEndAndAtTheLimit) {
    TestMachine m;
    m.session.set_clock(&m.clock, false);
    m.session.start(split_lines("DELAY 100\nA=1\nDELAY 1000\nA=2"));
    EXPECT_EQ(m.session.run(10), PassStop::Waiting);
    m.session.pass_time(60);
    EXPECT_EQ(m.clock.now, 60);
    m.session.pass_time(60);
    EXPECT_EQ(m.clock.now, 100);
    m.session.time_limit = 400;
    EXPECT_EQ(m.session.run(10), PassStop::Waiting);
    EXPECT_EQ(var_get(0), 1);
    m.session.pass_time(5000);
    EXPECT_EQ(m.clock.now, 400);
    EXPECT_EQ(m.session.run(10), PassStop::StepLimit);
    EXPECT_EQ(var_get(0), 1);
}

}  // namespace
