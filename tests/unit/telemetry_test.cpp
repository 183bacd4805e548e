// The telemetry recording: one store of rows for the export and the charts, a bounded size,
// outlines that keep every spike, and the export the runner's trace of the same run.
#include <gtest/gtest.h>

#include "radio.h"
#include "run_shell.h"
#include "scenario.h"
#include "simulation.h"
#include "telemetry.h"
#include "telemetry_recorder.h"
#include "test_support.h"

namespace {

std::vector<std::string> csv_lines(const TelemetryRecording& r) {
    std::vector<std::string> lines;
    const std::string csv = telemetry_csv(r);
    for (size_t at = 0; at < csv.size();) {
        const size_t end = csv.find('\n', at);
        lines.push_back(csv.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

// The export writes the traced rows; the charts read every row. A sample that changes nothing
// is left out, samples in one millisecond make one, one stamped before the last row takes its
// time, and a traced row that finds what the sample of its millisecond left takes its place.
TEST(Telemetry, SamplesAndTracedRowsShareOneStore) {
    TelemetryRecording r;
    TraceSnapshot s;
    s.channels[0] = 5;
    r.add_row(s);
    s.time_ms = 10;
    s.line = 3;
    r.add_row(s, false);
    s.time_ms = 20;
    s.channels[0] = 7;
    r.add_row(s, false);
    s.channels[0] = 8;
    s.tx_column = 7;
    r.add_row(s, false);
    s.line = 4;
    r.add_row(s);
    s.time_ms = 30;
    s.variables[0] = 2;
    r.add_row(s, false);
    s.time_ms = 25;
    s.variables[0] = 3;
    r.add_row(s, false);
    s.time_ms = 40;
    s.line = -1;
    r.add_row(s);

    EXPECT_EQ(r.row_count(), 4u);
    const auto points = [&r](int series) {
        std::vector<std::pair<int64_t, double>> v;
        for (const TelemetryPoint& p : r.points(series)) v.emplace_back(p.time_ms, p.value);
        return v;
    };
    using Points = std::vector<std::pair<int64_t, double>>;
    EXPECT_EQ(points(0), (Points{{0, 5}, {20, 8}}));
    EXPECT_EQ(points(TS_TX_CHANNEL), (Points{{0, 0}, {20, 2}}));
    EXPECT_EQ(points(TS_VARIABLE_A), (Points{{0, 0}, {30, 3}}));
    EXPECT_EQ(r.last_time(), 40);
    EXPECT_FALSE(r.has_series(TS_SIM_FIRST));
    EXPECT_TRUE(r.points(TS_SIM_FIRST).empty());
    const std::vector<std::string> lines = csv_lines(r);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].substr(0, 7), "0,-1,5,");
    EXPECT_EQ(lines[2].substr(0, 7), "20,4,8,");
    EXPECT_EQ(lines[3].substr(0, 8), "40,-1,8,");
}

// A long recording is thinned in the older half: it stays within its bound, every row kept is
// as it was, and the first and the last stay.
TEST(Telemetry, ThinnedRowsKeepTheirValues) {
    TelemetryRecording r;
    r.max_samples = 300;
    std::vector<std::string> rows;
    for (int i = 0; i < 400; ++i) {
        TraceSnapshot s;
        s.time_ms = i;
        s.line = i % 5 - 1;
        s.channels[0] = i % 7;
        s.tx_active = i % 11 == 0;
        s.variables[0] = i;
        s.variables[25] = i % 3 == 0 ? -0.0 : 0.0;
        r.add_row(s, i % 3 != 1);
        rows.push_back(trace_row(s));
        ASSERT_LE(r.sample_count(), 300u);
    }
    std::vector<std::string> kept;
    r.for_each_row([&](const TraceSnapshot& s) {
        EXPECT_EQ(trace_row(s), rows.at(static_cast<size_t>(s.time_ms)));
        EXPECT_NE(s.time_ms % 3, 1);
        kept.push_back(trace_row(s));
    });
    EXPECT_LT(kept.size(), 200u);
    EXPECT_EQ(kept.front(), rows.front());
    EXPECT_EQ(kept.back(), rows.back());
    const auto a = r.points(TS_VARIABLE_A);
    EXPECT_EQ(a.front().time_ms, 0);
    EXPECT_EQ(a.back().value, 399);
    for (size_t i = 1; i < a.size(); ++i) EXPECT_LT(a[i - 1].time_ms, a[i].time_ms);
}

// A run that goes on from a moment of its past: the rows after that moment (by statement, and
// by time) are forgotten, and what it records next makes the recording a run that never had
// the forgotten future would have made, whichever copy of the values the cut falls beside.
TEST(Telemetry, AFutureForgottenIsAsIfNeverRecorded) {
    constexpr int ROWS = 10000;  // more than two copies of the values
    const auto row = [](int i, int future) {
        TraceSnapshot s;
        s.time_ms = i / 2;  // two statements a millisecond
        s.line = i % 9;
        s.channels[0] = (i + future) % 13;
        s.variables[1] = i % 4 == 0 ? i * future : 0;
        return s;
    };
    for (const int cut : {0, 1, 4095, 4096, 4097, 6001, ROWS - 2}) {
        TelemetryRecording dropped;
        TelemetryRecording fresh;
        for (int i = 0; i < ROWS; ++i) {
            dropped.add_row(row(i, 1), i % 3 != 2, i);
            if (i <= cut) fresh.add_row(row(i, 1), i % 3 != 2, i);
        }
        // The moment after statement `cut`: the rows of its millisecond after it go too.
        dropped.forget_after(row(cut, 1).time_ms, cut);
        for (int i = cut + 1; i < ROWS; ++i) {
            dropped.add_row(row(i, 2), i % 3 != 2, i);
            fresh.add_row(row(i, 2), i % 3 != 2, i);
        }
        EXPECT_EQ(telemetry_csv(dropped), telemetry_csv(fresh)) << "cut at " << cut;
        for (const int series : {0, static_cast<int>(TS_LINE), TS_VARIABLE_A + 1}) {
            for (const auto& [from, to] : {std::pair<int64_t, int64_t>{0, ROWS / 2},
                                           {ROWS / 4, ROWS / 3}}) {
                const auto a = dropped.outline(series, from, to, 50);
                const auto b = fresh.outline(series, from, to, 50);
                ASSERT_EQ(a.size(), b.size()) << "cut at " << cut << ", series " << series;
                for (size_t k = 0; k < a.size(); ++k) {
                    EXPECT_EQ(a[k].time_ms, b[k].time_ms);
                    EXPECT_EQ(a[k].value, b[k].value);
                }
            }
        }
        EXPECT_EQ(dropped.last_time(), fresh.last_time());
    }
}

TEST(Telemetry, OutlineKeepsSpikesWithinItsBuckets) {
    TelemetryRecording r;
    TraceSnapshot s;
    for (int64_t t = 0; t < 10000; ++t) {
        s.time_ms = t;
        s.channels[0] = t == 5000 ? 100 : static_cast<int>(t % 2);
        r.add_row(s);
    }
    const auto outline = r.outline(0, 0, 10000, 50);
    EXPECT_LE(outline.size(), 4u * 50 + 2);
    double highest = 0;
    for (const auto& p : outline) highest = std::max(highest, p.value);
    EXPECT_EQ(highest, 100);
    EXPECT_EQ(outline.front().time_ms, 0);
    EXPECT_EQ(outline.back().time_ms, 10000);
    // A view narrower than its buckets; views that start far into the rows lead with the value
    // there; a view before any row.
    EXPECT_FALSE(r.outline(0, 4990, 5010, 400).empty());
    EXPECT_EQ(r.outline(0, 7001, 7003, 2).front().value, 1);
    EXPECT_EQ(r.outline(0, 9000, 9003, 2).front().value, 0);
    EXPECT_EQ(r.outline(TS_COUNT, 0, 100, 2).size(), 2u);  // no such series: 0 throughout
    TelemetryRecording later;
    s.time_ms = 500;
    s.channels[0] = 3;
    later.add_row(s);
    const auto before = later.outline(0, 0, 100, 10);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0].value, 0);
}

}  // namespace

