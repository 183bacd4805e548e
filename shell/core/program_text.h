// Program files as text: 8-bit, every byte one character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits file bytes into editor lines. CR LF, a lone CR and a lone LF each end a line; a break
// at the very end starts no further line.
std::vector<std::string> split_lines(std::string_view bytes);

// The editor's text of a file: every line break, in any of its forms, becomes '\n'; no other
// byte changes.
std::string file_bytes_to_text(std::string_view bytes);
// The file bytes of an editor text: '\n' becomes CR LF; a line break after the last line only
// when the text ends with one.
std::string text_to_file_bytes(std::string_view text);

// The largest program file the editor takes: far beyond any program that fits the store, small
// enough to read at once.
inline constexpr size_t MAX_PROGRAM_FILE_BYTES = 16u * 1024 * 1024;
inline constexpr const char* REASON_PROGRAM_FILE_TOO_LARGE = "It is larger than 16 MiB";
