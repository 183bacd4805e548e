// The settings file: one decimal line per kept channel (the eight sensor sliders and the
// waterfall speed slider), each line ended by CR LF. A line's place is its meaning: the
// channel table gives each kept channel its line.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "channels.h"

inline constexpr const char* SETTINGS_FILE_NAME = "brevolin.ini";
inline constexpr int SETTINGS_LINES = SETTINGS_CHANNEL_COUNT;
// Nine numbers take a few dozen bytes; what lies beyond this is not read.
inline constexpr size_t MAX_SETTINGS_FILE_BYTES = 64 * 1024;
// A message quotes at most this much of a bad line.
inline constexpr size_t MAX_QUOTED_CHARS = 40;

// order: the lines of the file
inline constexpr std::array<Channel, SETTINGS_LINES> settings_channels = settings_order();

struct SettingsRead {
    // The values of the lines read before the first bad one, in file order.
    std::vector<int> values;
    // Empty when all nine lines converted; otherwise "'<line>' is not a valid integer value",
    // the line as quote_line shows it.
    std::string error;
};

// Converts one line as the settings file takes it: leading spaces, an optional sign, decimal
// digits and nothing after them, within 32 bits.
bool settings_parse_integer(std::string_view line, int& value);

// A line as a message shows it: control characters in caret form ("^@" for NUL), and no more
// than MAX_QUOTED_CHARS characters of it, with "..." when there is more.
std::string quote_line(std::string_view line);

SettingsRead settings_parse(std::string_view bytes);
// The bytes of a settings file holding the channels' current positions.
std::string settings_format();
