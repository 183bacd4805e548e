// Program files as text: 8-bit, every byte one character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The bytes without the UTF-8 byte-order mark some editors put at the start of a file: it is
// no character of the text. Every reading of file bytes below drops it.
std::string_view without_byte_order_mark(std::string_view bytes);

// Reads the line that starts at `pos` into `line` and moves `pos` past its break. CR LF, a lone
// CR and a lone LF each end a line; a break at the very end starts no further line. False when
// no line is left.
bool next_line(std::string_view bytes, size_t& pos, std::string_view& line);

// Splits file bytes into editor lines, as next_line reads them.
std::vector<std::string> split_lines(std::string_view bytes);

// Lines held compactly: their bytes one after the other in one buffer, and where each ends. A
// line costs its bytes and four more, so a file of nothing but line breaks costs four bytes a
// line, not the size of a string each.
class LineList {
   public:
    LineList() = default;
    LineList(std::initializer_list<std::string_view> lines);
    // The window's lines, and lines a test writes out.
    LineList(const std::vector<std::string>& lines);

    size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](size_t i) const {
        const size_t start = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(start, ends_[i] - start);
    }
    // Throws std::length_error when the bytes of all lines would reach 4 GiB.
    void push_back(std::string_view line);

   private:
    friend LineList split_line_list(std::string bytes);
    std::string bytes_;
    std::vector<uint32_t> ends_;
};

// The lines of file bytes, as split_lines reads them. The bytes become the list's buffer,
// without their line breaks: nothing is copied. At most 4 GiB.
LineList split_line_list(std::string bytes);

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
