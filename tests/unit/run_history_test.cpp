// A run's history: any kept moment is the machine exactly as the run had it there, however the
// walk back and forth goes; a run taken up again from its past goes on as a fresh run that made
// the same choices; the bound holds in memory actually taken.
#include "run_history.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "channels.h"
#include "sim_preset.h"
#include "simulation.h"
#include "run_shell.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr long long STEP_CAP = 200000;

// What a moment leaves to the way it was reached: when the simulation is next looked at (it
// stands at the clock either way), the statement a hold was last made at, whether the resume
// time was already seen reached (the clock says so either way), and the time of a hold of the
// simulation let go since.
MachineSnapshot as_compared(MachineSnapshot s) {
    s.session.next_follow = 0;
    s.session.held_at = nullptr;
    s.session.resume_known = false;
    // Where a hold was last made means nothing once it is let go.
    if (!s.simulation.held) s.simulation.held_at_ms = 0;
    return s;
}

std::string difference(const MachineSnapshot& a, const MachineSnapshot& b) {
    return machine_difference(as_compared(a), as_compared(b));
}

enum class Time { NoWaits, RealTime };

// A run in passes of random length, as a window makes them: on real time the clock moves
// between passes and is still within one; now and then a variable or a slider is changed between
// two passes, as a user does.
struct RecordedRun : TestMachine {
    RunHistory history;
    std::mt19937 random{7};
    Time time = Time::NoWaits;
    bool meddle = true;
    bool watch = true;
    // The machine before statements, by statement count, and the output lines by then.
    std::map<long long, MachineSnapshot> seen;
    std::map<long long, size_t> lines_seen;

    ~RecordedRun() { session_reset_machine(); }

    bool start(const std::string& source, const char* preset) {
        session_reset_machine();
        if (preset != nullptr) sim_reset(sim_preset_parse(sim_find_shipped(preset)->text).preset);
        clock.now = 0;
        output.clear();
        session.set_clock(&clock, time == Time::NoWaits);
        if (!session.start(split_lines(source)).ok) return false;
        history.start(session, 0);
        return true;
    }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    // Passes until the end or `until` statements.
    void run(long long until = STEP_CAP) {
        for (;;) {
            if (time == Time::RealTime && pick(0, 3) == 0) clock.now += pick(1, 40);
            if (meddle && pick(0, 40) == 0) {
                machine.variables[pick(0, VARIABLE_COUNT - 1)] = pick(-5, 5);
                channel_set(Channel::ColR, pick(0, 100));
            }
            history.before_pass(session, static_cast<long long>(output.size()));
            // The moment before a statement is the last pass that began there, the satellite
            // moved on to the clock.
            if (watch && (pick(0, 5) == 0 || seen.size() < 8 || seen.count(session.steps()))) {
                session.follow_simulation();
                seen[session.steps()] = machine_capture(session);
                lines_seen[session.steps()] = output.size();
            }
            const long long budget = std::min<long long>(pick(1, 3000), until - session.steps());
            const PassStop stop = session.run(budget);
            history.after_pass(session, static_cast<long long>(output.size()));
            if (stop == PassStop::Finished || session.steps() >= until) return;
            if (stop == PassStop::Waiting) {
                // Real time passes, the window's timer moves the satellite on meanwhile, and a
                // pause may hold it.
                clock.now += pick(1, 300);
                session.follow_simulation();
                if (pick(0, 8) == 0) {
                    sim_hold(clock.now);
                    sim_release(clock.now);
                }
            }
        }
    }
};

struct Program {
    std::string name;
    std::string source;
    const char* preset = nullptr;
};

