// The first pass of the checker: the lines as RUN prepares them, split by the interpreter's
// scanner, with what the scanner cannot take and the comparisons the language does not have.
#include <algorithm>
#include <unordered_set>

#include "checker_detail.h"
#include "eval.h"
#include "format.h"
#include "interp.h"
#include "prepare.h"
#include "program_text.h"
#include "tokenizer.h"

namespace checker_detail {

namespace {

// Takes the place of a NUL in the scanned copy, which the scanner would read as the end.
constexpr char NUL_STAND_IN = '\x7f';

bool ends_operand(TokenKind t) {
    return t == TK_IF || t == TK_THEN || t == TK_ELSE || t == TK_CR || t == TK_ERROR ||
           t == TK_ENDOFINPUT || is_comparison(t);
}

}  // namespace

void Checker::read_lines(std::string_view editor_text) {
    text_.reserve(editor_text.size() + 1);
    size_t pos = 0;
    std::string_view line;
    size_t bytes = 1;  // the text's terminating NUL
    bool reported_size = false;
    for (int n = 0; next_line(editor_text, pos, line); ++n) {
        const LineKind kind = classify_line(line);
        if (kind == LineKind::DataMarker) {
            const size_t data = read_data(editor_text, pos, n + 1);
            if (!reported_size && bytes + data > PROGRAM_STORE_SIZE) {
                add(n, 0, static_cast<int>(line.size()), Severity::Error,
                    msg::too_large(bytes + data));
            }
            return;
        }
        if (kind == LineKind::Dropped) continue;
        bytes += line.size() + 1;
        if (!reported_size && bytes > PROGRAM_STORE_SIZE) {
            add(n, 0, static_cast<int>(line.size()), Severity::Error, msg::too_large(bytes));
            reported_size = true;
        }
        scan_line(n, line);
    }
}

// The DATA section from editor line `line_number` on: its size in bytes, and a warning for
// each comment line there that adds bytes.
size_t Checker::read_data(std::string_view editor_text, size_t pos, int line_number) {
    size_t size = 0;
    std::vector<unsigned char> bytes;
    std::string_view line;
    for (int n = line_number; next_line(editor_text, pos, line); ++n) {
        bytes.clear();
        pack_data_line(line, bytes);
        size += bytes.size();
        const size_t start = line.find_first_not_of(' ');
        if (!bytes.empty() && start != std::string_view::npos && line.substr(start, 2) == "//") {
            add(n, static_cast<int>(start), static_cast<int>(line.size() - start),
                Severity::Warning, msg::comment_in_data(bytes.size()));
        }
    }
    return size;
}

// Columns of `line` that hold a NUL or a character without an 8-bit form, in rising order.
std::vector<int> Checker::unfit_columns(int line_number, std::string_view line) {
    std::vector<int> columns;
    while (next_foreign_ < foreign_.size() && foreign_[next_foreign_].line < line_number) {
        ++next_foreign_;
    }
    size_t f = next_foreign_;
    for (int c = 0; c < static_cast<int>(line.size()); ++c) {
        while (f < foreign_.size() && foreign_[f].line == line_number && foreign_[f].column < c) {
            ++f;
        }
        const bool foreign =
            f < foreign_.size() && foreign_[f].line == line_number && foreign_[f].column == c;
        if (foreign || line[static_cast<size_t>(c)] == '\0') columns.push_back(c);
    }
    return columns;
}

void Checker::report_unfit(int line_number, const std::vector<int>& columns) {
    for (size_t k = 0; k < columns.size();) {
        size_t end = k + 1;
        while (end < columns.size() && columns[end] == columns[end - 1] + 1) ++end;
        add(line_number, columns[k], static_cast<int>(end - k), Severity::Error,
            msg::unfit_character());
        k = end;
    }
}

void Checker::scan_line(int line_number, std::string_view line) {
    last_line_ = line_number;
    const std::vector<int> unfit = unfit_columns(line_number, line);
    report_unfit(line_number, unfit);
    const int base = static_cast<int>(text_.size());
    for (char c : line) text_.push_back(c == '\0' ? NUL_STAND_IN : c);
    text_.push_back('\0');
    const char* const begin = text_.data() + base;
    const int n = static_cast<int>(line.size());
    const size_t line_first_token = tokens_.size();
    line_leaves_ = false;
    line_prints_ = false;
    line_deferred_character_ = false;
    int quiet_until = 0;  // a finding already covers the characters before this column
    int p = 0;
    while (p < n && begin[p] == ' ') ++p;
    if (rem_line(line_number, line, p)) {
        tokens_.push_back({TK_CR, line_number, n, 0, base + n});
        return;
    }
    while (true) {
        while (p < n && begin[p] == ' ') ++p;
        if (p >= n) break;
        const char* end = begin + p;
        const TokenKind t = scan_token(begin + p, &end);
        Token token{t, line_number, p, static_cast<int>(end - (begin + p)), base + p};
        if (t == TK_ERROR) {
            token.flagged = true;
            const bool unfit_here = std::binary_search(unfit.begin(), unfit.end(), p);
            token.length = bad_characters(line_number, begin, p, n, unfit_here || p < quiet_until);
            tokens_.push_back(token);
            p += token.length;
            continue;
        }
        if (t == TK_SLASH && begin[p + 1] == '/') {
            Deferred d;
            d.token = tokens_.size();
            d.kind = Deferred::Comment;
            Text text = msg::comment_after_code();
            Finding f = {line_number,         p, n - p, Severity::Error, std::move(text.message),
                         std::move(text.page)};
            // A label search reads the comment as tokens, and stops at one it cannot take.
            for (int q = p + 2; q < n;) {
                if (begin[q] == ' ') {
                    ++q;
                    continue;
                }
                const char* e = begin + q;
                if (scan_token(begin + q, &e) == TK_ERROR || e == begin + q) {
                    d.scans_clean = false;
                    break;
                }
                q = static_cast<int>(e - begin);
            }
            scan_finding(std::move(d), std::move(f));
            token.flagged = true;
            tokens_.push_back(token);
            break;
        }
        if (t == TK_NUMBER) quiet_until = std::max(quiet_until, number_form(token, begin));
        tokens_.push_back(token);
        line_leaves_ = line_leaves_ || t == TK_GOTO || t == TK_RETURN || t == TK_END;
        line_prints_ = line_prints_ || t == TK_PRINT;
        p += token.length;
    }
    check_comparisons(line_first_token);
    tokens_.push_back({TK_CR, line_number, n, 0, base + n});
}

// What the scanner cannot take at column `p`: a finding for it (unless `quiet`), and how many
// characters it covers.
int Checker::bad_characters(int line_number, const char* begin, int p, int n, bool quiet) {
    const char c = begin[p];
    int length = 1;
    Text text;
    if (c == '"') {
        length = n - p;
        text = msg::unclosed_text();
    } else if (is_number_char(c) || c == '-') {
        while (p + length < n && is_number_char(begin[p + length])) ++length;
        text = msg::long_number(length);
    } else if (c == '!' && begin[p + 1] == '=') {
        // "!=": the comparison check names it, with its operands.
        return 1;
    } else if (is_lower(c)) {
        int from = p;
        while (from > 0 && is_letter(begin[from - 1])) --from;
        while (p + length < n && is_letter(begin[p + length])) ++length;
        if (!quiet) {
            Deferred d;
            d.token = tokens_.size();
            Finding f = {line_number, from, p + length - from, Severity::Error, {}, {}};
            Text text =
                msg::lower_case(std::string(begin + from, static_cast<size_t>(p + length - from)));
            f.message = std::move(text.message);
            f.help_page = std::move(text.page);
            scan_finding(std::move(d), std::move(f));
        }
        return length;
    } else if (c == '\t') {
        while (p + length < n && begin[p + length] == '\t') ++length;
        text = msg::tab();
    } else {
        text = msg::foreign_character(c);
    }
    if (!quiet) {
        Deferred d;
        d.token = tokens_.size();
        Finding f = {line_number,         p, length, Severity::Error, std::move(text.message),
                     std::move(text.page)};
        scan_finding(std::move(d), std::move(f));
    }
    return length;
}

// A number literal that the library reads on past its token, as in 1E5 or 0X1F: the run
// reads the rest once more. Returns the column up to which the library read.
int Checker::number_form(Token& token, const char* begin) {
    const char* const start = begin + token.column;
    const char* e = start + token.length;
    const char* stop = e;
    if ((*e == 'E' || *e == 'e') &&
        (is_digit(e[1]) || ((e[1] == '+' || e[1] == '-') && is_digit(e[2])))) {
        stop = e + 2;
        while (is_digit(*stop)) ++stop;
    } else if ((*e == 'X' || *e == 'x') && e - start <= 2 && e[-1] == '0' &&
               (e - start == 1 || start[0] == '-') &&
               (is_hex_digit(e[1]) || (e[1] == '.' && is_hex_digit(e[2])))) {
        stop = e + 1;
        while (is_hex_digit(*stop) || *stop == '.') ++stop;
    }
    if (stop == e) return 0;
    Deferred d;
    d.token = tokens_.size();
    d.kind = Deferred::ReadTwice;
    d.length = static_cast<int>(stop - start);
    // Worded only when it is reported at once: a PRINT line's wait with no text.
    Finding f;
    if (!line_prints_ && !line_leaves_) f = read_twice(token, d.length, false);
    scan_finding(d, std::move(f));
    token.flagged = true;
    return static_cast<int>(stop - begin);
}

// ---- Comparisons the language does not have --------------------------------------------

// The operand in front of token `at`, back to the start of its condition or statement.
std::string Checker::operand_before(size_t at) const {
    size_t from = at;
    while (from > 0 && !ends_operand(tokens_[from - 1].kind) &&
           tokens_[from - 1].line == tokens_[at].line) {
        --from;
    }
    return text_of(static_cast<int>(from), static_cast<int>(at));
}

std::string Checker::operand_after(size_t at) const {
    size_t to = at;
    while (to < tokens_.size() && !ends_operand(tokens_[to].kind)) ++to;
    return text_of(static_cast<int>(at), static_cast<int>(to));
}

// Two comparison signs in a row on the line whose tokens start at `first`: <=, >=, <>, ==
// and the like, which a run cannot read.
void Checker::check_comparisons(size_t first) {
    for (size_t k = first; k + 1 < tokens_.size(); ++k) {
        Token& a = tokens_[k];
        Token& b = tokens_[k + 1];
        const bool bang = a.kind == TK_ERROR && text_[static_cast<size_t>(a.offset)] == '!' &&
                          b.kind == TK_EQ && adjacent(k, k + 1);
        if (!bang && (!is_comparison(a.kind) || !is_comparison(b.kind))) continue;
        const std::string op = text_.substr(static_cast<size_t>(a.offset), 1) +
                               text_.substr(static_cast<size_t>(b.offset), 1);
        const std::string left = operand_before(k);
        const std::string right = operand_after(k + 2);
        add(a.line, a.column, b.column + b.length - a.column, Severity::Error,
            msg::comparison(op, left, right));
        a.flagged = true;
        b.flagged = true;
        ++k;
    }
}

// A finding of the scan about the token being read: at once, unless how a run meets the token
// can change it (behind a GOTO, RETURN or END on its line, or a number in a PRINT line). Behind
// a jump only the first character a label search cannot take is kept: the search stops there.
// So what waits stays in proportion to the lines, not to the characters of a pasted text.
void Checker::scan_finding(Deferred d, Finding f) {
    if (!line_leaves_ && (d.kind != Deferred::ReadTwice || !line_prints_)) {
        findings_.push_back(std::move(f));
        return;
    }
    if (line_leaves_ && d.kind == Deferred::Character) {
        if (line_deferred_character_) return;
        line_deferred_character_ = true;
    }
    if (d.kind != Deferred::ReadTwice) {
        d.finding = static_cast<int>(deferred_findings_.size());
        deferred_findings_.push_back(std::move(f));
    }
    deferred_.push_back(d);
}

// A number literal the library reads on past its token, worded: in PRINT's list it prints more,
// elsewhere a run stops at what is read twice.
Finding Checker::read_twice(const Token& token, int written_length, bool in_print) const {
    const std::string written = text_.substr(static_cast<size_t>(token.offset),
                                             static_cast<size_t>(written_length));
    const std::string rest = written.substr(static_cast<size_t>(token.length));
    char value[FORMAT_BUFFER_SIZE];
    const int length =
        format_general(parse_number(text_.c_str() + token.offset), PRINT_DIGITS, value);
    const std::string plain(value, static_cast<size_t>(length));
    Text text = in_print ? msg::print_read_twice(written, plain, rest)
                         : msg::number_read_twice(written, rest, plain);
    return {token.line,
            token.column,
            written_length,
            in_print ? Severity::Warning : Severity::Error,
            std::move(text.message),
            std::move(text.page)};
}

// A comment line as other languages write it: REM or an apostrophe. A run stops at it with
// "Unknown command" (or at the apostrophe); one finding covers the line.
bool Checker::rem_line(int line_number, std::string_view line, int p) {
    const auto n = static_cast<int>(line.size());
    const std::string_view rest = line.substr(static_cast<size_t>(p));
    const bool rem =
        rest.substr(0, 3) == "REM" && (rest.size() == 3 || rest[3] == ' ' || rest[3] == '\t');
    if (!rem && rest.substr(0, 1) != "'") return false;
    add(line_number, p, n - p, Severity::Error, msg::rem_comment(rem ? "REM" : "'"));
    tokens_.push_back(
        {TK_VARIABLE, line_number, p, 1, static_cast<int>(text_.size()) - n - 1 + p, true});
    return true;
}

// Whether a LABEL token that some GOTO or GOSUB names stands after token `t`: a label search
// passes every token before it.
bool Checker::searched_label_after(size_t t) {
    if (last_searched_label_ == SIZE_MAX) {
        last_searched_label_ = 0;
        std::unordered_set<int32_t> targets;
        for (const Statement& s : statements_) {
            if (s.kind == TK_GOTO || s.kind == TK_GOSUB) targets.insert(s.label);
        }
        for (size_t k = tokens_.size() - 1; k-- > 0;) {
            if (tokens_[k].kind == TK_LABEL && tokens_[k + 1].kind == TK_NUMBER &&
                targets.count(label_number(k + 1)) != 0) {
                last_searched_label_ = k;
                break;
            }
        }
    }
    return t < last_searched_label_;
}

// The scan's findings, now that the statements say how a run meets each token.
void Checker::settle_deferred() {
    for (const Deferred& d : deferred_) {
        const Token& t = tokens_[d.token];
        if (d.kind == Deferred::ReadTwice) {
            if (!t.unread) findings_.push_back(read_twice(t, d.length, t.in_print));
            continue;
        }
        Finding& f = deferred_findings_[static_cast<size_t>(d.finding)];
        if (!t.unread) {
            findings_.push_back(std::move(f));
        } else if (d.kind == Deferred::Comment && d.scans_clean) {
            // A run never reads it; only a label search passes it.
            Text text = msg::comment_never_read();
            findings_.push_back({f.line, f.column, f.length, Severity::Warning,
                                 std::move(text.message), std::move(text.page)});
        } else if (searched_label_after(d.token)) {
            // A label search stops at a token it cannot take.
            f.message = msg::label_search_stops(f.message).message;
            findings_.push_back(std::move(f));
        }
    }
    deferred_.clear();
    deferred_findings_.clear();
}

}  // namespace checker_detail
