// Lesson set-up files and the instructions read from a lesson program's leading comments; the
// shipped lessons agree with their missions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "lesson.h"
#include "mission.h"

namespace fs = std::filesystem;

namespace {

struct ParseCase {
    const char* text;
    int error_line;
    const char* error;  // when error_line != 0
    const char* sim;
    const char* mission;
    std::vector<std::vector<std::string>> tasks;  // each: the text, then its expected lines
};

TEST(Lesson, TimeFactorIsOneOfTheRunSpeeds) {
    const std::pair<const char*, int> good[] = {
        {"", LESSON_REAL_TIME}, {"time_factor = 60", 60}, {"time_factor = 10", 10},
        {"time_factor = 0", 0}};
    for (const auto& [text, factor] : good) EXPECT_EQ(lesson_parse(text).lesson.time_factor, factor);
    const LessonRead bad = lesson_parse("sim = off\ntime_factor = 30");
    EXPECT_EQ(bad.error_line, 2);
    EXPECT_EQ(bad.error, "time_factor is 10 or 60 (times real time) or 0 (no waits), not '30'");
}

TEST(Lesson, ParsesSetUpAndTasks) {
    const ParseCase cases[] = {
        {"", 0, "", "off", "", {}},
        {"sim = tumbling_1u\nmission = missions/detumble.mission\n", 0, "", "tumbling_1u",
         "missions/detumble.mission", {}},
        {"task = Run it.\nexpect = DONE\nexpect = \"# NOT A COMMENT \"\ntask = Change K.\n", 0,
         "", "off", "", {{"Run it.", "DONE", "# NOT A COMMENT "}, {"Change K."}}},
        {"sim = off # sliders\ntask = Move \"X\" and \"Y\".", 0, "", "off", "",
         {{"Move \"X\" and \"Y\"."}}},
        {"sim = jupiter", 1, "sim is off or a shipped preset, not 'jupiter'", "", "", {}},
        {"mission = ../x.mission", 1, "mission is a file beside the lesson or below it", "", "",
         {}},
        {"\nmission = /etc/x.mission", 2, "mission is a file beside the lesson or below it", "",
         "", {}},
        {"expect = DONE", 1, "expect belongs to a task: give the task first", "", "", {}},
        {"sim = off\nsim = off", 2, "sim is given twice", "", "", {}},
        {"task = \"\"", 1, "task needs a value", "", "", {}},
        {"title = x", 1, "unknown key 'title'", "", "", {}},
        {"task = \"open", 1, "a quote is left open", "", "", {}},
        {"just words", 1, "not a line \"key = value\"", "", "", {}},
    };
    for (const ParseCase& c : cases) {
        const LessonRead read = lesson_parse(c.text);
        ASSERT_EQ(read.error_line, c.error_line) << c.text << ": " << read.error;
        if (c.error_line != 0) {
            EXPECT_EQ(read.error, c.error) << c.text;
            continue;
        }
        EXPECT_EQ(read.lesson.sim, c.sim) << c.text;
        EXPECT_EQ(read.lesson.mission, c.mission) << c.text;
        std::vector<std::vector<std::string>> tasks;
        for (const LessonTask& t : read.lesson.tasks) {
            tasks.push_back({t.text});
            tasks.back().insert(tasks.back().end(), t.expect.begin(), t.expect.end());
        }
        EXPECT_EQ(tasks, c.tasks) << c.text;
    }
}

TEST(Lesson, ReadsInstructionsFromTheLeadingComments) {
    struct Case {
        const char* program;
        const char* title;
        std::vector<std::string> paragraphs;
    };
    const Case cases[] = {
        {"PRINT 1\n// LATE", "", {}},
        {"// LESSON 1: FIRST\r\n// Teaches: PRINT and\r\n//   the variables.\r\nPRINT 1",
         "LESSON 1: FIRST",
         {"Teaches: PRINT and the variables."}},
        // A label opens a paragraph, as does an empty comment line; other lines continue.
        {"// T\n// Teaches: a loop. The\n// magnetometer: read (\"B-dot\"): on.\n"
         "// A good gain: K=5.\n// Try: K=500\n//\n// Tumbling 1U; with the runner: x\n"
         "// Note: DATA last.\n// 3 D: no\nK=5",
         "T",
         {"Teaches: a loop. The magnetometer: read (\"B-dot\"): on.", "A good gain: K=5.",
          "Try: K=500", "Tumbling 1U; with the runner: x", "Note: DATA last. 3 D: no"}},
    };
    for (const Case& c : cases) {
        const LessonText text = lesson_text(c.program);
        EXPECT_EQ(text.title, c.title) << c.program;
        EXPECT_EQ(text.paragraphs, c.paragraphs) << c.program;
    }
    EXPECT_EQ(lesson_label_length("Try: it"), 4u);
    EXPECT_EQ(lesson_label_length("A good gain: K"), 12u);
    EXPECT_EQ(lesson_label_length("One two three four: x"), 0u);
    EXPECT_EQ(lesson_label_length("time:x"), 0u);
}

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every set-up file belongs to a lesson program, its mission exists and flies the lesson's
// simulation, and what it expects is something the program prints or a task asks it to print.
TEST(Lesson, ShippedLessonsAgreeWithTheirMissions) {
    const fs::path samples = fs::path(ZORVANT_SOURCE_DIR) / "samples";
    int lessons = 0;
    for (const auto& entry : fs::directory_iterator(samples)) {
        if (entry.path().extension() != ".lesson") continue;
        ++lessons;
        const std::string name = entry.path().filename().string();
        const LessonRead read = lesson_parse(file_text(entry.path()));
        ASSERT_EQ(read.error_line, 0) << name << ": " << read.error;
        const fs::path program = fs::path(entry.path()).replace_extension(".bas");
        ASSERT_TRUE(fs::exists(program)) << name;
        const std::string code = file_text(program);
        EXPECT_FALSE(read.lesson.tasks.empty()) << name;
        for (const LessonTask& t : read.lesson.tasks) {
            for (const std::string& e : t.expect) {
                EXPECT_TRUE(code.find("PRINT \"" + e) != std::string::npos ||
                            t.text.find(e) != std::string::npos)
                    << name << ": " << e;
            }
        }
        // Lessons 1 to 8 are the sliders'; the later ones fly a mission.
        EXPECT_EQ(read.lesson.sim == "off", name < "09") << name;
        EXPECT_EQ(read.lesson.mission.empty(), name < "09") << name;
        if (read.lesson.mission.empty()) continue;
        const MissionRead mission = mission_parse(file_text(samples / read.lesson.mission));
        ASSERT_EQ(mission.error_line, 0) << name << ": " << mission.error;
        EXPECT_EQ(mission.mission.sim, read.lesson.sim) << name;
    }
    EXPECT_EQ(lessons, 11);
}

}  // namespace