// Records a run, then walks to the moments seen in random order, back and forth, and requires
// each to be the machine the run had there, with the output printed by then; the last moment is
// the end of the run again.
void check_walks(const Program& p, Time time) {
    SCOPED_TRACE(p.name + (time == Time::NoWaits ? " without waits" : " in real time"));
    RecordedRun r;
    r.time = time;
    if (!r.start(p.source, p.preset)) return;
    r.run();
    const long long total = r.session.steps();
    if (total >= STEP_CAP) return;
    const MachineSnapshot end = machine_capture(r.session);
    std::vector<long long> steps;
    for (const auto& [step, machine] : r.seen) steps.push_back(step);
    std::shuffle(steps.begin(), steps.end(), r.random);
    steps.resize(std::min<size_t>(steps.size(), 12));
    for (const long long step : steps) {
        const RunMoment m = r.history.seek_step(r.session, step);
        ASSERT_EQ(m.step, step);
        EXPECT_EQ(difference(machine_capture(r.session), r.seen[step]), "") << "at " << step;
        EXPECT_EQ(m.output_lines, static_cast<long long>(r.lines_seen[step])) << "at " << step;
        if (step > 0) {
            r.history.seek_step(r.session, step - 1);
            EXPECT_TRUE(r.history.in_past());
            r.history.seek_step(r.session, step);
            EXPECT_EQ(difference(machine_capture(r.session), r.seen[step]), "") << "again " << step;
        }
    }
    r.history.seek_step(r.session, total);
    EXPECT_FALSE(r.history.in_past());
    EXPECT_EQ(difference(machine_capture(r.session), end), "");
}

std::vector<Program> golden_programs() {
    const fs::path root = fs::path(ZORVANT_SOURCE_DIR) / "tests" / "programs";
    std::vector<Program> programs;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".bas") continue;
        programs.push_back({fs::relative(entry.path(), root).string(),
                            read_file(entry.path().string())});
    }
    std::sort(programs.begin(), programs.end(),
              [](const Program& a, const Program& b) { return a.name < b.name; });
    return programs;
}

const Program LESSONS[] = {
    {"09_detumbling_in_orbit.bas", "", "tumbling_1u"},
    {"10_thermostat_hot_case.bas", "", "hot_case"},
    {"11_beacon_pass.bas", "", "ground_pass"},
};

Program lesson(const Program& l) {
    return {l.name, read_file(std::string(ZORVANT_SOURCE_DIR) + "/samples/" + l.name), l.preset};
}

TEST(RunHistory, EveryMomentOfTheGoldenProgramsComesBack) {
    const std::vector<Program> programs = golden_programs();
    ASSERT_GT(programs.size(), 100u);
    for (const Time time : {Time::NoWaits, Time::RealTime}) {
        for (const Program& p : programs) check_walks(p, time);
    }
}

TEST(RunHistory, EveryMomentOfTheLessonsInOrbitComesBack) {
    for (const Program& l : LESSONS) {
        for (const Time time : {Time::NoWaits, Time::RealTime}) check_walks(lesson(l), time);
    }
}

// The satellite moving on between passes, with what it drives (the sensors, the station's view
// of the transmitter), and a pause's hold are no change from outside: a run nobody touched has
// none to ask about.
TEST(RunHistory, TheSatelliteAloneChangesNothingFromOutside) {
    for (const Program& l : LESSONS) {
        SCOPED_TRACE(l.name);
        RecordedRun r;
        r.time = Time::RealTime;
        r.meddle = false;
        r.watch = false;
        const Program p = lesson(l);
        ASSERT_TRUE(r.start(p.source, p.preset));
        r.run();
        EXPECT_EQ(r.history.outside_changes_after(-1), 0);
        r.history.seek_step(r.session, r.history.last().step / 2);
        sim_hold(clock_ms());
        EXPECT_FALSE(r.history.changed_since_seek(r.session));
    }
}

