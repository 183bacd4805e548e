#include "highlight.h"

#include <algorithm>

#include "prepare.h"
#include "tokenizer.h"

namespace {

// Takes the place of a NUL in the scanned copy, which the scanner would read as the end.
constexpr char NUL_STAND_IN = '\x7f';

bool is_number_char(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

Highlight kind_of(TokenKind t) {
    switch (t) {
        case TK_NUMBER:
            return Highlight::Number;
        case TK_STRING:
            return Highlight::String;
        case TK_VARIABLE:
            return Highlight::Variable;
        default:
            break;
    }
    if (t >= TK_COMMA && t <= TK_CR) return Highlight::Operator;
    return Highlight::Keyword;
}

std::string consequence(bool statement_start) {
    return statement_start ? " A run stops here with \"Unknown command\"."
                           : " A run stops here with an error.";
}

// Why the scanner takes no token at `p`.
std::string reason_for(const char* p, bool statement_start) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (is_number_char(*p) || c == '-') {
        return "A number has at most 15 characters, its minus sign included." + consequence(false);
    }
    if (c == '"') {
        return "This string is not closed on its line: end it with a \" before the end of the "
               "line. A run stops here with an error.";
    }
    if (c >= 'a' && c <= 'z') {
        return "Lower-case letters are not part of the language: type it in upper case." +
               consequence(statement_start);
    }
    if (c == '\t') {
        return "A tab is not a space in this language: indent with spaces." +
               consequence(statement_start);
    }
    if (c > 32 && c < 127) {
        return std::string("\"") + static_cast<char>(c) + "\" is not part of the language." +
               consequence(statement_start);
    }
    return "This character is not part of the language." + consequence(statement_start);
}

void add_span(std::vector<HighlightSpan>& spans, int start, int length, Highlight kind,
              std::string problem = {}) {
    if (length <= 0) return;
    if (problem.empty() && !spans.empty()) {
        HighlightSpan& last = spans.back();
        if (last.kind == kind && last.problem.empty() && last.start + last.length == start) {
            last.length += length;
            return;
        }
    }
    spans.push_back({start, length, kind, std::move(problem)});
}

// A NUL or a character without an 8-bit form anywhere in a program line keeps the whole
// program from starting, even inside a string: each such column becomes a problem of its own.
struct ColumnMark {
    int column;
    const std::string* problem;
};

// Cuts the marked columns (rising, apart) out of the spans in one pass: a pasted line may hold
// a hundred thousand of them.
void mark_columns(std::vector<HighlightSpan>& spans, const std::vector<ColumnMark>& marks) {
    if (marks.empty()) return;
    std::vector<HighlightSpan> out;
    out.reserve(spans.size() + 2 * marks.size());
    size_t m = 0;
    const auto put_mark = [&] {
        out.push_back({marks[m].column, 1, Highlight::Problem, *marks[m].problem});
        ++m;
    };
    for (HighlightSpan& s : spans) {
        while (m < marks.size() && marks[m].column < s.start) put_mark();
        const int end = s.start + s.length;
        int from = s.start;
        while (m < marks.size() && marks[m].column < end) {
            if (marks[m].column > from) {
                out.push_back({from, marks[m].column - from, s.kind, s.problem});
            }
            from = marks[m].column + 1;
            put_mark();
        }
        if (from < end) {
            s.length = end - from;
            s.start = from;
            out.push_back(std::move(s));
        }
    }
    while (m < marks.size()) put_mark();
    spans = std::move(out);
}

// The tokens of one program line, as a run meets them: spaces are skipped before every
// token (a line's first token included), and nothing else is. A run stops at the first
// character the scanner cannot take; the scan here steps over it and goes on, so every
// such character on the line is shown.
void scan_program_line(const std::string& text, std::vector<HighlightSpan>& spans) {
    const char* const begin = text.c_str();
    const int n = static_cast<int>(text.size());
    int p = 0;
    bool statement_start = true;
    bool label_next = false;
    while (true) {
        while (p < n && begin[p] == ' ') ++p;
        if (p >= n) return;
        const char* end = begin + p;
        const TokenKind t = scan_token(begin + p, &end);
        if (t == TK_ERROR) {
            // An open string runs to the end of its line, an over-long number over all its
            // number characters; anything else is one character.
            int length = 1;
            Highlight kind = Highlight::Problem;
            if (begin[p] == '"') {
                length = n - p;
                kind = Highlight::String;
            } else if (is_number_char(begin[p]) || begin[p] == '-') {
                while (p + length < n && is_number_char(begin[p + length])) ++length;
                kind = Highlight::Number;
            }
            add_span(spans, p, length, kind, reason_for(begin + p, statement_start));
            p += length;
            statement_start = false;
            label_next = false;
            continue;
        }
        const int length = static_cast<int>(end - (begin + p));
        if (t == TK_SLASH && begin[p + 1] == '/') {
            add_span(spans, p, 2, Highlight::Operator,
                     "\"//\" starts a comment only at the start of a line. After code it is "
                     "division, and a run stops here with an error: put the comment on a line "
                     "of its own.");
            add_span(spans, p + 2, n - p - 2, Highlight::Comment);
            return;
        }
        const Highlight kind = (label_next && t == TK_NUMBER) ? Highlight::Label : kind_of(t);
        add_span(spans, p, length, kind);
        label_next = (t == TK_LABEL || t == TK_GOTO || t == TK_GOSUB);
        statement_start = (t == TK_CR || t == TK_THEN || t == TK_ELSE);
        p += length;
    }
}

}  // namespace

