#include "program_text.h"

#include <cstring>
#include <stdexcept>

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

}  // namespace

std::string_view without_byte_order_mark(std::string_view bytes) {
    // Repeated marks go too: a text once read never starts with one.
    while (bytes.starts_with(BYTE_ORDER_MARK)) bytes.remove_prefix(BYTE_ORDER_MARK.size());
    return bytes;
}

bool next_line(std::string_view bytes, size_t& pos, std::string_view& line) {
    if (pos >= bytes.size()) return false;
    const size_t start = pos;
    size_t i = start;
    while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') ++i;
    line = bytes.substr(start, i - start);
    if (i < bytes.size())
        i += (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    pos = i;
    return true;
}

std::vector<std::string> split_lines(std::string_view bytes) {
    bytes = without_byte_order_mark(bytes);
    std::vector<std::string> lines;
    size_t pos = 0;
    for (std::string_view line; next_line(bytes, pos, line);) lines.emplace_back(line);
    return lines;
}

namespace {

// Offsets are 32 bits wide.
constexpr size_t MAX_LINE_LIST_BYTES = UINT32_MAX;

}  // namespace

LineList::LineList(std::initializer_list<std::string_view> lines) {
    ends_.reserve(lines.size());
    for (const std::string_view line : lines) push_back(line);
}

LineList::LineList(const std::vector<std::string>& lines) {
    size_t total = 0;
    for (const std::string& line : lines) total += line.size();
    if (total <= MAX_LINE_LIST_BYTES) bytes_.reserve(total);
    ends_.reserve(lines.size());
    for (const std::string& line : lines) push_back(line);
}

void LineList::push_back(std::string_view line) {
    if (line.size() > MAX_LINE_LIST_BYTES - bytes_.size()) {
        throw std::length_error("lines of 4 GiB and more");
    }
    bytes_.append(line);
    ends_.push_back(static_cast<uint32_t>(bytes_.size()));
}

LineList split_line_list(std::string bytes) {
    if (bytes.size() > MAX_LINE_LIST_BYTES) throw std::length_error("lines of 4 GiB and more");
    const size_t n = bytes.size();
    const size_t first = n - without_byte_order_mark(bytes).size();
    char* const data = bytes.data();
    const auto is_break = [](char c) { return c == '\r' || c == '\n'; };
    const bool open_end = n > first && !is_break(data[n - 1]);  // the last line has no break
    size_t count = open_end ? 1 : 0;
    for (size_t i = first; i < n; ++i) {
        count += data[i] == '\n' || (data[i] == '\r' && (i + 1 == n || data[i + 1] != '\n'));
    }

    LineList list;
    list.ends_.reserve(count);
    // The bytes of each line move towards the front, over the breaks before them: never past
    // where the reading has got to.
    size_t end = 0;
    for (size_t i = first; i < n; ++i) {
        const char c = data[i];
        if (!is_break(c)) {
            data[end++] = c;
            continue;
        }
        list.ends_.push_back(static_cast<uint32_t>(end));
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
    }
    if (open_end) list.ends_.push_back(static_cast<uint32_t>(end));
    bytes.resize(end);
    // Mostly line breaks: the buffer is given back rather than kept at the file's size.
    if (end < bytes.capacity() / 2) bytes.shrink_to_fit();
    list.bytes_ = std::move(bytes);
    return list;
}

std::string file_bytes_to_text(std::string_view bytes) {
    bytes = without_byte_order_mark(bytes);
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            text += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            text += c;
        }
    }
    return text;
}

std::string text_to_file_bytes(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            bytes += "\r\n";
        } else {
            bytes += c;
        }
    }
    return bytes;
}