namespace {

// The recorder hears of every change through the device's subscribers; within a pass it only
// marks them, and the recording comes out as if each had been recorded at the pass's time.
TEST(TelemetryRecorder, APassRecordsWhatChangedAtItsTime) {
    TestMachine m;
    m.clock.now = 1000;
    TelemetryRecorder direct;
    TelemetryRecorder batched;  // the transmitter's one listener
    batched.set_clock([](void*) { return 1000; }, nullptr);
    direct.set_clock([](void*) { return clock_ms(); }, nullptr);
    for (TelemetryRecorder* r : {&batched, &direct}) {
        r->start();
        TelemetryRecorder::row_hook(true, -1, r);
    }
    m.clock.now = 1250;
    batched.begin_pass(1250);
    channel_set(Channel::CoiX, 10);
    channel_set(Channel::CoiX, 20);
    channel_set(Channel::Spd, 2);
    radio.tx_active = true;
    radio_changed();
    EXPECT_EQ(batched.data().row_count(), 1u);  // marked, not yet recorded
    batched.end_pass();
    for (const TelemetryRecorder* r : {&batched, &direct}) {
        const auto coil = r->data().points(static_cast<int>(Channel::CoiX));
        ASSERT_EQ(coil.size(), 2u);
        EXPECT_EQ(coil[1].time_ms, 250);
        EXPECT_EQ(coil[1].value, 20);
        EXPECT_EQ(r->data().points(static_cast<int>(Channel::Spd)).back().value, 2);
        EXPECT_EQ(r->data().points(static_cast<int>(Channel::MagX)).size(), 1u);
    }
    EXPECT_EQ(batched.data().points(TS_TX_ACTIVE).back().time_ms, 250);
    EXPECT_EQ(batched.data().points(TS_TX_ACTIVE).back().value, 1);
    // Outside a pass a change is recorded at once, with the clock read then.
    m.clock.now = 1400;
    channel_set(Channel::MagX, 5);
    EXPECT_EQ(direct.data().points(static_cast<int>(Channel::MagX)).back().time_ms, 400);
    radio.tx_active = false;
}

// The machine put back at a moment before the last row (and the statements run again to reach
// it) is no part of the run's telemetry; where the run stands again, changes are.
TEST(TelemetryRecorder, NothingOfAMomentInThePastIsRecorded) {
    TestMachine m;
    long long steps = 0;
    TelemetryRecorder r;
    r.set_clock([](void*) { return clock_ms(); }, nullptr);
    r.set_steps([](void* count) { return *static_cast<long long*>(count); }, &steps);
    r.start();
    TelemetryRecorder::row_hook(true, -1, &r);
    const auto coil = [&r] {
        std::vector<double> v;
        for (const TelemetryPoint& p : r.data().points(static_cast<int>(Channel::CoiX))) {
            v.push_back(p.value);
        }
        return v;
    };
    steps = 10;
    channel_set(Channel::CoiX, 10);
    steps = 4;
    channel_set(Channel::CoiX, 50);
    var_set(0, 3);
    r.sample();
    TelemetryRecorder::row_hook(false, 2, &r);
    EXPECT_EQ(coil(), (std::vector<double>{0, 10}));
    steps = 10;
    channel_set(Channel::CoiX, 10);
    m.clock.now += 5;
    channel_set(Channel::CoiX, 20);
    EXPECT_EQ(coil(), (std::vector<double>{0, 10, 20}));
    EXPECT_EQ(r.data().last_step(), 10);
}

}  // namespace

