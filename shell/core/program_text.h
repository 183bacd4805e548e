// Program files as text: 8-bit, every byte one character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits file bytes into editor lines. CR LF, a lone CR and a lone LF each end a line; a break
// at the very end starts no further line.
std::vector<std::string> split_lines(std::string_view bytes);
