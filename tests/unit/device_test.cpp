#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "format.h"
#include "test_support.h"
#include "tokenizer.h"

namespace {

std::string label(Channel c) {
    char out[FORMAT_BUFFER_SIZE];
    channel_label_text(c, out);
    return out;
}

TEST(Channels, StartPositionsAndRanges) {
    TestMachine m;
    EXPECT_EQ(channel_position(Channel::MagX), 0);
    EXPECT_EQ(channel_position(Channel::Spd), 4);
    EXPECT_EQ(channel_position(Channel::Sys), 1000);
    EXPECT_EQ(channel_position(Channel::Timer), 5);
    channel_set(Channel::MagX, 500);
    EXPECT_EQ(channel_position(Channel::MagX), 100);
    channel_set(Channel::Tem, -41);
    EXPECT_EQ(channel_position(Channel::Tem), -40);
    channel_set(Channel::Rx, 256);
    EXPECT_EQ(channel_position(Channel::Rx), 255);
    channel_set(Channel::ColG, -5'000'000'000LL);
    EXPECT_EQ(channel_position(Channel::ColG), 0);
    EXPECT_EQ(channel_from_control("tb_colb"), Channel::ColB);
    EXPECT_EQ(channel_from_control("tb_nope"), Channel::Count);
}

TEST(Channels, NotifyOnlyOnARealChange) {
    TestMachine m;
    std::vector<Channel> changes;
    device_set_listener(
        [](Channel c, void* v) { static_cast<std::vector<Channel>*>(v)->push_back(c); }, &changes);
    channel_set(Channel::MagY, 0);    // unchanged
    channel_set(Channel::MagY, 30);   // changed
    channel_set(Channel::MagY, 30);   // unchanged
    channel_set(Channel::Tem, 1000);  // clamped to 80: changed
    channel_set(Channel::Tem, 90);    // clamped to 80 again: unchanged
    m.run("COIL 0.5,0,0\nCOIL 0.5,0,0");
    EXPECT_EQ(changes, (std::vector<Channel>{Channel::MagY, Channel::Tem, Channel::CoiX}));
    device_set_listener(nullptr, nullptr);
}

TEST(Channels, LabelTexts) {
    TestMachine m;
    channel_set(Channel::MagX, 37);
    channel_set(Channel::MagY, -100);
    channel_set(Channel::Tem, -40);
    channel_set(Channel::Rx, 255);
    channel_set(Channel::CoiZ, -7);
    EXPECT_EQ(label(Channel::MagX), "0.37");
    EXPECT_EQ(label(Channel::MagY), "-1");
    EXPECT_EQ(label(Channel::MagZ), "0");
    EXPECT_EQ(label(Channel::Tem), "-40");
    EXPECT_EQ(label(Channel::Rx), "255");
    EXPECT_EQ(label(Channel::CoiZ), "-0.07");
}

TEST(Channels, HundredthsReadAsTheirDecimalText) {
    TestMachine m;
    for (int p = -100; p <= 100; ++p) {
        channel_set(Channel::MagZ, p);
        char text[FORMAT_BUFFER_SIZE];
        format_general(channel_value(Channel::MagZ), PRINT_DIGITS, text);
        EXPECT_EQ(channel_value(Channel::MagZ), parse_number(text)) << p;
        EXPECT_LE(std::strlen(text), 5u) << text;
    }
}

TEST(Waterfall, TickScrollsDrawsAndRefills) {
    TestMachine m;
    noise_seed(12345);
    for (int i = 0; i < SDR_WIDTH; ++i) radio.sdr_row[i] = static_cast<uint8_t>(i);
    radio.pixels[3] = 0xAB;  // the fourth byte of a pixel is never written
    sdr_tick();
    for (int i = 0; i < SDR_WIDTH; ++i) {
        EXPECT_EQ(radio.pixels[i * 4 + 0], i);
        EXPECT_EQ(radio.pixels[i * 4 + 1], i);
        EXPECT_EQ(radio.pixels[i * 4 + 2], i);
        EXPECT_GE(radio.sdr_row[i], 20);
        EXPECT_LE(radio.sdr_row[i], 34);
    }
    EXPECT_EQ(radio.pixels[3], 0xAB);
    // Row 0 moves to row 1 with the next tick; the bottom row falls off.
    radio.pixels[(SDR_HEIGHT - 1) * SDR_STRIDE] = 99;
    sdr_tick();
    for (int i = 0; i < SDR_WIDTH; ++i) EXPECT_EQ(radio.pixels[SDR_STRIDE + i * 4], i);
    EXPECT_NE(radio.pixels[(SDR_HEIGHT - 1) * SDR_STRIDE], 99);
}

TEST(Waterfall, NoiseCoversItsWholeRange) {
    TestMachine m;
    noise_seed(1);
    std::set<int> seen;
    for (int k = 0; k < 2000; ++k) seen.insert(noise_random(15));
    EXPECT_EQ(seen.size(), 15u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 14);
    EXPECT_EQ(noise_random(0), 0);
}

TEST(Waterfall, InitStartsBlack) {
    TestMachine m;
    sdr_init();
    for (int row = 0; row < SDR_HEIGHT; ++row) {
        for (int i = 0; i < SDR_WIDTH; ++i) {
            ASSERT_EQ(radio.pixels[row * SDR_STRIDE + i * 4], 0) << row;
        }
    }
    for (int i = 0; i < SDR_WIDTH; ++i) EXPECT_GE(radio.sdr_row[i], 20);
}

TEST(Waterfall, TransmissionMarksEveryRowWhileTheLoopRuns) {
    TestMachine m;
    m.session.start({"TX 5,7", "LABEL 1", "GOTO 1"});
    m.session.run(10);
    sdr_tick();
    EXPECT_EQ(radio.pixels[17 * 4], 200);
    m.session.run(1);
    sdr_tick();
    EXPECT_EQ(radio.pixels[17 * 4], 200);
    EXPECT_EQ(radio.pixels[SDR_STRIDE + 17 * 4], 200);
    sdr_tick();  // no pass of the loop in between: noise only
    EXPECT_LE(radio.pixels[17 * 4], 34);
}

TEST(Waterfall, TimerIntervalFromTheSlider) {
    EXPECT_EQ(sdr_interval_ms(0, 10), 110);
    EXPECT_EQ(sdr_interval_ms(5, 10), 60);
    EXPECT_EQ(sdr_interval_ms(10, 10), 10);
}

}  // namespace
