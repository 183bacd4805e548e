// A snapshot of the machine put back between two statements: the run goes on from there as it
// did the first time (output, trace rows, the simulation, the whole machine), also after the
// machine has gone a different way meanwhile.
#include "machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "run_shell.h"
#include "sim_preset.h"
#include "simulation.h"
#include "test_support.h"
#include "tokenizer.h"
#include "trace.h"

namespace {

namespace fs = std::filesystem;

// Statements after which a program is taken to run on for ever.
constexpr long long STEP_CAP = 200000;

// A machine that writes the rows the runner's --trace writes, beside the output.
struct TracedMachine : TestMachine {
    std::vector<std::string> trace;
    TraceSnapshot last_row;

    // Where the run stood, and how much output and trace it had made by then.
    struct Mark {
        MachineSnapshot machine;
        size_t output = 0;
        size_t trace = 0;
        TraceSnapshot last_row;
    };

    ~TracedMachine() { session_reset_machine(); }

    void row(const TraceSnapshot& s) {
        trace.push_back(trace_row(s));
        last_row = s;
    }
    static HookAction before_statement(const char*, int line, void* self) {
        auto* m = static_cast<TracedMachine*>(self);
        const TraceSnapshot s = trace_snapshot(m->clock.now, line);
        if (trace_state_changed(m->last_row, s)) m->row(s);
        return HookAction::Go;
    }

    // A fresh machine at time 0, and RUN.
    bool start(const std::string& source, const char* preset) {
        session_reset_machine();
        if (preset != nullptr) sim_reset(sim_preset_parse(sim_find_shipped(preset)->text).preset);
        clock.now = 0;
        output.clear();
        trace.clear();
        session.hook = before_statement;
        session.hook_context = this;
        if (!session.start(split_lines(source)).ok) return false;
        row(trace_snapshot(0, -1));
        return true;
    }
    // On to `steps` statements in all, or to the end before that.
    void run_to(long long steps) {
        session.step_limit = steps;
        session.run_to_end();
    }
    // As the runner ends a run: the simulation follows the clock, and a last row.
    void run_to_end() {
        run_to(STEP_CAP);
        session.follow_simulation();
        row(trace_snapshot(clock.now, -1));
    }
    Mark mark() const { return {machine_capture(session), output.size(), trace.size(), last_row}; }
    void go_back(const Mark& m) {
        machine_restore(m.machine, session);
        output.resize(m.output);
        trace.resize(m.trace);
        last_row = m.last_row;
    }
};

struct Program {
    std::string name;
    std::string source;
    const char* preset = nullptr;  // a shipped simulation's name
};

// Runs the program to its end; runs it again, marking the machine at a few statements, and
// from the first mark goes another way for a while (every variable, the memory and the coils
// changed, a pause) and back before it goes on: the same output and trace as the first time. Then
// goes back to each mark and requires the same run from there: the later marks, the output, the
// trace and the machine at the end.
void check_going_back(const Program& p) {
    SCOPED_TRACE(p.name);
    TracedMachine m;
    if (!m.start(p.source, p.preset)) return;
    m.run_to_end();
    const long long total = m.session.steps();
    if (total >= STEP_CAP || total < 2) return;
    const std::vector<std::string> output = m.output;
    const std::vector<std::string> trace = m.trace;
    std::vector<long long> at = {1, total / 2, total - 1};
    at.erase(std::unique(at.begin(), at.end()), at.end());

    ASSERT_TRUE(m.start(p.source, p.preset));
    std::vector<TracedMachine::Mark> marks;
    for (const long long k : at) {
        m.run_to(k);
        marks.push_back(m.mark());
        if (marks.size() > 1) continue;
        for (int v = 0; v < VARIABLE_COUNT; ++v) machine.variables[v] = 1;
        std::fill(std::begin(machine.user_ram), std::end(machine.user_ram), 0xFF);
        for (const Channel c : {Channel::CoiX, Channel::CoiY, Channel::CoiZ}) channel_set(c, 100);
        sim_hold(m.clock.now);
        sim_release(m.clock.now += 5000);
        m.run_to(k + 500);
        m.go_back(marks[0]);
    }
    m.run_to_end();
    const MachineSnapshot end = machine_capture(m.session);
    EXPECT_EQ(m.output, output);
    EXPECT_EQ(m.trace, trace);

    for (const size_t i : {at.size() / 2, size_t{0}, at.size() - 1}) {
        SCOPED_TRACE("from statement " + std::to_string(at[i]));
        m.go_back(marks[i]);
        EXPECT_EQ(machine_difference(m.mark().machine, marks[i].machine), "");
        for (size_t j = i + 1; j < at.size(); ++j) {
            m.run_to(at[j]);
            EXPECT_EQ(machine_difference(m.mark().machine, marks[j].machine), "") << at[j];
        }
        m.run_to_end();
        EXPECT_EQ(machine_difference(machine_capture(m.session), end), "");
        EXPECT_EQ(m.output, output);
        EXPECT_EQ(m.trace, trace);
    }
}

TEST(MachineState, GoldenProgramsGoOnAsBefore) {
    const fs::path root = fs::path(ZORVANT_SOURCE_DIR) / "tests" / "programs";
    std::vector<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() == ".bas") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    ASSERT_GT(paths.size(), 100u);
    std::vector<Program> programs;
    for (const fs::path& path : paths) {
        programs.push_back({fs::relative(path, root).string(), read_file(path.string())});
    }
    // A label is found where it was first met: a way the program took and was then taken back
    // must not leave its label behind. Run as written, it prints FIRST; with K=1 the LABEL 5
    // further down is met first.
    programs.push_back({"label met on a way taken back",
                        "K=0\nIF K=1 THEN GOTO 7\nGOTO 5\nLABEL 5\nPRINT \"FIRST\"\nEND\n"
                        "LABEL 7\nLABEL 5\nPRINT \"SECOND\"\nGOTO 5"});
    for (const bool fast : {true, false}) {
        SCOPED_TRACE(fast ? "fast paths" : "plain");
        tok_set_fast_paths(fast);
        for (const Program& p : programs) check_going_back(p);
    }
    tok_set_fast_paths(true);
}

