#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
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

// The table is the one place that says what a channel is called: no other source file of the
// product spells one of its names, controls, captions or descriptions out again.
TEST(Channels, NothingElseRestatesTheTable) {
    namespace fs = std::filesystem;
    std::set<std::string> names;
    std::set<std::string> distinct;
    for (const ChannelInfo& c : channel_info) {
        for (const char* text : {c.name, c.control, c.label, c.section, c.accessible_name,
                                 c.description}) {
            if (text == nullptr) continue;
            EXPECT_TRUE(distinct.insert(text).second || text == c.accessible_name) << text;
            names.insert('"' + std::string(text) + '"');
        }
    }
    const fs::path root(ZORVANT_SOURCE_DIR);
    const fs::path table = root / "device/model/channels.h";
    int files = 0;
    for (const char* dir : {"interpreter", "device", "shell", "tools", "fuzz"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
            const std::string ext = entry.path().extension().string();
            if ((ext != ".cpp" && ext != ".h") || entry.path() == table) continue;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            for (int n = 1; std::getline(in, line); ++n) {
                if (line.find_first_not_of(' ') != std::string::npos &&
                    line.compare(line.find_first_not_of(' '), 2, "//") == 0) {
                    continue;
                }
                for (const std::string& name : names) {
                    EXPECT_EQ(line.find(name), std::string::npos)
                        << entry.path().string() << ":" << n << " restates " << name;
                }
            }
        }
    }
    EXPECT_GT(files, 50);
}

// What the other places take from the table only makes sense in this shape.
TEST(Channels, TheTableHoldsTogether) {
    std::set<int> slots;
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        const ChannelInfo& c = channel_info[i];
        EXPECT_LE(c.minimum, c.start) << c.name;
        EXPECT_LE(c.start, c.maximum) << c.name;
        // The trace's columns and the telemetry's series are the first channels.
        EXPECT_EQ(c.traced, i < TRACED_CHANNEL_COUNT) << c.name;
        if (c.settings_slot >= 0) {
            EXPECT_TRUE(slots.insert(c.settings_slot).second) << c.name;
        }
        EXPECT_EQ(channel_from_name(c.name), static_cast<Channel>(i));
        EXPECT_EQ(channel_from_control(c.control), static_cast<Channel>(i));
        EXPECT_EQ(sensor_from_name(c.name) != Channel::Count, c.mover == Mover::User) << c.name;
    }
    // The settings file's lines are numbered 0, 1, 2, ... without a gap.
    EXPECT_EQ(slots.size(), static_cast<size_t>(SETTINGS_CHANNEL_COUNT));
    EXPECT_EQ(slots.empty() ? -1 : *slots.rbegin(), SETTINGS_CHANNEL_COUNT - 1);
    EXPECT_STREQ(sensor_name_list(), "magx, magy, magz, colr, colg, colb, tem, rx");
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

// Every subscriber hears of each real change once, whoever subscribed first; a subscriber
// that left hears nothing more.
TEST(Channels, EverySubscriberHearsEachRealChangeOnce) {
    TestMachine m;
    std::vector<Channel> first;
    std::vector<Channel> second;
    const ChannelListener note = [](Channel c, void* v) {
        static_cast<std::vector<Channel>*>(v)->push_back(c);
    };
    ASSERT_TRUE(device_subscribe(note, &first));
    ASSERT_TRUE(device_subscribe(note, &second));
    ASSERT_TRUE(device_subscribe(note, &first));  // once is enough
    channel_set(Channel::MagY, 0);    // unchanged
    channel_set(Channel::MagY, 30);   // changed
    channel_set(Channel::MagY, 30);   // unchanged
    channel_set(Channel::Tem, 1000);  // clamped to 80: changed
    channel_set(Channel::Tem, 90);    // clamped to 80 again: unchanged
    m.run("COIL 0.5,0,0\nCOIL 0.5,0,0");
    const std::vector<Channel> heard{Channel::MagY, Channel::Tem, Channel::CoiX};
    EXPECT_EQ(first, heard);
    EXPECT_EQ(second, heard);
    device_unsubscribe(note, &first);
    channel_set(Channel::Rx, 9);
    EXPECT_EQ(first, heard);
    EXPECT_EQ(second.back(), Channel::Rx);
    device_unsubscribe(note, &second);
    EXPECT_EQ(device.subscriber_count, 0);
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
