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

std::string quote_line(std::string_view line) {
    // Two characters for each one shown, and the three dots.
    char quoted[2 * MAX_QUOTED_CHARS + 3];
    size_t n = 0;
    const size_t shown = line.size() < MAX_QUOTED_CHARS ? line.size() : MAX_QUOTED_CHARS;
    for (size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 32 || c == 127) {
            quoted[n++] = '^';
            quoted[n++] = static_cast<char>(c ^ 0x40);
        } else {
            quoted[n++] = static_cast<char>(c);
        }
    }
    if (shown < line.size()) {
        for (int k = 0; k < 3; ++k) quoted[n++] = '.';
    }
    return std::string(quoted, n);
}

SettingsRead settings_parse(std::string_view bytes) {
    SettingsRead result;
    const std::vector<std::string> lines = split_lines(bytes);
    for (int i = 0; i < SETTINGS_LINES; ++i) {
        // A missing line reads as an empty one.
        const std::string line = i < static_cast<int>(lines.size()) ? lines[i] : std::string();
        int value = 0;
        if (!settings_parse_integer(line, value)) {
            result.error =
                std::string("'").append(quote_line(line)).append("' is not a valid integer value");
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
