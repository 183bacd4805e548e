#include "quick_fix.h"

#include <algorithm>
#include <cstdlib>

#include "format.h"
#include "grammar.h"
#include "tokenizer.h"

namespace {

struct Tok {
    TokenKind kind;
    int column;
    int length;
    int end() const { return column + length; }
};

// A line as the interpreter's scanner splits it. A character the scanner cannot take is a
// token of one character.
struct Line {
    std::string text;  // NUL-terminated through std::string
    std::vector<Tok> tokens;

    explicit Line(std::string_view line) : text(line) {
        const char* const begin = text.c_str();
        const int n = static_cast<int>(text.size());
        int p = 0;
        while (true) {
            while (p < n && begin[p] == ' ') ++p;
            if (p >= n) break;
            const char* end = begin + p;
            TokenKind t = scan_token(begin + p, &end);
            int length = static_cast<int>(end - (begin + p));
            if (t == TK_ERROR || length <= 0) {
                t = TK_ERROR;
                length = 1;
            }
            length = std::min(length, n - p);
            tokens.push_back({t, p, length});
            p += length;
        }
    }

    // The token that starts at `column`, or -1.
    int token_at(int column) const {
        for (size_t k = 0; k < tokens.size(); ++k) {
            if (tokens[k].column == column) return static_cast<int>(k);
            if (tokens[k].column > column) break;
        }
        return -1;
    }
    std::string_view part(int from, int to) const {
        return std::string_view(text).substr(static_cast<size_t>(from),
                                              static_cast<size_t>(to - from));
    }
    int size() const { return static_cast<int>(tokens.size()); }
};

bool is_comparison(TokenKind t) {
    return t == TK_LT || t == TK_GT || t == TK_EQ;
}

bool ends_operand(TokenKind t) {
    return t == TK_IF || t == TK_THEN || t == TK_ELSE || t == TK_CR || t == TK_ERROR ||
           t == TK_ENDOFINPUT || is_comparison(t);
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// "-12", "7": a whole number a fix may count on, small enough to add 1 to.
bool is_whole_literal(std::string_view s) {
    const size_t from = !s.empty() && s[0] == '-' ? 1 : 0;
    return s.size() > from && s.size() <= 9 &&
           std::all_of(s.begin() + static_cast<long>(from), s.end(), is_digit);
}

// Text quoted in a title, shortened when long.
std::string shown(std::string_view text, const char* fallback) {
    constexpr size_t LONGEST = 20;
    return text.empty() || text.size() > LONGEST ? fallback : std::string(text);
}

QuickFix one_edit(std::string title, int line, int column, int length, std::string replacement) {
    return {std::move(title), {{line, column, length, std::move(replacement)}}};
}

// The "jump" a branch of an IF may be for the two forms of "not equal" to mean the same:
// GOTO to a label, RETURN or END; the index after it, or -1.
int jump_branch(const Line& l, int k) {
    if (k >= l.size()) return -1;
    const TokenKind t = l.tokens[static_cast<size_t>(k)].kind;
    if (t == TK_RETURN || t == TK_END) return k + 1;
    if (t == TK_GOTO && k + 1 < l.size() && l.tokens[static_cast<size_t>(k) + 1].kind == TK_NUMBER)
        return k + 2;
    return -1;
}

// ---- comparisons ----------------------------------------------------------------------------

std::optional<QuickFix> comparison_fix(const Line& l, int line, const Finding& f) {
    const int a = l.token_at(f.column);
    if (a < 0 || a + 1 >= l.size()) return std::nullopt;
    const Tok& first = l.tokens[static_cast<size_t>(a)];
    const Tok& second = l.tokens[static_cast<size_t>(a) + 1];
    const bool bang = first.kind == TK_ERROR && l.text[static_cast<size_t>(first.column)] == '!';
    if (!(is_comparison(first.kind) || bang) || second.kind != (bang ? TK_EQ : second.kind) ||
        !is_comparison(second.kind)) {
        return std::nullopt;
    }
    std::string op{l.text[static_cast<size_t>(first.column)],
                   l.text[static_cast<size_t>(second.column)]};
    // The operands, as far as the checker reads them.
    int left = a;
    while (left > 0 && !ends_operand(l.tokens[static_cast<size_t>(left) - 1].kind)) --left;
    int right_end = a + 2;
    while (right_end < l.size() && !ends_operand(l.tokens[static_cast<size_t>(right_end)].kind))
        ++right_end;
    if (left == a || right_end == a + 2) return std::nullopt;
    const int op_column = first.column;
    const int op_length = second.end() - first.column;
    const int right_from = l.tokens[static_cast<size_t>(a) + 2].column;
    const int right_to = l.tokens[static_cast<size_t>(right_end) - 1].end();
    const std::string lhs(l.part(l.tokens[static_cast<size_t>(left)].column, first.column));
    const std::string lhs_trim(lhs.substr(0, lhs.find_last_not_of(' ') + 1));
    const std::string rhs(l.part(right_from, right_to));

    if (op == "==") return one_edit("Write == as =", line, op_column, op_length, "=");
    // Only a condition: "A=<5" as a statement is no comparison to rewrite.
    if (left == 0 || l.tokens[static_cast<size_t>(left) - 1].kind != TK_IF) return std::nullopt;

    if (op == "<=" || op == "=<" || op == ">=" || op == "=>") {
        const bool less = op.find('<') != std::string::npos;
        const std::string sign = less ? "<" : ">";
        const std::string was = shown(lhs_trim, "A") + op + shown(rhs, "B");
        if (is_whole_literal(rhs)) {
            const long bound = std::strtol(rhs.c_str(), nullptr, 10) + (less ? 1 : -1);
            const std::string number = std::to_string(bound);
            return QuickFix{"Write " + was + " as " + shown(lhs_trim, "A") + sign + number +
                                " (for whole numbers)",
                            {{line, op_column, op_length, sign},
                             {line, right_from, right_to - right_from, number}}};
        }
        // B+1 is "at most B" for whole numbers only: a fraction or a division on the right
        // could make the bound a fraction.
        for (int k = a + 2; k < right_end; ++k) {
            const Tok& t = l.tokens[static_cast<size_t>(k)];
            if (t.kind == TK_SLASH) return std::nullopt;
            if (t.kind == TK_NUMBER && !is_whole_literal(l.part(t.column, t.end())))
                return std::nullopt;
        }
        const std::string step = less ? "+1" : "-1";
        return QuickFix{"Write " + was + " as " + shown(lhs_trim, "A") + sign + shown(rhs, "B") +
                            step + " (for whole numbers)",
                        {{line, op_column, op_length, sign}, {line, right_to, 0, step}}};
    }

    // "Not equal": an IF that jumps when it holds. Either its two branches change places round
    // an "=", or, without ELSE, it becomes two IF lines, one for "<" and one for ">".
    if (op != "<>" && op != "><" && op != "!=") return std::nullopt;
    const int if_at = left - 1;
    if (if_at != 0 || l.tokens[0].kind != TK_IF || right_end >= l.size() ||
        l.tokens[static_cast<size_t>(right_end)].kind != TK_THEN) {
        return std::nullopt;
    }
    const int then_from = right_end + 1;
    const int then_end = jump_branch(l, then_from);
    if (then_end < 0) return std::nullopt;
    const std::string title = "Write " + shown(lhs_trim, "A") + op + shown(rhs, "B") +
                              " as " + shown(lhs_trim, "A") + "<" + shown(rhs, "B") + " or " +
                              shown(lhs_trim, "A") + ">" + shown(rhs, "B");
    if (then_end < l.size() && l.tokens[static_cast<size_t>(then_end)].kind == TK_ELSE) {
        const int else_end = jump_branch(l, then_end + 1);
        if (else_end < 0) return std::nullopt;
        const int then_col = l.tokens[static_cast<size_t>(then_from)].column;
        const int then_to = l.tokens[static_cast<size_t>(then_end) - 1].end();
        const int else_col = l.tokens[static_cast<size_t>(then_end) + 1].column;
        const int else_to = l.tokens[static_cast<size_t>(else_end) - 1].end();
        return QuickFix{"Write " + shown(lhs_trim, "A") + op + shown(rhs, "B") + " as " +
                            shown(lhs_trim, "A") + "=" + shown(rhs, "B") +
                            " with THEN and ELSE swapped",
                        {{line, op_column, op_length, "="},
                         {line, then_col, then_to - then_col, std::string(l.part(else_col, else_to))},
                         {line, else_col, else_to - else_col, std::string(l.part(then_col, then_to))}}};
    }
    if (then_end < l.size() && l.tokens[static_cast<size_t>(then_end)].kind != TK_CR)
        return std::nullopt;
    const int branch_to = l.tokens[static_cast<size_t>(then_end) - 1].end();
    std::string first_if = std::string(l.part(0, op_column)) + "<" +
                           std::string(l.part(op_column + op_length, branch_to)) + "\n";
    return QuickFix{title, {{line, 0, 0, std::move(first_if)}, {line, op_column, op_length, ">"}}};
}

// ---- the other fixes ------------------------------------------------------------------------

std::optional<QuickFix> let_fix(const Line& l, int line, const Finding& f) {
    if (l.part(f.column, std::min<int>(f.column + 3, static_cast<int>(l.text.size()))) != "LET")
        return std::nullopt;
    int to = f.column + 3;
    while (to < static_cast<int>(l.text.size()) && l.text[static_cast<size_t>(to)] == ' ') ++to;
    if (to >= static_cast<int>(l.text.size()) || l.text[static_cast<size_t>(to)] < 'A' ||
        l.text[static_cast<size_t>(to)] > 'Z' || l.token_at(f.column) < 0) {
        return std::nullopt;
    }
    return one_edit("Remove LET", line, f.column, to - f.column, "");
}

std::optional<QuickFix> lower_case_fix(const Line& l, int line, const Finding& f) {
    const int n = static_cast<int>(l.text.size());
    const int to = std::min(n, f.column + f.length);
    if (f.column >= to) return std::nullopt;
    // Letters of a text in quotes stay as written.
    for (const Tok& t : l.tokens) {
        if (t.kind == TK_STRING && t.column < to && f.column < t.end()) return std::nullopt;
    }
    std::string word(l.part(f.column, to));
    bool lower = false;
    for (char& c : word) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
            lower = true;
        } else if (c < 'A' || c > 'Z') {
            return std::nullopt;
        }
    }
    if (!lower) return std::nullopt;
    return one_edit("Write " + shown(l.part(f.column, to), "it") + " as " + shown(word, "upper case"),
                    line, f.column, to - f.column, word);
}

