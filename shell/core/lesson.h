// A lesson: a program of samples/ with a set-up file of the same name beside it
// (09_detumbling_in_orbit.bas and 09_detumbling_in_orbit.lesson). The program stays a program
// any runner can run; the set-up file says what the window puts in place when the lesson is
// opened from File > Examples, and what the student is asked to do. It is text, "key = value"
// a line, read as key_value.h says (comments, quotes, keys given once):
//
//   sim = tumbling_1u                      # a shipped preset, or off (the default): sliders
//   mission = missions/detumble.mission    # a mission file beside the lesson or below it
//   time_factor = 60                       # its runs at 60 (or 10) times real time; 0: no
//                                          # waits; left out: real time
//   task = Bring the turning below 1 degree a second.
//   expect = DETUMBLING DONE               # a line the output shows once the task above is done
//
// A mission brings its own simulation, which is then the lesson's. Tasks are shown in the order
// written; each `expect` belongs to the task above it and is met by a run whose output holds a
// line containing its text. A value in double quotes is taken without them.
//
// The lesson's instructions are the program's leading comment block, so that they are written
// once: its first line is the title, the rest is read as paragraphs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A lesson's runs at real time, DELAYs waited out as written.
inline constexpr int LESSON_REAL_TIME = -1;

struct LessonTask {
    std::string text;
    std::vector<std::string> expect;
};

struct Lesson {
    std::string sim = "off";  // "off" or a shipped preset's name
    std::string mission;      // as written, relative to the lesson's folder; empty: none
    int time_factor = LESSON_REAL_TIME;  // how many times real time its runs go; 0: no waits
    std::vector<LessonTask> tasks;
};

struct LessonRead {
    Lesson lesson;
    int error_line = 0;  // the first bad line, counted from 1; 0 when all are good
    std::string error;
};

LessonRead lesson_parse(std::string_view text);

inline constexpr size_t MAX_LESSON_FILE_BYTES = 64 * 1024;

// The leading "//" lines of a program, as a lesson reads them. A paragraph starts after a line
// of nothing but "//" and at a line that opens with a short label and a colon ("Try:",
// "Teaches:", "A good gain:"); the other lines continue the paragraph before them.
struct LessonText {
    std::string title;  // the first comment line; empty when the program opens with none
    std::vector<std::string> paragraphs;
};

LessonText lesson_text(std::string_view program);

// The length of the label a paragraph opens with, its colon included ("Try:" gives 4); 0 for
// none.
size_t lesson_label_length(std::string_view paragraph);