namespace {

// A run recorded as the window records it, and the runner's trace of the same run: sliders set
// before RUN are --set, sliders moved during a DELAY scenario events within it, and a simulation
// is moved on while the program waits as the window's timer moves it. The export is the trace,
// byte for byte, however the run is cut into passes; the samples the charts got meanwhile are
// not in it.
struct TracedRun {
    const char* name;
    std::string source;
    std::string set;     // NAME=POS before RUN
    std::string events;  // the scenario
    const char* preset;  // a simulation's, or nullptr
};

TEST(TelemetryRecorder, TheExportIsTheRunnersTrace) {
    const TracedRun runs[] = {
        {"plain", "A=1\nCOIL 0.5,0,0\nB=2\nDELAY 100\nMGET X,Y,Z\nTX 2,5\nC=3\nDELAY 40\nD=4\nCOIL 0,0,0\n",
         "magx=30", "", nullptr},
        {"moves during waits",
         "A=1\nCOIL 0.5,0,0\nB=2\nDELAY 100\nMGET X,Y,Z\nTX 2,5\nC=3\nDELAY 40\nD=A+B+C\n"
         "COIL 0,-0.25,0\nTGET T\nRX R\nE=D*2+T+R",
         "magx=30", "50 magy=-20\n120 tem=31\n120 rx=99\n", nullptr},
        {"simulation", "DELAY 400\nCOIL 1,1,1\nDELAY 300\nMGET X,Y,Z\nCOIL 0,0,0\nA=X+Y", "",
         "200 colr=10\n", "tumbling_1u"},
    };
    for (const TracedRun& run : runs) {
        const std::string program = write_temp_file("traced.bas", run.source);
        const std::string events = write_temp_file("traced.events", run.events);
        const std::string trace = testing::TempDir() + "traced.csv";
        std::string args = " --no-wait --trace " + trace;
        if (!run.set.empty()) args += " --set " + run.set;
        if (!run.events.empty()) args += " --scenario " + events;
        if (run.preset != nullptr) args += std::string(" --sim ") + run.preset;
        const ShellResult r = run_shell(std::string(ZORVANT_RUN) + args + " " + program + " 2>&1");
        ASSERT_EQ(r.code, 0) << run.name << ": " << r.out;
        const std::vector<ScenarioEvent> moves = scenario_parse(run.events).events;

        for (const long long budget : {1LL, 3LL, 1000LL}) {
            TestMachine m;
            m.clock.now = 5000;
            RunSession session;  // waits as the window's do: the test moves the clock
            if (run.preset != nullptr) {
                sim_reset(sim_preset_parse(sim_find_shipped(run.preset)->text).preset);
            }
            TelemetryRecorder recorder;
            session.set_row_hook(TelemetryRecorder::row_hook, &recorder, recorder.row_due());
            if (!run.set.empty()) {
                const size_t eq = run.set.find('=');
                channel_set(channel_from_name(run.set.substr(0, eq)), std::stoi(run.set.substr(eq + 1)));
            }
            recorder.start();
            ASSERT_TRUE(session.start(split_lines(run.source)).ok);
            size_t next = 0;
            for (PassStop stop; (stop = session.run(budget)) != PassStop::Finished;) {
                if (stop != PassStop::Waiting) continue;
                while (m.clock.now < interp.resume_time) {
                    int32_t t = std::min(interp.resume_time, m.clock.now + 50);
                    if (next < moves.size()) t = std::min<int32_t>(t, 5000 + static_cast<int32_t>(moves[next].time_ms));
                    m.clock.advance_to(t);
                    for (; next < moves.size() && 5000 + moves[next].time_ms <= t; ++next) {
                        channel_set(moves[next].channel, moves[next].position);
                    }
                    if (simulation.on) sim_follow(clock_ms());
                }
            }
            recorder.end();
            sim_off();
            const std::vector<std::string> lines = csv_lines(recorder.data());
            EXPECT_EQ(telemetry_csv(recorder.data()), read_file(trace))
                << run.name << ", passes of " << budget;
            if (!run.events.empty()) {
                EXPECT_GT(recorder.data().row_count(), lines.size() - 1) << run.name;
            }
        }
    }
}

}  // namespace