// A statement starts at token `k`, and the one before it ends at the token before: the two
// need a ":" between them.
std::optional<QuickFix> colon_fix(const Line& l, int line, const Finding& f) {
    const int k = l.token_at(f.column);
    if (k <= 0) return std::nullopt;
    const Tok& t = l.tokens[static_cast<size_t>(k)];
    const Tok& before = l.tokens[static_cast<size_t>(k) - 1];
    if (statement_form(t.kind) == nullptr || t.kind == TK_RETURN || t.kind == TK_END)
        return std::nullopt;
    if (t.kind == TK_VARIABLE) {
        // An assignment only: "STEP" is S, T, E, P to the scanner, not a statement.
        if (k + 1 >= l.size() || l.tokens[static_cast<size_t>(k) + 1].kind != TK_EQ ||
            (k + 2 < l.size() && is_comparison(l.tokens[static_cast<size_t>(k) + 2].kind))) {
            return std::nullopt;
        }
    }
    if (before.kind != TK_NUMBER && before.kind != TK_VARIABLE && before.kind != TK_STRING &&
        before.kind != TK_RIGHTPAREN) {
        return std::nullopt;
    }
    // After THEN or ELSE, a ":" would make the second statement run whatever the condition.
    for (int j = 0; j < k; ++j) {
        const TokenKind p = l.tokens[static_cast<size_t>(j)].kind;
        if (p == TK_THEN || p == TK_ELSE) return std::nullopt;
    }
    // The statement before must be whole: an IF still waiting for THEN, or a FOR for TO, is not.
    int start = k - 1;
    while (start > 0) {
        const TokenKind p = l.tokens[static_cast<size_t>(start) - 1].kind;
        if (p == TK_CR || p == TK_THEN || p == TK_ELSE) break;
        --start;
    }
    const TokenKind opener = l.tokens[static_cast<size_t>(start)].kind;
    bool has_to = false;
    for (int j = start; j < k; ++j) has_to = has_to || l.tokens[static_cast<size_t>(j)].kind == TK_TO;
    if (opener == TK_IF || (opener == TK_FOR && !has_to) ||
        statement_form(opener) == nullptr) {
        return std::nullopt;
    }
    const std::string word(l.part(t.column, t.end()));
    return one_edit("Insert \":\" before " + word, line, before.end(), 0, ":");
}

