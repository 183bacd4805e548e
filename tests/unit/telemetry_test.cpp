// The telemetry recording: changes only, a bounded size, and outlines that keep every spike.
#include <gtest/gtest.h>

#include "telemetry.h"
#include "run_shell.h"
#include "telemetry_recorder.h"
#include "test_support.h"

namespace {

TEST(Telemetry, RecordsChangesOnlyAndTheLastValueOfAMillisecond) {
    TelemetryRecording r;
    r.record(0, 0, 5);
    r.record(0, 10, 5);  // no change
    r.record(0, 20, 7);
    r.record(0, 20, 8);  // same millisecond: the later value holds
    r.record(0, 30, 8);
    r.record(1, 40, 1);
    EXPECT_EQ(r.sample_count(), 3u);
    ASSERT_EQ(r.points(0).size(), 2u);
    EXPECT_EQ(r.points(0)[1].time_ms, 20);
    EXPECT_EQ(r.points(0)[1].value, 8);
    EXPECT_EQ(r.value_at(0, 19), 5);
    EXPECT_EQ(r.value_at(0, 20), 8);
    EXPECT_EQ(r.value_at(1, 39), 0);  // before its first sample
    EXPECT_EQ(r.last_time(), 40);
    EXPECT_EQ(r.change_times(), (std::vector<int64_t>{0, 20, 40}));
}

// However long the run, the samples stay under the bound, and the newest half keeps every one.
TEST(Telemetry, ThinningBoundsTheOlderSamples) {
    TelemetryRecording r;
    r.max_samples = 1000;
    for (int64_t t = 0; t < 100000; ++t) r.record(static_cast<int>(t % 3), t, static_cast<double>(t));
    EXPECT_LE(r.sample_count(), 1000u);
    EXPECT_GT(r.sample_count(), 500u);
    for (int s = 0; s < 3; ++s) {
        const auto& p = r.points(s);
        EXPECT_EQ(p.front().time_ms, s);  // every series keeps its start
        EXPECT_EQ(p.back().time_ms, 99999 - (99999 - s) % 3);
        for (size_t i = 1; i < p.size(); ++i) EXPECT_LT(p[i - 1].time_ms, p[i].time_ms);
    }
}

TEST(Telemetry, OutlineKeepsSpikesWithinItsBuckets) {
    TelemetryRecording r;
    for (int64_t t = 0; t < 10000; ++t) r.record(0, t, t == 5000 ? 100 : (t % 2));
    const auto outline = r.outline(0, 0, 10000, 50);
    EXPECT_LE(outline.size(), 4u * 50 + 2);
    double highest = 0;
    for (const auto& p : outline) highest = std::max(highest, p.value);
    EXPECT_EQ(highest, 100);
    EXPECT_EQ(outline.front().time_ms, 0);
    EXPECT_EQ(outline.back().time_ms, 10000);
    // A view narrower than its buckets, and a view before any sample.
    EXPECT_FALSE(r.outline(0, 4990, 5010, 400).empty());
    TelemetryRecording later;
    later.record(0, 500, 3);
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
    direct.set_clock([](void*) { return 1250; }, nullptr);
    batched.start();
    direct.start();
    batched.begin_pass(1250);
    channel_set(Channel::CoiX, 10);
    channel_set(Channel::CoiX, 20);
    channel_set(Channel::Spd, 2);
    radio.tx_active = true;
    radio_changed();
    EXPECT_EQ(batched.data().points(TS_CHANNELS - 1).size(), 1u);  // marked, not yet recorded
    batched.end_pass();
    for (const TelemetryRecorder* r : {&batched, &direct}) {
        const auto& coil = r->data().points(static_cast<int>(Channel::CoiX));
        ASSERT_EQ(coil.size(), 2u);
        EXPECT_EQ(coil[1].time_ms, 250);
        EXPECT_EQ(coil[1].value, 20);
        EXPECT_EQ(r->data().points(static_cast<int>(Channel::Spd)).back().value, 2);
        EXPECT_EQ(r->data().points(static_cast<int>(Channel::MagX)).size(), 1u);
    }
    EXPECT_EQ(batched.data().points(TS_TX_ACTIVE).back().time_ms, 250);
    EXPECT_EQ(batched.data().points(TS_TX_ACTIVE).back().value, 1);
    // Outside a pass a change is recorded at once, with the clock read then.
    channel_set(Channel::MagX, 5);
    EXPECT_EQ(batched.data().points(static_cast<int>(Channel::MagX)).back().time_ms, 0);
    radio.tx_active = false;
}

}  // namespace

namespace {

// The recording's rows are the runner's trace of the same run, byte for byte: the start and the
// end with line -1, and a row before each statement that finds the clock or a channel moved,
// however the run is cut into passes.
TEST(TelemetryRecorder, RowsAreTheRunnersTrace) {
    const std::string source =
        "A=1\nCOIL 0.5,0,0\nB=2\nDELAY 100\nMGET X,Y,Z\nTX 2,5\nC=3\nDELAY 40\nD=4\nCOIL 0,0,0\n";
    const std::string program = write_temp_file("recorded.bas", source);
    const std::string trace = testing::TempDir() + "recorded.csv";
    const ShellResult r =
        run_shell(std::string(ZORVANT_RUN) + " --no-wait --set magx=30 --trace " + trace + " " +
                  program + " 2>/dev/null");
    ASSERT_EQ(r.code, 0);
    for (const long long budget : {1LL, 3LL, 1000LL}) {
        TestMachine m;
        m.clock.now = 5000;
        TelemetryRecorder recorder;
        m.session.set_row_hook(TelemetryRecorder::row_hook, &recorder, recorder.row_due());
        channel_set(Channel::MagX, 30);
        recorder.start();
        ASSERT_TRUE(m.session.start(split_lines(source)).ok);
        while (m.session.run(budget) != PassStop::Finished) {
        }
        recorder.end();
        const std::string csv = telemetry_csv(recorder.data());
        EXPECT_EQ(csv, read_file(trace)) << "passes of " << budget;
        EXPECT_EQ(csv.substr(csv.find('\n') + 1, 5), "0,-1,");
        EXPECT_EQ(csv.substr(csv.rfind('\n', csv.size() - 2) + 1, 10), "140,-1,30,");
    }
}

// A long recording's rows are thinned in the older half; every row kept is as it was.
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
        r.add_row(s);
        rows.push_back(trace_row(s));
    }
    std::vector<std::string> kept;
    r.for_each_row([&](const TraceSnapshot& s) {
        EXPECT_EQ(trace_row(s), rows.at(static_cast<size_t>(s.time_ms)));
        kept.push_back(trace_row(s));
    });
    EXPECT_LT(kept.size(), 300u);
    EXPECT_EQ(kept.front(), rows.front());
    EXPECT_EQ(kept.back(), rows.back());
}

}  // namespace
