// Fuzz target: arbitrary bytes as a settings file. The window reads this file at start-up
// before anything else, so a file damaged on disk must give either nine values or one short,
// printable message, and whatever it gives must survive being written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "channels.h"
#include "program_text.h"
#include "settings.h"

namespace {

constexpr std::string_view MESSAGE_TAIL = "' is not a valid integer value";

void check(bool condition) {
    if (!condition) __builtin_trap();
}

bool is_control(unsigned char c) {
    return c < 32 || c == 127;
}

// Walks the quoted text against the line itself rather than decoding it: a line may hold '^'
// or "..." of its own, which makes the quoted form ambiguous to read back on its own.
void check_quoted(std::string_view quoted, std::string_view line) {
    const size_t shown = line.size() < MAX_QUOTED_CHARS ? line.size() : MAX_QUOTED_CHARS;
    size_t q = 0;
    for (size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (is_control(c)) {
            check(q + 2 <= quoted.size() && quoted[q] == '^' &&
                  static_cast<unsigned char>(quoted[q + 1]) == (c ^ 0x40));
            q += 2;
        } else {
            check(q < quoted.size() && quoted[q] == line[i]);
            ++q;
        }
    }
    const std::string_view rest = quoted.substr(q);
    check(rest == (shown < line.size() ? "..." : ""));
    for (char c : quoted) check(!is_control(static_cast<unsigned char>(c)));
}

// An accepted line is spaces, an optional sign and decimal digits, and its value is what the
// digits say. Checked by comparing digit strings, so no conversion routine is trusted twice.
void check_accepted(std::string_view line, int value) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    std::string_view digits = line.substr(i);
    check(!digits.empty());
    for (char c : digits) check(c >= '0' && c <= '9');
    while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
    const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    check(digits == std::to_string(magnitude));
    check(value == 0 || negative == (value < 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // quote_line on its own takes any bytes, line breaks included.
    const std::string quoted_input = quote_line(bytes);
    check(quoted_input.size() <= 2 * MAX_QUOTED_CHARS + 3);
    check_quoted(quoted_input, bytes);

    const SettingsRead read = settings_parse(bytes);
    check(read.values.size() <= static_cast<size_t>(SETTINGS_LINES));
    check(read.error.empty() == (read.values.size() == static_cast<size_t>(SETTINGS_LINES)));

    const std::vector<std::string> lines = split_lines(bytes);
    for (size_t i = 0; i < read.values.size(); ++i) {
        check(i < lines.size());
        int value = 0;
        check(settings_parse_integer(lines[i], value));
        check(value == read.values[i]);
        check_accepted(lines[i], value);
    }

    if (!read.error.empty()) {
        // The first line that did not convert; a missing line counts as an empty one.
        const size_t bad = read.values.size();
        const std::string line = bad < lines.size() ? lines[bad] : std::string();
        int value = 0;
        check(!settings_parse_integer(line, value));
        const std::string_view message = read.error;
        check(message.size() >= 1 + MESSAGE_TAIL.size() && message[0] == '\'');
        check(message.substr(message.size() - MESSAGE_TAIL.size()) == MESSAGE_TAIL);
        check_quoted(message.substr(1, message.size() - 1 - MESSAGE_TAIL.size()), line);
    }

    // The window applies the values it read and writes the positions back on exit; the file it
    // writes must read back as the positions it holds, whatever clamping did to them.
    device_reset();
    for (size_t i = 0; i < read.values.size(); ++i) {
        channel_set(settings_channels[i], read.values[i]);
    }
    const SettingsRead again = settings_parse(settings_format());
    check(again.error.empty());
    for (int i = 0; i < SETTINGS_LINES; ++i) {
        check(again.values[i] == channel_position(settings_channels[i]));
    }
    return 0;
}