std::optional<QuickFix> comment_fix(const Line& l, int line, const Finding& f) {
    const int k = l.token_at(f.column);
    if (k <= 0 || l.tokens[static_cast<size_t>(k)].kind != TK_SLASH ||
        l.text.compare(static_cast<size_t>(f.column), 2, "//") != 0) {
        return std::nullopt;
    }
    int code_end = f.column;
    while (code_end > 0 && l.text[static_cast<size_t>(code_end) - 1] == ' ') --code_end;
    const size_t indent = l.text.find_first_not_of(' ');
    const std::string comment = l.text.substr(0, indent) + l.text.substr(static_cast<size_t>(f.column));
    const int n = static_cast<int>(l.text.size());
    return QuickFix{"Move the comment onto a line of its own",
                    {{line, 0, 0, comment + "\n"}, {line, code_end, n - code_end, ""}}};
}

// 1E6 or 0X1F, which a run reads as a number and then once more: the number in digits.
std::optional<QuickFix> number_fix(const Line& l, int line, const Finding& f) {
    const int k = l.token_at(f.column);
    if (k < 0 || l.tokens[static_cast<size_t>(k)].kind != TK_NUMBER) return std::nullopt;
    const Tok& t = l.tokens[static_cast<size_t>(k)];
    const char* const start = l.text.c_str() + t.column;
    const char* e = start + t.length;
    const char* stop = e;
    if ((*e == 'E' || *e == 'e') && (is_digit(e[1]) || ((e[1] == '+' || e[1] == '-') && is_digit(e[2])))) {
        stop = e + 2;
        while (is_digit(*stop)) ++stop;
    } else if ((*e == 'X' || *e == 'x') && e - start <= 2 && e[-1] == '0' &&
               (e - start == 1 || start[0] == '-')) {
        stop = e + 1;
        while (is_digit(*stop) || (*stop >= 'A' && *stop <= 'F') || (*stop >= 'a' && *stop <= 'f'))
            ++stop;
    }
    if (stop <= e + 1) return std::nullopt;
    char value[FORMAT_BUFFER_SIZE];
    const int length = format_general(parse_number(start), PRINT_DIGITS, value);
    const std::string plain(value, static_cast<size_t>(std::max(0, length)));
    // A number too large or too small for digits prints with an E again: no fix for it.
    const size_t digits_from = plain.starts_with('-') ? 1 : 0;
    if (plain.size() <= digits_from || plain.size() > 15 ||
        !std::all_of(plain.begin() + static_cast<long>(digits_from), plain.end(),
                     [](char c) { return is_digit(c) || c == '.'; })) {
        return std::nullopt;
    }
    const std::string written(start, stop);
    return one_edit("Write " + written + " as " + plain, line, t.column,
                    static_cast<int>(stop - start), plain);
}

}  // namespace

