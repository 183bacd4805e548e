#include "settings.h"

#include <cstdint>

#include "program_text.h"

bool settings_parse_integer(std::string_view line, int& value) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    if (i == line.size()) return false;
    int64_t v = 0;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > static_cast<int64_t>(INT32_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

SettingsRead settings_parse(std::string_view bytes) {
    SettingsRead result;
    const std::vector<std::string> lines = split_lines(bytes);
    for (int i = 0; i < SETTINGS_LINES; ++i) {
        // A missing line reads as an empty one.
        const std::string line = i < static_cast<int>(lines.size()) ? lines[i] : std::string();
        int value = 0;
        if (!settings_parse_integer(line, value)) {
            result.error = "'" + line + "' is not a valid integer value";
            return result;
        }
        result.values.push_back(value);
    }
    return result;
}

std::string settings_format() {
    std::string bytes;
    for (Channel c : settings_channels) {
        bytes += std::to_string(channel_position(c));
        bytes += "\r\n";
    }
    return bytes;
}
