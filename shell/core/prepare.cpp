#include "prepare.h"

#include <algorithm>
#include <cstring>

#include "interp.h"
#include "labels.h"

PrepState prep;

PrepState::PrepState() {
    for (int& entry : source_line_map) entry = -1;
}

namespace {

std::string_view trim_controls(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
    return s;
}

// Items of 8 to 32 characters are bit patterns: '*' is a 1, anything else a 0, eight to a byte.
constexpr size_t MIN_PATTERN_CHARS = 8;
constexpr size_t MAX_PATTERN_CHARS = 32;
// Items of 1 to 3 characters are decimal numbers.
constexpr size_t MAX_NUMBER_ITEM_CHARS = 3;

void pack_item(std::string_view item, std::vector<unsigned char>& out) {
    const size_t n = item.size();
    if (n == 0) return;
    if (n <= MAX_NUMBER_ITEM_CHARS) {
        int value = 0;
        for (char c : item) {
            if (c < '0' || c > '9') {  // "1.5", "." and "***" are no numbers
                value = 0;
                break;
            }
            value = value * 10 + (c - '0');
        }
        out.push_back(static_cast<unsigned char>(value > 255 ? 255 : value));
    } else if (n >= MIN_PATTERN_CHARS && n <= MAX_PATTERN_CHARS) {
        unsigned acc = 0;
        for (size_t k = 0; k < n; ++k) {
            acc = (acc << 1) | (item[k] == '*' ? 1u : 0u);
            if ((k + 1) % 8 == 0) {
                out.push_back(static_cast<unsigned char>(acc & 0xFF));
                acc = 0;
            }
        }
    }
    // 4 to 7 and more than 32 characters give no byte.
}

bool is_item_char(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '*';
}

}  // namespace

LineKind classify_line(std::string_view line) {
    const std::string_view t = trim_controls(line);
    if (t == "DATA") return LineKind::DataMarker;
    if (t.empty() || t.substr(0, 2) == "//") return LineKind::Dropped;
    return LineKind::Program;
}

void pack_data_line(std::string_view line, std::vector<unsigned char>& out) {
    size_t start = 0;
    size_t length = 0;
    // The end of the line is a separator, so an item never continues on the next line.
    for (size_t pos = 0; pos <= line.size(); ++pos) {
        if (pos < line.size() && is_item_char(line[pos])) {
            if (length == 0) start = pos;
            ++length;
            continue;
        }
        pack_item(line.substr(start, length), out);
        length = 0;
    }
}

std::vector<unsigned char> pack_data_section(const LineList& editor_lines, size_t data_start) {
    std::vector<unsigned char> bytes;
    for (size_t i = data_start; i < editor_lines.size(); ++i)
        pack_data_line(editor_lines[i], bytes);
    return bytes;
}

namespace {

// A NUL would end the program text in the middle of the line.
ReportKind line_fault(std::string_view line, size_t index, const std::vector<int>& foreign) {
    if (line.find('\0') != std::string_view::npos) return ReportKind::LineHoldsNul;
    if (std::binary_search(foreign.begin(), foreign.end(), static_cast<int>(index))) {
        return ReportKind::LineHoldsForeignCharacter;
    }
    return ReportKind::None;
}

PreparedProgram refused(const RunReport& report) {
    PreparedProgram result;
    result.report = report;
    result.error = report_text(report);
    return result;
}

}  // namespace

PreparedProgram prepare_program(const LineList& editor_lines,
                                const std::vector<int>& foreign_lines) {
    PreparedProgram result;
    // The editor lines of the program lines, as far as a program may have them: more are only
    // counted, for the report.
    std::vector<int> source_lines;
    size_t program_line_count = 0;
    size_t data_start = 0;
    bool has_data = false;
    size_t text_length = 0;
    for (size_t i = 0; i < editor_lines.size(); ++i) {
        const std::string_view line = editor_lines[i];
        const LineKind kind = classify_line(line);
        if (kind == LineKind::DataMarker) {
            data_start = i + 1;
            has_data = true;
            break;
        }
        if (kind == LineKind::Program) {
            const ReportKind fault = line_fault(line, i, foreign_lines);
            if (fault != ReportKind::None) {
                return refused({.kind = fault, .line = static_cast<int>(i)});
            }
            if (++program_line_count <= static_cast<size_t>(MAX_PROGRAM_LINES)) {
                source_lines.push_back(static_cast<int>(i));
            }
            text_length += line.size() + 1;  // the line and its ':'
        }
    }
    labels_clear();

    std::vector<unsigned char> data;
    if (has_data) data = pack_data_section(editor_lines, data_start);

    const size_t needed = text_length + 1 + data.size();
    if (program_line_count > static_cast<size_t>(MAX_PROGRAM_LINES)) {
        return refused({.kind = ReportKind::TooManyLines,
                        .amount = static_cast<long long>(program_line_count),
                        .limit = MAX_PROGRAM_LINES});
    }
    if (needed > static_cast<size_t>(PROGRAM_STORE_SIZE)) {
        return refused({.kind = ReportKind::TooManyBytes,
                        .amount = static_cast<long long>(needed),
                        .limit = PROGRAM_STORE_SIZE});
    }

    int n = 0;
    for (size_t k = 0; k < source_lines.size(); ++k) {
        const int editor_line = source_lines[k];
        prep.source_line_map[k] = editor_line;
        const std::string_view line = editor_lines[static_cast<size_t>(editor_line)];
        result.program_lines.emplace_back(line);
        for (char ch : line) {
            if (ch == '\r') continue;  // never inside a line, but the join drops it all the same
            machine.line_table[n] = editor_line;
            machine.program_store[n++] = ch;
        }
        machine.line_table[n] = editor_line;
        machine.program_store[n++] = ':';
    }
    // The terminating zero maps to the last program line, so a report at the end names it.
    machine.line_table[n] = source_lines.empty() ? 0 : source_lines.back();
    machine.program_store[n] = '\0';
    if (!data.empty()) std::memcpy(machine.program_store + n + 1, data.data(), data.size());

    result.ok = true;
    result.text_length = n;
    result.data_bytes = static_cast<int>(data.size());
    return result;
}
