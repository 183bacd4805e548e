// Text from a file or a program, made safe to show on a terminal or in a report.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Printable ASCII as itself, every other byte as \xNN, cut after `max_chars` characters of the
// text with "..." after them.
std::string printable_ascii(std::string_view text, size_t max_chars);