// Gone back into the past, K changed and the run taken up again: the same output and end as a
// fresh run that changed K at the same statement, the simulation included.
TEST(RunHistory, ARunTakenUpInThePastGoesOnAsAFreshOne) {
    for (const Program& l : LESSONS) {
        const Program p = lesson(l);
        SCOPED_TRACE(p.name);
        const long long at = 3000;
        RecordedRun fresh;
        fresh.meddle = false;
        ASSERT_TRUE(fresh.start(p.source, p.preset));
        fresh.run(at);
        machine.variables['K' - 'A'] += 2;
        fresh.run();
        const MachineSnapshot fresh_end = machine_capture(fresh.session);
        const std::vector<std::string> fresh_output = fresh.output;

        RecordedRun again;
        again.meddle = false;
        ASSERT_TRUE(again.start(p.source, p.preset));
        again.run();
        const RunMoment m = again.history.seek_step(again.session, at);
        ASSERT_TRUE(again.history.in_past());
        machine.variables['K' - 'A'] += 2;
        again.history.drop_future(again.session);
        EXPECT_EQ(again.history.last().step, at);
        again.output.resize(static_cast<size_t>(m.output_lines));
        again.seen.erase(again.seen.upper_bound(at), again.seen.end());
        again.run();
        EXPECT_EQ(again.output, fresh_output);
        EXPECT_EQ(difference(machine_capture(again.session), fresh_end), "");
        // And the new future is kept as well as the first one was.
        const auto& [step, machine_then] = *again.seen.rbegin();
        again.history.seek_step(again.session, at + 1);
        again.history.seek_step(again.session, step);
        EXPECT_EQ(difference(machine_capture(again.session), machine_then), "");
    }
}

// A moment by the program clock is the machine a run stopped by a time limit there has: the
// statements begun before it run, the clock and the satellite at that millisecond.
TEST(RunHistory, AMomentByTheClockIsTheRunStoppedThen) {
    const Program p = lesson(LESSONS[0]);
    RecordedRun r;
    r.meddle = false;
    ASSERT_TRUE(r.start(p.source, p.preset));
    r.run();
    const RunMoment end = r.history.last();
    for (const int32_t ms : {1234, 60001, end.clock_ms / 2, end.clock_ms - 7}) {
        SCOPED_TRACE(ms);
        ASSERT_TRUE(r.start(p.source, p.preset));
        r.session.time_limit = ms;
        r.session.run_to_end();
        r.session.time_limit.reset();
        const MachineSnapshot then = machine_capture(r.session);
        const size_t lines = r.output.size();

        ASSERT_TRUE(r.start(p.source, p.preset));
        r.run();
        const RunMoment m = r.history.seek_time(r.session, ms);
        EXPECT_EQ(m.clock_ms, ms);
        EXPECT_EQ(m.output_lines, static_cast<long long>(lines));
        EXPECT_EQ(difference(machine_capture(r.session), then), "");
    }
}

// The oldest moments go when the bound is reached, and the heap holds no more than the bound.
TEST(RunHistory, TheBoundHoldsInMemoryTaken) {
    RecordedRun r;
    r.meddle = false;
    r.watch = false;
    HistoryBound bound;
    bound.statements = 100000;
    bound.program_ms = 0;
    bound.bytes = std::size_t{1} << 20;
    r.history.set_bound(bound);
    ASSERT_TRUE(r.start("LABEL 1\nA=A+1\nPOKE A%100,A%7\nCOIL A%3,0,0\nGOTO 1", nullptr));
    const size_t heap_before = mallinfo2().uordblks;
    r.run(3'000'000);
    const size_t heap_after = mallinfo2().uordblks;
    EXPECT_LE(r.history.bytes(), bound.bytes);
    EXPECT_GT(r.history.first().step, 0);
    EXPECT_GE(r.history.last().step - r.history.first().step, bound.statements);
    EXPECT_LE(heap_after - std::min(heap_after, heap_before), bound.bytes + bound.bytes / 4);
    // The oldest moment kept still comes back.
    const long long oldest = r.history.first().step;
    EXPECT_EQ(r.history.seek_step(r.session, 0).step, oldest);
}

}  // namespace