LineHighlight highlight_line(std::string_view line, bool in_data,
                             std::span<const int> foreign_columns) {
    LineHighlight result;
    const int n = static_cast<int>(line.size());
    if (in_data) {
        add_span(result.spans, 0, n, Highlight::Data);
        result.data_follows = true;
        return result;
    }
    switch (classify_line(line)) {
        case LineKind::DataMarker:
            add_span(result.spans, 0, n, Highlight::Data);
            result.data_follows = true;
            return result;
        case LineKind::Dropped:
            add_span(result.spans, 0, n, Highlight::Comment);
            return result;
        case LineKind::Program:
            break;
    }
    std::string text(line);
    std::vector<int> nul_columns;
    for (int i = 0; i < n; ++i) {
        if (text[static_cast<size_t>(i)] == '\0') {
            text[static_cast<size_t>(i)] = NUL_STAND_IN;
            nul_columns.push_back(i);
        }
    }
    scan_program_line(text, result.spans);
    static const std::string nul =
        "A NUL character: the program cannot start while a line holds one.";
    static const std::string foreign =
        "This character has no 8-bit form: the program cannot start while a line holds one.";
    std::vector<ColumnMark> marks;
    auto f = foreign_columns.begin();
    for (int column : nul_columns) {
        for (; f != foreign_columns.end() && *f < column; ++f) {
            if (*f >= 0) marks.push_back({*f, &foreign});
        }
        if (f != foreign_columns.end() && *f == column) ++f;
        marks.push_back({column, &nul});
    }
    for (; f != foreign_columns.end() && *f < n; ++f) {
        if (*f >= 0) marks.push_back({*f, &foreign});
    }
    mark_columns(result.spans, marks);
    return result;
}

Rgb highlight_colour(Highlight kind) {
    switch (kind) {
        case Highlight::Plain:
            return {0, 255, 0};
        case Highlight::Keyword:
            return {90, 180, 255};
        case Highlight::Variable:
            return {255, 230, 90};
        case Highlight::Number:
            return {190, 160, 255};
        case Highlight::String:
            return {255, 170, 80};
        case Highlight::Operator:
            return {200, 200, 200};
        case Highlight::Label:
            return {255, 120, 190};
        case Highlight::Comment:
            return {128, 128, 128};
        case Highlight::Data:
            return {0, 200, 200};
        case Highlight::Problem:
            return {255, 80, 80};
    }
    return {0, 255, 0};
}

Rgb problem_underline_colour() {
    return {255, 40, 40};
}

std::string upper_case_outside_strings(std::string text) {
    size_t k = 0;
    while (k < text.size()) {
        const char c = text[k];
        if (c == '"') {
            const size_t line_end = text.find('\n', k);
            const size_t close = text.find('"', k + 1);
            if (close == std::string::npos || close > line_end) {
                // Not closed on its line: the rest of the line stays as it is.
                k = line_end == std::string::npos ? text.size() : line_end + 1;
            } else {
                k = close + 1;
            }
            continue;
        }
        if (c >= 'a' && c <= 'z') text[k] = static_cast<char>(c - 'a' + 'A');
        ++k;
    }
    return text;
}