TEST(MachineState, LessonsInOrbitGoOnAsBefore) {
    const struct {
        const char* file;
        const char* preset;
    } lessons[] = {
        {"09_detumbling_in_orbit.bas", "tumbling_1u"},
        {"10_thermostat_hot_case.bas", "hot_case"},
        {"11_beacon_pass.bas", "ground_pass"},
    };
    for (const auto& l : lessons) {
        const std::string path = std::string(ZORVANT_SOURCE_DIR) + "/samples/" + l.file;
        check_going_back({l.file, read_file(path), l.preset});
    }
}

// Putting a machine back tells each channel's subscribers once when its position changes, and
// the radio's listener.
TEST(MachineState, SubscribersHearOfWhatChanged) {
    TracedMachine m;
    ASSERT_TRUE(m.start("COIL 0.5,0,0\nSPEED 2\nTX 3,1\nCOIL 0,0,0.2", nullptr));
    const TracedMachine::Mark mark = m.mark();
    m.run_to_end();
    static std::vector<Channel> heard;
    static int radio_heard;
    heard.clear();
    radio_heard = 0;
    const ChannelListener listen = [](Channel c, void*) { heard.push_back(c); };
    device_subscribe(listen, nullptr);
    radio_set_listener([](void*) { ++radio_heard; }, nullptr);
    m.go_back(mark);
    radio_set_listener(nullptr, nullptr);
    device_unsubscribe(listen, nullptr);
    EXPECT_EQ(heard, (std::vector<Channel>{Channel::CoiZ, Channel::Spd}));
    EXPECT_EQ(radio_heard, 1);
    EXPECT_FALSE(radio.tx_active);
}

}  // namespace
