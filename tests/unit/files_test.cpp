#include <gtest/gtest.h>

#include <string>

#include "mission.h"
#include "recovery.h"
#include "scenario.h"
#include "settings.h"
#include "sim_preset.h"
#include "test_support.h"

namespace {

TEST(ProgramFile, LineBreaksBecomeOneKindInTheEditor) {
    EXPECT_EQ(file_bytes_to_text("A\r\nB\rC\nD"), "A\nB\nC\nD");
    EXPECT_EQ(file_bytes_to_text("\r\r\n\n"), "\n\n\n");
    EXPECT_EQ(file_bytes_to_text(""), "");
    EXPECT_EQ(file_bytes_to_text("print a"), "print a");
}

TEST(ProgramFile, WritingPutsCrLfBetweenLines) {
    EXPECT_EQ(text_to_file_bytes("A\nB"), "A\r\nB");
    EXPECT_EQ(text_to_file_bytes("A\nB\n"), "A\r\nB\r\n");
    EXPECT_EQ(text_to_file_bytes(""), "");
}

TEST(ProgramFile, EveryByteSurvivesTheRoundTrip) {
    std::string bytes;
    for (int c = 0; c < 256; ++c) {
        if (c != '\r' && c != '\n') bytes += static_cast<char>(c);
    }
    bytes += "\r\nlast\r\n";
    EXPECT_EQ(text_to_file_bytes(file_bytes_to_text(bytes)), bytes);
}

// Some editors start a UTF-8 file with a byte-order mark: each kind of file reads as it would
// without it, and only a mark at the very start goes.
TEST(FileText, AByteOrderMarkAtTheStartIsDropped) {
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(file_bytes_to_text(mark + "PRINT 1\r\nEND"), "PRINT 1\nEND");
    EXPECT_EQ(file_bytes_to_text(mark + mark), "");
    EXPECT_EQ(file_bytes_to_text("A" + mark), "A" + mark);
    EXPECT_EQ(split_lines(mark + "A\r\nB"), (std::vector<std::string>{"A", "B"}));
    const LineList list = split_line_list(mark + "A\r\n\r\nB\n");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], "A");
    EXPECT_EQ(list[2], "B");

    const SimPresetRead preset = sim_preset_parse(mark + "temp_start_c = 31\n");
    EXPECT_EQ(preset.error_line, 0) << preset.error;
    EXPECT_EQ(preset.preset.temp_start_c, 31);
    const MissionRead mission = mission_parse(mark + "title = T\ngoal = A > 1\n");
    EXPECT_EQ(mission.error_line, 0) << mission.error;
    EXPECT_EQ(mission.mission.title, "T");
    const ScenarioRead scenario = scenario_parse(mark + "300 tem=40\n");
    EXPECT_EQ(scenario.error_line, 0) << scenario.error;
    EXPECT_EQ(scenario.events, (std::vector<ScenarioEvent>{{300, Channel::Tem, 40}}));
}

TEST(SettingsFile, IntegersAsTheFileTakesThem) {
    int v = 0;
    EXPECT_TRUE(settings_parse_integer("7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(settings_parse_integer(" 7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(settings_parse_integer("-40", v));
    EXPECT_EQ(v, -40);
    EXPECT_TRUE(settings_parse_integer("+3", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(settings_parse_integer("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_TRUE(settings_parse_integer("2147483647", v));
    for (const char* bad : {"7 ", "", " ", "-", "2147483648", "-2147483649", "$10", "0x10", "1.5",
                            "\t7", "99999999999999999999"}) {
        EXPECT_FALSE(settings_parse_integer(bad, v)) << bad;
    }
}

TEST(SettingsFile, ReadsNineLinesAndStopsAtTheFirstBadOne) {
    SettingsRead r = settings_parse("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.values, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    r = settings_parse("250\r\n-3\r\nx\r\n4\r\n");
    EXPECT_EQ(r.values, (std::vector<int>{250, -3}));
    EXPECT_EQ(r.error, "'x' is not a valid integer value");
    r = settings_parse("1\n2\n");
    EXPECT_EQ(r.values, (std::vector<int>{1, 2}));
    EXPECT_EQ(r.error, "'' is not a valid integer value");
}

TEST(SettingsFile, ABadLineIsQuotedShortAndVisibly) {
    // A line of ten million characters once froze start-up in the message box.
    const std::string long_line = std::string(45, '7') + "x" + std::string(10000000, '8');
    EXPECT_EQ(settings_parse(long_line).error,
              "'" + std::string(40, '7') + "...' is not a valid integer value");
    EXPECT_EQ(settings_parse(std::string("1\0002\x1b\x7f", 5)).error,
              "'1^@2^[^?' is not a valid integer value");
    EXPECT_EQ(quote_line(std::string(40, '1')), std::string(40, '1'));
}

TEST(SettingsFile, WritesNineDecimalLines) {
    TestMachine m;
    EXPECT_EQ(settings_format(), "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n5\r\n");
    channel_set(Channel::MagX, 250);
    channel_set(Channel::Tem, -40);
    channel_set(Channel::CoiX, 50);  // not saved
    EXPECT_EQ(settings_format(), "100\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-40\r\n0\r\n5\r\n");
}

TEST(RecoveryFile, KeepsTheTextAndWhereItCameFrom) {
    const RecoveryRecord record{"/home/ann/orbit.bas", "PRINT 1\n\xE2\x82\xAC\n\nDATA\n"};
    RecoveryRecord back;
    ASSERT_TRUE(recovery_parse(recovery_format(record), back));
    EXPECT_EQ(back.source_path, record.source_path);
    EXPECT_EQ(back.text, record.text);
    // A path that cannot stand on its line is dropped; the text is what counts.
    ASSERT_TRUE(recovery_parse(recovery_format({"a\nb.bas", "X"}), back));
    EXPECT_EQ(back.source_path, "");
    EXPECT_EQ(back.text, "X");
    EXPECT_FALSE(recovery_parse("PRINT 1\n", back));
    EXPECT_FALSE(recovery_parse("ZORVANT-UNSAVED 1\nno end of the path line", back));
    // Binary garbage behind a good header is no text the editor wrote.
    for (const char* text : {"\xFF\xFE", "A\xC3", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(recovery_parse(std::string("ZORVANT-UNSAVED 1\n\n") + text, back)) << text;
    }
    EXPECT_TRUE(recovery_parse("ZORVANT-UNSAVED 1\n/x\xFF.bas\n\xF0\x9F\x9B\xB0", back));
}

TEST(RecoveryFile, OneNamePerProcess) {
    long pid = 0;
    EXPECT_EQ(recovery_file_name(4711), "unsaved-4711.txt");
    EXPECT_TRUE(recovery_file_pid("unsaved-4711.txt", pid));
    EXPECT_EQ(pid, 4711);
    // The spare names of a process whose first name is taken.
    EXPECT_EQ(recovery_file_name(4711, 2), "unsaved-4711-2.txt");
    EXPECT_TRUE(recovery_file_pid("unsaved-4711-2.txt", pid));
    EXPECT_EQ(pid, 4711);
    for (const char* other : {"unsaved-.txt", "unsaved-12a.txt", "unsaved-12.bas", "saved-1.txt",
                              "unsaved-99999999999999999999.txt", "unsaved-12-.txt",
                              "unsaved--3.txt", "unsaved-12-x.txt", "unsaved-12.txt.bad"}) {
        EXPECT_FALSE(recovery_file_pid(other, pid)) << other;
    }
}

}  // namespace
