#include "lesson.h"

#include <algorithm>
#include <cctype>

#include "key_value.h"
#include "sim_preset.h"

namespace {

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool is_letter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

LessonRead lesson_parse(std::string_view text) {
    static const std::vector<KeyValueKey> keys = {
        {"sim"}, {"mission"}, {"time_factor"}, {"task", true}, {"expect", true}};
    LessonRead read;
    Lesson& lesson = read.lesson;
    KeyValueReader reader(text, keys);
    KeyValueLine line;
    while (true) {
        const bool more = reader.next(line);
        const auto fail = [&](const std::string& why) {
            read.error_line = line.number;
            read.error = why;
            return read;
        };
        const std::string key(line.key);
        if (line.fault != KeyValueFault::None) return fail(key_value_fault_reason(line));
        if (!more) break;
        const std::string_view value = unquoted(line.value);
        if (value.empty()) return fail(key + " needs a value");
        if (key == "sim") {
            if (value != "off" && sim_find_shipped(value) == nullptr) {
                return fail("sim is off or a shipped preset, not " + key_value_shown(value));
            }
            lesson.sim = std::string(value);
        } else if (key == "mission") {
            if (!key_value_path_inside(value)) {
                return fail("mission is a file beside the lesson or below it");
            }
            lesson.mission = std::string(value);
        } else if (key == "time_factor") {
            if (value != "0" && value != "10" && value != "60") {
                return fail("time_factor is 10 or 60 (times real time) or 0 (no waits), not " +
                            key_value_shown(value));
            }
            lesson.time_factor = value == "0" ? 0 : value == "10" ? 10 : 60;
        } else if (key == "task") {
            lesson.tasks.push_back({std::string(value), {}});
        } else if (key == "expect") {
            if (lesson.tasks.empty()) return fail("expect belongs to a task: give the task first");
            lesson.tasks.back().expect.emplace_back(value);
        }
    }
    return read;
}

size_t lesson_label_length(std::string_view paragraph) {
    const size_t colon = paragraph.find(':');
    if (colon == std::string_view::npos || colon == 0) return 0;
    if (colon + 1 < paragraph.size() && paragraph[colon + 1] != ' ') return 0;
    if (std::isupper(static_cast<unsigned char>(paragraph.front())) == 0) return 0;
    int words = 1;
    for (size_t i = 0; i < colon; ++i) {
        const char c = paragraph[i];
        if (c == ' ') {
            if (i == 0 || paragraph[i - 1] == ' ') return 0;
            ++words;
        } else if (!is_letter(c)) {
            return 0;
        }
    }
    return words <= 3 ? colon + 1 : 0;
}

LessonText lesson_text(std::string_view program) {
    LessonText text;
    bool open = false;  // a paragraph takes the next line
    bool first = true;
    for (size_t start = 0; start < program.size();) {
        size_t end = program.find('\n', start);
        if (end == std::string_view::npos) end = program.size();
        std::string_view line = program.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = key_value_trim(line);
        if (!line.starts_with("//")) break;
        line = key_value_trim(line.substr(2));
        if (first) {
            first = false;
            text.title = std::string(line);
            continue;
        }
        if (line.empty()) {
            open = false;
        } else if (open && lesson_label_length(line) == 0) {
            text.paragraphs.back() += ' ';
            text.paragraphs.back() += line;
        } else {
            text.paragraphs.emplace_back(line);
            open = true;
        }
    }
    return text;
}