std::optional<QuickFix> quick_fix_for_line(std::string_view line_text, const Finding& finding) {
    if (finding.column < 0 || finding.length < 1 ||
        static_cast<size_t>(finding.column) >= line_text.size()) {
        return std::nullopt;
    }
    const Line l(line_text);
    const char c = l.text[static_cast<size_t>(finding.column)];
    const int line = finding.line;
    if (c == '<' || c == '>' || c == '=' || c == '!') return comparison_fix(l, line, finding);
    if (c == '/') return comment_fix(l, line, finding);
    if (is_digit(c) || c == '-' || c == '.') return number_fix(l, line, finding);
    if (auto fix = let_fix(l, line, finding)) return fix;
    if (auto fix = lower_case_fix(l, line, finding)) return fix;
    return colon_fix(l, line, finding);
}

namespace {

// Where each line of `text` starts, and where it ends before its line end.
struct LineSpan {
    size_t from;
    size_t to;
};

std::vector<LineSpan> line_spans(std::string_view text) {
    std::vector<LineSpan> spans;
    size_t from = 0;
    while (true) {
        const size_t nl = text.find('\n', from);
        size_t to = nl == std::string_view::npos ? text.size() : nl;
        if (to > from && text[to - 1] == '\r') --to;
        spans.push_back({from, to});
        if (nl == std::string_view::npos) break;
        from = nl + 1;
    }
    return spans;
}

}  // namespace

std::optional<QuickFix> quick_fix(std::string_view editor_text, const Finding& finding) {
    size_t from = 0;
    for (int n = 0; n < finding.line; ++n) {
        const size_t nl = editor_text.find('\n', from);
        if (nl == std::string_view::npos) return std::nullopt;
        from = nl + 1;
    }
    size_t to = editor_text.find('\n', from);
    if (to == std::string_view::npos) to = editor_text.size();
    if (to > from && editor_text[to - 1] == '\r') --to;
    return quick_fix_for_line(editor_text.substr(from, to - from), finding);
}

std::string apply_fix(std::string_view editor_text, const QuickFix& fix) {
    const std::vector<LineSpan> spans = line_spans(editor_text);
    std::string text(editor_text);
    // From the last edit back, so that the places of the others stay.
    for (auto it = fix.edits.rbegin(); it != fix.edits.rend(); ++it) {
        if (it->line < 0 || static_cast<size_t>(it->line) >= spans.size()) continue;
        const LineSpan s = spans[static_cast<size_t>(it->line)];
        const size_t at = std::min(s.to, s.from + static_cast<size_t>(std::max(0, it->column)));
        const size_t length = std::min(s.to - at, static_cast<size_t>(std::max(0, it->length)));
        text.replace(at, length, it->replacement);
    }
    return text;
}
