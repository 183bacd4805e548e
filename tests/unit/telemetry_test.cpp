// The telemetry recording: changes only, a bounded size, and outlines that keep every spike.
#include <gtest/gtest.h>

#include "telemetry.h"
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
