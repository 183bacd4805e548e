#include "checker.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <unordered_map>

#include "eval.h"
#include "explain.h"
#include "format.h"
#include "interp.h"
#include "math_stmts.h"
#include "prepare.h"
#include "program_text.h"
#include "tokenizer.h"
#include "tokens.h"

namespace {

// Takes the place of a NUL in the scanned copy, which the scanner would read as the end.
constexpr char NUL_STAND_IN = '\x7f';

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_number_char(char c) {
    return is_digit(c) || c == '.';
}
bool is_lower(char c) {
    return c >= 'a' && c <= 'z';
}
bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || is_lower(c);
}
bool is_hex_digit(char c) {
    return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool is_comparison(TokenKind t) {
    return t == TK_LT || t == TK_GT || t == TK_EQ;
}

const char* keyword_of(TokenKind t) {
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        if (k->token == t) return k->keyword;
    }
    return nullptr;
}

// One token of a program line, or the end of a line (TK_CR of length 0), where RUN's
// preparation puts the ":" that joins it to the next.
struct Token {
    TokenKind kind = TK_ERROR;
    int line = 0;    // editor line
    int column = 0;  // in the editor line
    int length = 0;
    int offset = 0;  // of its first character in the scanned text
    // A finding of the scan covers it, so the statement it is in says nothing more: one
    // problem, one finding.
    bool flagged = false;
};

// How a statement ends, as a run meets it.
enum class Ending : unsigned char {
    Next,      // it read its ":" and the run goes on behind it
    Leaves,    // GOTO, RETURN, END, or an IF whose last branch is one: nothing after it is read
    ElseRuns,  // a PRINT after THEN that took the ELSE for its end: the ELSE part runs as well
    ElseMet,   // after THEN, its end check meets the ELSE: a run stops there
    Broken,    // a run stops in it; a finding says why
};

enum class Context : unsigned char { Top, Then, Else };

struct Statement {
    TokenKind kind = TK_ERROR;
    int first = 0;         // its first token
    int top = 0;           // the top-level statement it is part of (index into the top list)
    int32_t label = 0;     // LABEL, GOTO, GOSUB: the label number as a run reads it
    int label_token = -1;  // the token the number is read from
    int variable = -1;     // FOR, NEXT: the loop's variable, 0 for A
    int then_part = -1;    // IF: the statements of its branches, -1 for none
    int else_part = -1;
    bool conditional = false;  // in a branch of an IF
    Ending ending = Ending::Next;
};

// The parts of the simple statements after their keyword, read one after the other and
// followed by the end of the statement: e an expression, v a variable, n a number literal,
// and the tokens "," "=" and T for TO.
struct Form {
    TokenKind keyword;
    const char* parts;
};

constexpr bool takes_two_arguments(TokenKind t) {
    return t == TK_TPATAN || t == TK_EXP || t == TK_FMOD || t == TK_POW;
}

constexpr Form simple_forms[] = {
    {TK_LABEL, "n"},  {TK_FOR, "v=eTe"}, {TK_NEXT, "v"},     {TK_GOSUB, "n"},
    {TK_PEEK, "e,v"}, {TK_POKE, "e,e"},  {TK_MGET, "v,v,v"}, {TK_CGET, "v,v,v"},
    {TK_TGET, "v"},   {TK_PGET, "v"},    {TK_RX, "v"},       {TK_COIL, "e,e,e"},
    {TK_SPEED, "e"},  {TK_DELAY, "e"},   {TK_TX, "e,e"},     {TK_ROFF, ""},
};

const char* form_of(TokenKind t) {
    for (const Form& f : simple_forms) {
        if (f.keyword == t) return f.parts;
    }
    for (const MathStatement& m : math_statements) {
        if (m.token == t) return takes_two_arguments(t) ? "e,e,v" : "e,v";
    }
    return nullptr;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Program text quoted in a message, shortened when long.
constexpr size_t MAX_QUOTED_CHARS = 40;

std::string excerpt(std::string text) {
    if (text.size() > MAX_QUOTED_CHARS) text = text.substr(0, MAX_QUOTED_CHARS - 3) + "...";
    return text;
}

// An operand to write into a suggestion, or `fallback` when there is none or it is long.
std::string operand_or(const std::string& text, const char* fallback) {
    return text.empty() || text.size() > MAX_QUOTED_CHARS ? fallback : text;
}

// Statements and brackets nested deeper than this are not read further. A program that fits the
// store nests far less; the limit keeps a pasted text of megabytes from exhausting the stack.
constexpr int MAX_NESTING = 500;

// The findings as they are found, in no order, of which only the first `limit` by line and column
// are kept: a pasted text of megabytes of mistakes must not take gigabytes to report. The list
// is thinned whenever it holds twice the limit, so the memory stays in proportion to the limit.
struct FindingCollector {
    std::vector<Finding> kept;
    size_t limit = SIZE_MAX;
    size_t dropped = 0;

    void push_back(Finding f) {
        kept.push_back(std::move(f));
        if (limit != SIZE_MAX && kept.size() >= 2 * std::max<size_t>(limit, 1)) keep_first();
    }
    template <typename It>
    void insert(It first, It last) {
        for (; first != last; ++first) push_back(*first);
    }
    // Sorts what is kept and drops all after the first `limit`. The sort is stable, so of two
    // findings at one place the one found first stays first, as it would with no limit.
    void keep_first() {
        std::stable_sort(kept.begin(), kept.end(), [](const Finding& a, const Finding& b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
        if (kept.size() > limit) {
            dropped += kept.size() - limit;
            kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(limit), kept.end());
        }
    }
};

class Checker {
   public:
    Checker(std::string_view editor_text, std::span<const TextPoint> foreign, size_t limit)
        : foreign_(foreign) {
        findings_.limit = limit;
        read_lines(editor_text);
    }

    BoundedFindings run() {
        tokens_.push_back({TK_ENDOFINPUT, last_line_, 0, 0, static_cast<int>(text_.size())});
        text_.push_back('\0');
        parse();
        check_labels();
        check_loops();
        check_flow();
        findings_.keep_first();
        return {std::move(findings_.kept), findings_.dropped};
    }

   private:
    std::span<const TextPoint> foreign_;
    size_t next_foreign_ = 0;
    std::string text_;  // the program lines, each ended by a NUL, as the scanner reads them
    std::vector<Token> tokens_;
    FindingCollector findings_;
    int last_line_ = 0;

    // ---- Lines and characters -------------------------------------------------------------

    void read_lines(std::string_view editor_text) {
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
                    too_large(n, line, bytes + data);
                }
                return;
            }
            if (kind == LineKind::Dropped) continue;
            bytes += line.size() + 1;
            if (!reported_size && bytes > PROGRAM_STORE_SIZE) {
                too_large(n, line, bytes);
                reported_size = true;
            }
            scan_line(n, line);
        }
    }

    void too_large(int line_number, std::string_view line, size_t bytes) {
        add(line_number, 0, static_cast<int>(line.size()), Severity::Error,
            "The program does not fit from this line on: RUN needs " + std::to_string(bytes) +
                " bytes or more for it (each line, a \":\" behind each, and the DATA bytes), "
                "and a program may have " +
                std::to_string(PROGRAM_STORE_SIZE) +
                ". RUN does not start it: make the program shorter.",
            "basics.html");
    }

    // The DATA section from editor line `line_number` on: its size in bytes, and a warning for
    // each comment line there that adds bytes.
    size_t read_data(std::string_view editor_text, size_t pos, int line_number) {
        size_t size = 0;
        std::vector<unsigned char> bytes;
        std::string_view line;
        for (int n = line_number; next_line(editor_text, pos, line); ++n) {
            bytes.clear();
            pack_data_line(line, bytes);
            size += bytes.size();
            const size_t start = line.find_first_not_of(' ');
            if (!bytes.empty() && start != std::string_view::npos &&
                line.substr(start, 2) == "//") {
                add(n, static_cast<int>(start), static_cast<int>(line.size() - start),
                    Severity::Warning,
                    "After the DATA line, comment lines are data too: the digits, dots and stars "
                    "of this one add " +
                        std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte" : " bytes") +
                        " to the data. Put comments before the DATA line.",
                    "comments_and_data.html");
            }
        }
        return size;
    }

    void add(int line, int column, int length, Severity severity, std::string message,
             std::string page) {
        findings_.push_back(
            {line, column, std::max(length, 1), severity, std::move(message), std::move(page)});
    }

    // Columns of `line` that hold a NUL or a character without an 8-bit form, in rising order.
    std::vector<int> unfit_columns(int line_number, std::string_view line) {
        std::vector<int> columns;
        while (next_foreign_ < foreign_.size() && foreign_[next_foreign_].line < line_number) {
            ++next_foreign_;
        }
        size_t f = next_foreign_;
        for (int c = 0; c < static_cast<int>(line.size()); ++c) {
            while (f < foreign_.size() && foreign_[f].line == line_number &&
                   foreign_[f].column < c) {
                ++f;
            }
            const bool foreign =
                f < foreign_.size() && foreign_[f].line == line_number && foreign_[f].column == c;
            if (foreign || line[static_cast<size_t>(c)] == '\0') columns.push_back(c);
        }
        return columns;
    }

    void report_unfit(int line_number, const std::vector<int>& columns) {
        for (size_t k = 0; k < columns.size();) {
            size_t end = k + 1;
            while (end < columns.size() && columns[end] == columns[end - 1] + 1) ++end;
            add(line_number, columns[k], static_cast<int>(end - k), Severity::Error,
                "RUN does not start a program while a line holds a character like this: a NUL, "
                "or one with no 8-bit form, such as a curly quote. Type it again with plain "
                "characters.",
                "basics.html");
            k = end;
        }
    }

    void scan_line(int line_number, std::string_view line) {
        last_line_ = line_number;
        const std::vector<int> unfit = unfit_columns(line_number, line);
        report_unfit(line_number, unfit);
        const int base = static_cast<int>(text_.size());
        for (char c : line) text_.push_back(c == '\0' ? NUL_STAND_IN : c);
        text_.push_back('\0');
        const char* const begin = text_.data() + base;
        const int n = static_cast<int>(line.size());
        const size_t line_first_token = tokens_.size();
        int quiet_until = 0;  // a finding already covers the characters before this column
        int p = 0;
        while (true) {
            while (p < n && begin[p] == ' ') ++p;
            if (p >= n) break;
            const char* end = begin + p;
            const TokenKind t = scan_token(begin + p, &end);
            Token token{t, line_number, p, static_cast<int>(end - (begin + p)), base + p};
            if (t == TK_ERROR) {
                token.flagged = true;
                const bool unfit_here = std::binary_search(unfit.begin(), unfit.end(), p);
                token.length =
                    bad_characters(line_number, begin, p, n, unfit_here || p < quiet_until);
                tokens_.push_back(token);
                p += token.length;
                continue;
            }
            if (t == TK_SLASH && begin[p + 1] == '/') {
                add(line_number, p, n - p, Severity::Error,
                    "\"//\" starts a comment only at the start of a line: after code it is two "
                    "division signs, and a run stops here with an error. Put the comment on a "
                    "line of its own.",
                    "traps.html");
                token.flagged = true;
                tokens_.push_back(token);
                break;
            }
            if (t == TK_NUMBER) quiet_until = std::max(quiet_until, number_form(token, begin));
            tokens_.push_back(token);
            p += token.length;
        }
        check_comparisons(line_first_token);
        tokens_.push_back({TK_CR, line_number, n, 0, base + n});
    }

    // What the scanner cannot take at column `p`: a finding for it (unless `quiet`), and how many
    // characters it covers.
    int bad_characters(int line_number, const char* begin, int p, int n, bool quiet) {
        const char c = begin[p];
        int length = 1;
        std::string message;
        std::string page = "basics.html";
        if (c == '"') {
            length = n - p;
            message =
                "This text has no closing quote on its line: end it with \" before the end "
                "of the line. A text cannot go on over the next line, and a run stops here "
                "with an error.";
            page = "print.html";
        } else if (is_number_char(c) || c == '-') {
            while (p + length < n && is_number_char(begin[p + length])) ++length;
            message =
                "A number has at most 15 characters, its minus sign included, and this one "
                "has " +
                std::to_string(length) +
                ": a run stops here with an error. Write it with fewer digits.";
        } else if (c == '!' && begin[p + 1] == '=') {
            // "!=": the comparison check names it, with its operands.
            return 1;
        } else if (is_lower(c)) {
            int from = p;
            while (from > 0 && is_letter(begin[from - 1])) --from;
            while (p + length < n && is_letter(begin[p + length])) ++length;
            std::string word(begin + from, static_cast<size_t>(p + length - from));
            std::string upper = word;
            for (char& ch : upper) {
                if (is_lower(ch)) ch = static_cast<char>(ch - 'a' + 'A');
            }
            if (!quiet) {
                add(line_number, from, p + length - from, Severity::Error,
                    "The language knows only upper-case letters: write " + upper + " instead of " +
                        word + ". A run stops here with an error.",
                    "traps.html");
            }
            return length;
        } else if (c == '\t') {
            while (p + length < n && begin[p + length] == '\t') ++length;
            message =
                "A tab is not a space in this language, and a run stops here with an "
                "error: use spaces instead.";
            page = "traps.html";
        } else if (c > 32 && c < 127) {
            message = quoted(std::string_view(&begin[p], 1)) +
                      " is not part of the language: a run stops here with an error. Remove it.";
        } else {
            message =
                "This character is not part of the language: a run stops here with an "
                "error. Remove it.";
        }
        if (!quiet) add(line_number, p, length, Severity::Error, std::move(message), page);
        return length;
    }

    // A number literal that the library reads on past its token, as in 1E5 or 0X1F: the run
    // reads the rest once more. Returns the column up to which the library read.
    int number_form(Token& token, const char* begin) {
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
        const std::string written(start, stop);
        const std::string rest(e, stop);
        char value[FORMAT_BUFFER_SIZE];
        const int length = format_general(parse_number(start), PRINT_DIGITS, value);
        const std::string plain(value, static_cast<size_t>(length));
        const bool digits_only = std::none_of(plain.begin(), plain.end(), is_letter);
        const std::string instead =
            digits_only ? "Write " + plain + "." : "Write the number out in digits, without E.";
        add(token.line, token.column, static_cast<int>(stop - start), Severity::Error,
            written + " is not a number of this language: a run takes it for " + plain +
                ", but then reads " + rest + " once more, as more of the statement. " + instead,
            "traps.html");
        token.flagged = true;
        return static_cast<int>(stop - begin);
    }

    // ---- Comparisons the language does not have --------------------------------------------

    std::string text_of(int from, int to) const {
        if (from >= to) return {};
        const Token& a = tokens_[static_cast<size_t>(from)];
        const Token& b = tokens_[static_cast<size_t>(to - 1)];
        return text_.substr(static_cast<size_t>(a.offset),
                            static_cast<size_t>(b.offset + b.length - a.offset));
    }

    static bool ends_operand(TokenKind t) {
        return t == TK_IF || t == TK_THEN || t == TK_ELSE || t == TK_CR || t == TK_ERROR ||
               t == TK_ENDOFINPUT || is_comparison(t);
    }

    // The operand in front of token `at`, back to the start of its condition or statement.
    std::string operand_before(size_t at) const {
        size_t from = at;
        while (from > 0 && !ends_operand(tokens_[from - 1].kind) &&
               tokens_[from - 1].line == tokens_[at].line) {
            --from;
        }
        return text_of(static_cast<int>(from), static_cast<int>(at));
    }

    std::string operand_after(size_t at) const {
        size_t to = at;
        while (to < tokens_.size() && !ends_operand(tokens_[to].kind)) ++to;
        return text_of(static_cast<int>(at), static_cast<int>(to));
    }

    static bool is_whole_literal(const std::string& s) {
        if (s.empty() || s.size() > 9) return false;
        return std::all_of(s.begin() + (s[0] == '-' ? 1 : 0), s.end(), is_digit) && s != "-";
    }

    static std::string not_equal_message(const std::string& op, const std::string& left,
                                         const std::string& right) {
        const std::string a = operand_or(left, "A");
        const std::string b = operand_or(right, "B");
        return quoted(op) +
               " is not an operator of this language: there is no \"not equal\". Test " + a + "<" +
               b + " and " + a + ">" + b + " in two IF lines, or turn the test round: IF " + a +
               "=" + b + " THEN ... ELSE ...";
    }

    // Two comparison signs in a row on the line whose tokens start at `first`: <=, >=, <>, ==
    // and the like, which a run cannot read.
    void check_comparisons(size_t first) {
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
            const std::string l = operand_or(left, "A");
            const std::string r = operand_or(right, "B");
            std::string message;
            std::string page = "traps.html";
            if (op == "<=" || op == "=<" || op == ">=" || op == "=>") {
                const char sign = op.find('<') != std::string::npos ? '<' : '>';
                std::string whole;
                if (is_whole_literal(r)) {
                    whole = l + sign + std::to_string(std::stol(r) + (sign == '<' ? 1 : -1));
                } else {
                    whole = l + sign + r + (sign == '<' ? "+1" : "-1");
                }
                message = quoted(op) +
                          " is not an operator of this language: only <, > and = compare. For "
                          "whole numbers write " +
                          whole + "; otherwise test " + l + sign + r + " and " + l + "=" + r +
                          " in two IF lines.";
            } else if (op == "<>" || op == "><" || op == "!=") {
                message = not_equal_message(op, left, right);
            } else if (op == "==") {
                message =
                    "\"==\" is not an operator of this language: equal is a single =, as "
                    "in " +
                    l + "=" + r + ".";
                page = "operators.html";
            } else {
                message = quoted(op) +
                          " is not an operator of this language: a comparison is one of <, > "
                          "and =, between two values.";
                page = "operators.html";
            }
            add(a.line, a.column, b.column + b.length - a.column, Severity::Error,
                std::move(message), page);
            a.flagged = true;
            b.flagged = true;
            ++k;
        }
    }

    // ---- Statements -------------------------------------------------------------------------

    std::vector<Statement> statements_;  // in the order of the text
    std::vector<int> top_;               // the statements a run starts at a ":", in order
    std::vector<int> token_top_;         // the top-level statement of each token
    std::vector<Finding> pending_;       // the findings of the statement being read
    size_t i_ = 0;
    TokenKind reading_ = TK_ERROR;  // the statement whose parts are being read
    int depth_ = 0;                 // statements and brackets being read inside each other

    const Token& cur_token() const { return tokens_[i_]; }
    TokenKind cur() const { return tokens_[i_].kind; }

    int32_t label_number(size_t at) const {
        // A run reads the label number from the text whatever token stands there.
        return to_int(parse_number(text_.c_str() + tokens_[at].offset));
    }

    // Where a finding about token `t` goes: on it, or on the token before when it is the end
    // of a line.
    Finding finding_at(size_t t, Severity severity, std::string message, std::string page) const {
        size_t k = t;
        while (tokens_[k].length == 0 && k > 0 && tokens_[k - 1].line == tokens_[k].line) --k;
        const Token& at = tokens_[k];
        return {at.line,  at.column,          std::max(at.length, 1),
                severity, std::move(message), std::move(page)};
    }

    Finding finding_over(size_t from, size_t to, Severity severity, std::string message,
                         std::string page) const {
        Finding f = finding_at(from, severity, std::move(message), std::move(page));
        const Token& last = tokens_[to];
        if (last.line == f.line && last.column + last.length > f.column) {
            f.length = last.column + last.length - f.column;
        }
        return f;
    }

    void note(size_t t, Severity severity, std::string message, std::string page) {
        pending_.push_back(finding_at(t, severity, std::move(message), std::move(page)));
    }

    std::string token_phrase(size_t t) const {
        const Token& token = tokens_[t];
        const std::string text =
            text_.substr(static_cast<size_t>(token.offset), static_cast<size_t>(token.length));
        switch (token.kind) {
            case TK_CR:
                return token.length == 0 ? "the end of the line" : "\":\"";
            case TK_ENDOFINPUT:
                return "the end of the program";
            case TK_NUMBER:
                return "the number " + text;
            case TK_VARIABLE:
                return "the variable " + text;
            case TK_STRING:
                return "a text in quotes";
            default:
                break;
        }
        if (keyword_of(token.kind) != nullptr) return text;
        return quoted(text);
    }

    static std::string expected_phrase(TokenKind t) {
        switch (t) {
            case TK_CR:
                return "the end of the statement";
            case TK_VARIABLE:
                return "a variable (one letter from A to Z)";
            case TK_NUMBER:
                return "a number";
            case TK_EQ:
                return "\"=\"";
            case TK_COMMA:
                return "\",\"";
            case TK_RIGHTPAREN:
                return "\")\"";
            default:
                break;
        }
        if (const char* k = keyword_of(t)) return k;
        return "something else";
    }

    std::string reading_name() const {
        if (reading_ == TK_VARIABLE) return "An assignment";
        if (const char* k = keyword_of(reading_)) return k;
        return "The statement";
    }

    std::string reading_page() const {
        if (reading_ == TK_VARIABLE) return "let.html";
        if (const char* k = keyword_of(reading_)) return help_page_for_word(k);
        return "errors.html";
    }

    // The check of a run that wants `expected` here fails.
    void mismatch(TokenKind expected) {
        const TokenKind got = cur();
        if (expected == TK_RIGHTPAREN && is_comparison(got)) {
            note(i_, Severity::Error,
                 "A comparison cannot stand inside brackets, and a run stops here with an error: "
                 "only calculations can. Write the condition without them: IF A<B THEN ...",
                 "operators.html");
            return;
        }
        if (reading_ == TK_EXP && expected == TK_COMMA) {
            note(i_, Severity::Error,
                 "EXP is not e to the power of x: like POW, it raises its first value to the "
                 "power of its second and stores the result in the variable named last, as in "
                 "EXP 2,10,A. For e to the power of X write EXP 2.718281828459,X,A. As it "
                 "stands, a run stops here with an error.",
                 "exp.html");
            return;
        }
        if (expected == TK_VARIABLE && got == TK_MINUS) {
            note(i_, Severity::Error,
                 "A minus sign can start a calculation or stand right before a digit, but not "
                 "follow another sign: A*-B does not work. Write A*(0-B).",
                 "operators.html");
            return;
        }
        std::string message = reading_name() + " needs " + expected_phrase(expected) +
                              " here, not " + token_phrase(i_) +
                              ": a run stops here with an error.";
        if (expected == TK_CR && (got == TK_VARIABLE || form_of(got) != nullptr ||
                                  got == TK_PRINT || got == TK_IF || got == TK_GOTO)) {
            message += " Two statements need a \":\" between them.";
        }
        note(i_, Severity::Error, std::move(message), reading_page());
    }

    bool expect(TokenKind expected) {
        if (cur() == expected) {
            ++i_;
            return true;
        }
        mismatch(expected);
        return false;
    }

    // factor: number | "(" expression ")" | variable
    bool factor() {
        if (cur() == TK_NUMBER) {
            ++i_;
            return true;
        }
        if (cur() == TK_LEFTPAREN) {
            if (depth_ == MAX_NESTING) return false;
            ++i_;
            ++depth_;
            const bool ok = expression() && expect(TK_RIGHTPAREN);
            --depth_;
            return ok;
        }
        return expect(TK_VARIABLE);
    }

    bool term() {
        if (!factor()) return false;
        while (cur() == TK_ASTR || cur() == TK_SLASH || cur() == TK_MOD) {
            ++i_;
            if (!factor()) return false;
        }
        return true;
    }

    // ["-"] term { ("+" | "-" | "&" | "|" | a number, which is added) term }
    bool expression() {
        if (cur() == TK_MINUS) ++i_;
        if (!term()) return false;
        for (;;) {
            const TokenKind op = cur();
            if (op == TK_PLUS || op == TK_MINUS || op == TK_AND || op == TK_OR) {
                ++i_;
            } else if (op != TK_NUMBER) {
                return true;
            }
            if (!term()) return false;
        }
    }

    bool relation(int& comparisons) {
        if (!expression()) return false;
        while (is_comparison(cur())) {
            ++i_;
            if (!expression()) return false;
            ++comparisons;
        }
        return true;
    }

    // The end check of a statement that reads its ":".
    void end_of(Statement& s, Context context) {
        if (cur() == TK_CR) {
            ++i_;
            s.ending = Ending::Next;
        } else if (cur() == TK_ELSE && context == Context::Then) {
            s.ending = Ending::ElseMet;
        } else {
            mismatch(TK_CR);
            s.ending = Ending::Broken;
        }
    }

    void simple(Statement& s, const char* parts, Context context) {
        ++i_;
        for (const char* p = parts; *p != '\0'; ++p) {
            bool ok = true;
            switch (*p) {
                case 'e':
                    ok = expression();
                    break;
                case 'v':
                    if (s.variable < 0 && cur() == TK_VARIABLE) {
                        s.variable = text_[static_cast<size_t>(cur_token().offset)] - 'A';
                    }
                    ok = expect(TK_VARIABLE);
                    break;
                case 'n':
                    s.label = label_number(i_);
                    s.label_token = static_cast<int>(i_);
                    ok = expect(TK_NUMBER);
                    break;
                case ',':
                    ok = expect(TK_COMMA);
                    break;
                case '=':
                    ok = expect(TK_EQ);
                    break;
                default:  // 'T'
                    ok = expect(TK_TO);
                    break;
            }
            if (!ok) {
                s.ending = Ending::Broken;
                return;
            }
        }
        end_of(s, context);
    }

    bool adjacent(size_t a, size_t b) const {
        return tokens_[a].line == tokens_[b].line &&
               tokens_[a].column + tokens_[a].length == tokens_[b].column;
    }

    bool letter_at(size_t t, char letter) const {
        return tokens_[t].kind == TK_VARIABLE &&
               text_[static_cast<size_t>(tokens_[t].offset)] == letter;
    }

    // var "=" expression end
    void assignment(Statement& s, Context context) {
        const size_t first = i_;
        ++i_;
        if (cur() == TK_EQ) {
            ++i_;
            if (!expression()) {
                s.ending = Ending::Broken;
                return;
            }
            end_of(s, context);
            return;
        }
        s.ending = Ending::Broken;
        if (letter_at(first, 'L') && letter_at(first + 1, 'E') && letter_at(first + 2, 'T') &&
            adjacent(first, first + 1) && adjacent(first + 1, first + 2)) {
            size_t end = first + 3;
            while (tokens_[end].kind != TK_CR && tokens_[end].kind != TK_ENDOFINPUT) ++end;
            const std::string rest = text_of(static_cast<int>(first + 3), static_cast<int>(end));
            pending_.push_back(finding_over(first, first + 2, Severity::Error,
                                            "There is no LET in this language: write " +
                                                operand_or(rest, "A=1") +
                                                " without it. A run stops here with an error.",
                                            "let.html"));
            return;
        }
        if (cur() == TK_VARIABLE && adjacent(first, i_)) {
            size_t end = i_;
            while (tokens_[end + 1].kind == TK_VARIABLE && adjacent(end, end + 1)) ++end;
            const std::string name = text_of(static_cast<int>(first), static_cast<int>(end + 1));
            if (name == "DATA") {
                pending_.push_back(finding_over(
                    first, end, Severity::Error,
                    "Only a line that reads exactly DATA starts the data section: with more on "
                    "the line it is code, and a run stops here with an error. Put the items on "
                    "the lines after a DATA line of its own.",
                    "comments_and_data.html"));
                return;
            }
            pending_.push_back(finding_over(
                first, end, Severity::Error,
                quoted(excerpt(name)) +
                    " is no variable: a variable is a single letter from A to Z, and " +
                    "a run stops here with an error. Use one letter.",
                "let.html"));
            return;
        }
        mismatch(TK_EQ);
    }

    // PRINT { text | expression | "," | ";" } end  -- any other token ends the list and is taken
    // for its ":"
    void print(Statement& s, Context context) {
        ++i_;
        for (;;) {
            const TokenKind t = cur();
            if (t == TK_STRING || t == TK_COMMA || t == TK_SEMICOLON) {
                ++i_;
            } else if (t == TK_VARIABLE || t == TK_NUMBER || t == TK_LEFTPAREN) {
                if (!expression()) {
                    s.ending = Ending::Broken;
                    return;
                }
            } else {
                break;
            }
            if (cur() == TK_CR || cur() == TK_ENDOFINPUT) break;
        }
        const TokenKind t = cur();
        if (t == TK_CR || t == TK_ENDOFINPUT) {
            if (t == TK_CR) ++i_;
            s.ending = Ending::Next;
            return;
        }
        if (t == TK_ELSE && context == Context::Then) {
            ++i_;
            s.ending = Ending::ElseRuns;
            return;
        }
        s.ending = Ending::Broken;
        if (t == TK_MINUS) {
            const std::string operand = operand_after(i_ + 1);
            note(i_, Severity::Error,
                 "A PRINT item cannot start with a minus sign: PRINT stops at it, and a run "
                 "then stops with an error. Write PRINT 0-" +
                     operand_or(operand, "A") + ".",
                 "traps.html");
            return;
        }
        note(i_, Severity::Error,
             "PRINT cannot print " + token_phrase(i_) +
                 ": an item is a text in quotes or a calculation that starts with a variable, a "
                 "number or \"(\". PRINT takes it for the end of the statement, and a run reads "
                 "what follows as a new one. Put a \":\" between two statements.",
             "print.html");
    }

    // IF relation THEN statement [ELSE statement]
    void if_statement(Statement& s, Context context) {
        const size_t if_at = i_;
        ++i_;
        int comparisons = 0;
        if (!relation(comparisons) || !expect(TK_THEN)) {
            s.ending = Ending::Broken;
            return;
        }
        const size_t then_at = i_ - 1;
        const std::string condition =
            operand_or(text_of(static_cast<int>(if_at + 1), static_cast<int>(then_at)), "...");
        if (cur() == TK_CR || cur() == TK_ENDOFINPUT) {
            note(then_at, Severity::Error,
                 "Nothing follows THEN: when the condition holds, a run stops here with "
                 "\"Unknown command\", and when it fails, the statement on the next line is "
                 "skipped as well. Put the statement on the line of the IF: IF " +
                     condition + " THEN PRINT ...",
                 "if.html");
            s.ending = Ending::Broken;
            return;
        }
        if (cur() == TK_ELSE) {
            pending_.push_back(finding_over(
                then_at, i_, Severity::Error,
                "Nothing stands between THEN and ELSE: when the condition holds, a run stops at "
                "ELSE with \"Unknown command\", and when it fails, the ELSE part is skipped as "
                "well. Turn the condition round and leave ELSE out: IF ... THEN followed by the "
                "ELSE part.",
                "if.html"));
            s.ending = Ending::Broken;
            return;
        }
        if (comparisons == 0) {
            pending_.push_back(finding_over(
                if_at + 1, then_at - 1, Severity::Warning,
                "A condition without <, > or = is always false: IF " + condition +
                    " THEN never runs what follows THEN. Compare it with something: IF " +
                    condition + ">0 THEN or IF " + condition + "=1 THEN.",
                "traps.html"));
        } else if (comparisons > 1) {
            pending_.push_back(finding_over(
                if_at + 1, then_at - 1, Severity::Warning,
                "Only the last comparison of a chain counts: each one compares the first value, "
                "so A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF "
                "B<C THEN ...",
                "operators.html"));
        }
        if (depth_ == MAX_NESTING) {
            s.ending = Ending::Broken;
            return;
        }
        s.then_part = statement(Context::Then);
        const Statement then = statements_[static_cast<size_t>(s.then_part)];
        switch (then.ending) {
            case Ending::Broken:
                s.ending = Ending::Broken;
                return;
            case Ending::Next:
                s.ending = Ending::Next;
                if (context == Context::Top) colon_after_branch(then);
                return;
            case Ending::Leaves:
                // Taken, the branch leaves; skipped, the run goes on at the first ELSE or ":".
                while (cur() != TK_ELSE && cur() != TK_CR && cur() != TK_ENDOFINPUT &&
                       cur() != TK_ERROR) {
                    ++i_;
                }
                if (cur() != TK_ELSE) {
                    if (cur() == TK_CR) ++i_;
                    s.ending = cur() == TK_ERROR ? Ending::Broken : Ending::Next;
                    return;
                }
                ++i_;
                break;
            case Ending::ElseRuns:
                note(i_ - 1, Severity::Warning,
                     "When the condition holds, PRINT takes this ELSE for its end and the ELSE "
                     "part runs as well: both print. Only GOTO, RETURN and END can stand before "
                     "ELSE. Give the ELSE part an IF of its own with the opposite condition, or "
                     "jump: IF " +
                         condition + " THEN GOTO ... ELSE ...",
                     "traps.html");
                break;
            case Ending::ElseMet:
                note(i_, Severity::Error, else_met_message(then, condition), "traps.html");
                ++i_;
                break;
        }
        s.else_part = statement(Context::Else);
        const Ending last = statements_[static_cast<size_t>(s.else_part)].ending;
        s.ending = last == Ending::Next     ? Ending::Next
                   : last == Ending::Leaves ? Ending::Leaves
                                            : Ending::Broken;
    }

    // The text of a branch's statement, up to its ELSE or ":" (shortened when long).
    std::string statement_text(const Statement& s) const {
        size_t end = static_cast<size_t>(s.first);
        while (tokens_[end].kind != TK_ELSE && tokens_[end].kind != TK_CR &&
               tokens_[end].kind != TK_ENDOFINPUT) {
            ++end;
        }
        return excerpt(text_of(s.first, static_cast<int>(end)));
    }

    std::string else_met_message(const Statement& then, const std::string& condition) {
        std::string message =
            "When the condition holds, the statement after THEN must end before ELSE can come: "
            "a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before "
            "ELSE.";
        // The ELSE part is not read yet: it starts behind the ELSE the parser stands on.
        size_t else_first = i_ + 1;
        if (then.kind == TK_VARIABLE && tokens_[else_first].kind == TK_VARIABLE &&
            text_[static_cast<size_t>(tokens_[else_first].offset)] ==
                text_[static_cast<size_t>(tokens_[static_cast<size_t>(then.first)].offset)]) {
            Statement else_part;
            else_part.first = static_cast<int>(else_first);
            return message + " Set the other value first, on a line of its own, then change it: " +
                   statement_text(else_part) + ", then IF " + condition + " THEN " +
                   statement_text(then) + ".";
        }
        return message + " Jump instead: IF " + condition +
               " THEN GOTO ... ELSE ..., or give each part an IF of its own.";
    }

    // IF ... THEN statement : more  -- the rest of the line runs whether the condition holds or
    // not.
    void colon_after_branch(const Statement& then) {
        const Token& colon = tokens_[i_ - 1];
        if (colon.length == 0 || cur() == TK_CR || cur() == TK_ENDOFINPUT ||
            cur_token().line != colon.line) {
            return;
        }
        size_t end = i_;
        while (tokens_[end + 1].kind != TK_CR && tokens_[end + 1].kind != TK_ENDOFINPUT) ++end;
        pending_.push_back(finding_over(
            i_, end, Severity::Warning,
            "Only " + statement_text(then) +
                " belongs to the IF: what follows the \":\" runs whether the condition holds or "
                "not. Put it on a line of its own, or jump over the lines that depend on the "
                "condition: IF ... THEN GOTO with the opposite condition.",
            "traps.html"));
    }

    void unknown(Statement& s, Context context) {
        s.ending = Ending::Broken;
        const Token& t = cur_token();
        const bool line_start =
            i_ == 0 || tokens_[i_ - 1].line != t.line || tokens_[i_ - 1].length == 0;
        std::string message;
        std::string page = "basics.html";
        switch (t.kind) {
            case TK_NUMBER:
                if (line_start && context == Context::Top) {
                    const std::string number =
                        text_of(static_cast<int>(i_), static_cast<int>(i_ + 1));
                    message =
                        "Lines have no numbers in this language: a run stops here with "
                        "\"Unknown command\". Remove " +
                        number + "; to jump here, put LABEL " + number +
                        " on the line before and write GOTO " + number + ".";
                    page = "label.html";
                } else {
                    message =
                        "A number cannot start a statement: a run stops here with "
                        "\"Unknown command\".";
                }
                break;
            case TK_CR:
                if (context == Context::Else) {
                    message =
                        "Nothing follows ELSE: when the condition fails, a run stops here "
                        "with \"Unknown command\". Put the statement for that case behind "
                        "ELSE, or leave ELSE out.";
                    page = "if.html";
                } else if (t.length == 0) {
                    message =
                        "A \":\" at the end of a line leaves an empty statement behind it, "
                        "and a run stops there with \"Unknown command\": remove the \":\".";
                } else {
                    message =
                        "An empty statement: two \":\" in a row, or one at the start of a "
                        "line, stop a run with \"Unknown command\". Remove the extra \":\".";
                }
                break;
            case TK_ELSE:
                message = line_start && context == Context::Top
                              ? "ELSE must stand on the line of its IF, behind the statement "
                                "after THEN: IF A=1 THEN GOTO 10 ELSE GOTO 20. Here a run stops "
                                "with \"Unknown command\"."
                              : "ELSE cannot start a statement: a run stops here with "
                                "\"Unknown command\".";
                page = "if.html";
                break;
            case TK_CALL:
                message =
                    "CALL is a word of the language, but there is no CALL statement: a run "
                    "stops here with \"Unknown command\". Call a subroutine with GOSUB.";
                page = "call.html";
                break;
            case TK_STRING:
                message =
                    "A text cannot stand on its own: a run stops here with \"Unknown "
                    "command\". Print it: PRINT " +
                    excerpt(text_of(static_cast<int>(i_), static_cast<int>(i_ + 1))) + ".";
                page = "print.html";
                break;
            default:
                message = token_phrase(i_) +
                          " cannot start a statement, and a run stops here with \"Unknown "
                          "command\": a statement starts with a word such as PRINT or FOR, or "
                          "with a variable letter, as in A=5.";
                if (keyword_of(t.kind) != nullptr && tokens_[i_ + 1].length > 0 &&
                    adjacent(i_, i_ + 1) &&
                    is_letter(text_[static_cast<size_t>(tokens_[i_ + 1].offset)])) {
                    message += " Words need no space after them, so a name that begins with " +
                               token_phrase(i_) +
                               " is read as that word; variables are single "
                               "letters.";
                }
                break;
        }
        if (!message.empty()) message[0] = static_cast<char>(std::toupper(message[0]));
        note(i_, Severity::Error, std::move(message), page);
    }

    int statement(Context context) {
        const size_t index = statements_.size();
        statements_.emplace_back();
        Statement s;
        s.kind = cur();
        s.first = static_cast<int>(i_);
        s.top = static_cast<int>(top_.size());
        s.conditional = context != Context::Top;
        const TokenKind outer = reading_;
        reading_ = s.kind;
        ++depth_;
        switch (s.kind) {
            case TK_VARIABLE:
                assignment(s, context);
                break;
            case TK_PRINT:
                print(s, context);
                break;
            case TK_IF:
                if_statement(s, context);
                break;
            case TK_GOTO:
                // GOTO number  -- the number is read from the text whatever stands there, and
                // nothing behind it is read
                ++i_;
                s.label = label_number(i_);
                s.label_token = static_cast<int>(i_);
                if (cur() == TK_NUMBER) ++i_;
                s.ending = Ending::Leaves;
                break;
            case TK_RETURN:
            case TK_END:
                ++i_;
                s.ending = Ending::Leaves;
                break;
            default:
                if (const char* parts = form_of(s.kind)) {
                    simple(s, parts, context);
                } else {
                    unknown(s, context);
                }
                break;
        }
        --depth_;
        reading_ = outer;
        statements_[index] = s;
        return static_cast<int>(index);
    }

    void parse() {
        token_top_.assign(tokens_.size(), 0);
        while (cur() != TK_ENDOFINPUT) {
            const size_t first = i_;
            const int s = statement(Context::Top);
            // A statement that did not read its ":" is left there: a run either stops in it or
            // never reads the rest.
            if (i_ == first || tokens_[i_ - 1].kind != TK_CR) {
                while (cur() != TK_CR && cur() != TK_ENDOFINPUT) ++i_;
                if (cur() == TK_CR) ++i_;
            }
            bool flagged = false;
            for (size_t k = first; k < i_; ++k) {
                token_top_[k] = static_cast<int>(top_.size());
                flagged = flagged || tokens_[k].flagged;
            }
            if (!flagged) findings_.insert(pending_.begin(), pending_.end());
            pending_.clear();
            top_.push_back(s);
        }
    }

    // ---- Labels -----------------------------------------------------------------------------

    // Each label number that some LABEL defines, and its index among them.
    std::unordered_map<int32_t, int> label_index_;
    // For each such label, the top-level statements that hold it, in the order of the text.
    std::vector<std::vector<int>> label_places_;

    int label_of(int32_t number) const {
        const auto at = label_index_.find(number);
        return at == label_index_.end() ? -1 : at->second;
    }

    void check_labels() {
        std::vector<size_t> first_at;  // the first LABEL token of each label
        for (size_t k = 0; k + 1 < tokens_.size(); ++k) {
            // A run finds a label wherever a LABEL token and a number follow each other.
            if (tokens_[k].kind != TK_LABEL || tokens_[k + 1].kind != TK_NUMBER) continue;
            const int32_t number = label_number(k + 1);
            const auto [at, fresh] =
                label_index_.emplace(number, static_cast<int>(label_places_.size()));
            if (fresh) {
                label_places_.emplace_back();
                first_at.push_back(k);
            } else {
                findings_.push_back(finding_over(
                    k, k + 1, Severity::Warning,
                    "LABEL " + std::to_string(number) + " is on line " +
                        std::to_string(tokens_[first_at[static_cast<size_t>(at->second)]].line) +
                        " already: a jump goes to the one a run passed first, or else to the "
                        "first in the text. Give each label its own number.",
                    "label.html"));
            }
            label_places_[static_cast<size_t>(at->second)].push_back(token_top_[k]);
        }
        for (const Statement& s : statements_) {
            if ((s.kind != TK_GOTO && s.kind != TK_GOSUB) || s.label_token < 0) continue;
            const auto at = static_cast<size_t>(s.label_token);
            const bool defined = label_of(s.label) >= 0;
            const std::string number = std::to_string(s.label);
            if (s.kind == TK_GOTO && tokens_[at].kind != TK_NUMBER) {
                const std::string target = "LABEL " + number;
                std::string message = "GOTO needs a label number written in digits: ";
                if (tokens_[at].kind == TK_VARIABLE) {
                    const std::string v = text_of(s.label_token, s.label_token + 1);
                    message += "GOTO " + v + " jumps to " + target + ", whatever " + v + " holds";
                } else {
                    message += "without one it jumps to " + target;
                }
                message += defined ? "." : ", and there is no " + target + ".";
                findings_.push_back(finding_at(at, defined ? Severity::Warning : Severity::Error,
                                               std::move(message), "goto.html"));
                continue;
            }
            if (tokens_[at].kind != TK_NUMBER || defined) continue;
            const std::string word = s.kind == TK_GOTO ? "GOTO" : "GOSUB";
            findings_.push_back(finding_at(at, Severity::Error,
                                           "There is no LABEL " + number +
                                               ": a run looks for it through the whole program "
                                               "and stops at the last line. Put LABEL " +
                                               number + " where the " + word + " should go, or " +
                                               word + " a label that exists.",
                                           "traps.html"));
        }
    }

    // ---- Loops ------------------------------------------------------------------------------

    static std::string letter(int variable) {
        return std::string(1, static_cast<char>('A' + variable));
    }

    // FOR and NEXT in the order of the text: each NEXT closes the innermost loop, and every
    // loop needs a NEXT.
    void check_loops() {
        struct Open {
            int variable;
            size_t statement;
            bool has_next;  // a NEXT in a branch of an IF closes it
        };
        std::vector<Open> open;
        std::vector<size_t> open_of[VARIABLE_COUNT];  // where each variable's loops are in `open`
        for (size_t k = 0; k < statements_.size(); ++k) {
            const Statement& s = statements_[k];
            if (s.variable < 0 || s.ending == Ending::Broken ||
                (s.kind != TK_FOR && s.kind != TK_NEXT)) {
                continue;
            }
            std::vector<size_t>& places = open_of[s.variable];
            if (s.kind == TK_FOR) {
                places.push_back(open.size());
                open.push_back({s.variable, k, false});
                continue;
            }
            const std::string v = letter(s.variable);
            const auto first = static_cast<size_t>(s.first);
            if (places.empty()) {
                findings_.push_back(
                    finding_over(first, first + 1, Severity::Error,
                                 "NEXT " + v + " has no FOR " + v +
                                     " before it: a run stops here with "
                                     "\"NEXT does not match\". Open the loop first: FOR " +
                                     v + "=1 TO 10.",
                                 "next.html"));
                continue;
            }
            const size_t at = places.back();
            if (at + 1 != open.size()) {
                const Open& inner = open.back();
                const std::string w = letter(inner.variable);
                const Statement& f = statements_[inner.statement];
                findings_.push_back(finding_over(
                    first, first + 1, Severity::Error,
                    "NEXT " + v + " comes while the loop FOR " + w + " of line " +
                        std::to_string(tokens_[static_cast<size_t>(f.first)].line) +
                        " is still open: a run stops here with \"NEXT does not match\". Close "
                        "the inner loop first: NEXT " +
                        w + " before NEXT " + v + ".",
                    "next.html"));
            }
            // A NEXT in a branch of an IF may be one of several for the same loop.
            if (s.conditional) {
                open[at].has_next = true;
                continue;
            }
            while (open.size() > at) {
                open_of[open.back().variable].pop_back();
                open.pop_back();
            }
        }
        for (const Open& o : open) {
            if (o.has_next) continue;
            const Statement& f = statements_[o.statement];
            const auto first = static_cast<size_t>(f.first);
            const std::string v = letter(o.variable);
            findings_.push_back(
                finding_over(first, first + 1, Severity::Warning,
                             "FOR " + v + " has no NEXT " + v +
                                 " after it: the lines after it run once, and "
                                 "the loop stays open (a fifth open loop stops a run). Put NEXT " +
                                 v + " where the loop ends.",
                             "for.html"));
        }
    }

    // ---- Flow -------------------------------------------------------------------------------

    // The places a run can be: the top-level statements, then one node per label, which leads
    // to every LABEL of that number.
    int label_node(int label) const { return static_cast<int>(top_.size()) + label; }

    // Where a run can go from statement `k` when the top-level statement after it is `next`
    // (-1 at the end of the program): `to` for the statements that follow, `calls` for the
    // subroutines GOSUB enters.
    void flow(int k, int next, std::vector<int>& to, std::vector<int>& calls) const {
        const Statement& s = statements_[static_cast<size_t>(k)];
        const auto go_on = [&] {
            if (next >= 0) to.push_back(next);
        };
        switch (s.kind) {
            case TK_GOTO: {
                const int label = label_of(s.label);
                // A jump to no label stops the run; what follows is not reported for it again.
                if (label < 0) {
                    go_on();
                } else {
                    to.push_back(label_node(label));
                }
                return;
            }
            case TK_GOSUB: {
                go_on();
                const int label = label_of(s.label);
                if (s.ending != Ending::Broken && label >= 0) calls.push_back(label_node(label));
                return;
            }
            case TK_RETURN:
            case TK_END:
                return;
            case TK_IF:
                if (s.then_part < 0) {
                    go_on();
                    return;
                }
                flow(s.then_part, next, to, calls);
                if (s.else_part >= 0) {
                    flow(s.else_part, next, to, calls);
                } else {
                    go_on();
                }
                return;
            default:
                go_on();
                return;
        }
    }

    static std::vector<bool> reach(const std::vector<int>& from,
                                   const std::vector<std::vector<int>>& edges,
                                   const std::vector<std::vector<int>>* calls) {
        std::vector<bool> seen(edges.size(), false);
        std::vector<int> work;
        const auto visit = [&](int k) {
            if (k >= 0 && !seen[static_cast<size_t>(k)]) {
                seen[static_cast<size_t>(k)] = true;
                work.push_back(k);
            }
        };
        for (int k : from) visit(k);
        while (!work.empty()) {
            const auto k = static_cast<size_t>(work.back());
            work.pop_back();
            for (int n : edges[k]) visit(n);
            if (calls != nullptr) {
                for (int n : (*calls)[k]) visit(n);
            }
        }
        return seen;
    }

    void check_flow() {
        const size_t n = top_.size();
        if (n == 0) return;
        std::vector<std::vector<int>> to(n + label_places_.size());
        std::vector<std::vector<int>> calls(to.size());
        for (size_t k = 0; k < n; ++k) {
            flow(top_[k], k + 1 < n ? static_cast<int>(k + 1) : -1, to[k], calls[k]);
        }
        for (size_t label = 0; label < label_places_.size(); ++label) {
            to[n + label] = label_places_[label];
        }
        // Without GOSUB's subroutines, with them, and what the subroutines reach.
        const std::vector<bool> main = reach({0}, to, nullptr);
        const std::vector<bool> any = reach({0}, to, &calls);
        std::vector<int> entries;
        std::vector<bool> entered(label_places_.size(), false);
        for (size_t k = 0; k < n; ++k) {
            if (!any[k]) continue;
            for (int e : calls[k]) {
                entries.push_back(e);
                entered[static_cast<size_t>(e) - n] = true;
            }
        }
        const std::vector<bool> called = reach(entries, to, &calls);
        // For each top-level statement, the nearest statement at or above it that is a LABEL a
        // GOSUB enters: where a subroutine starts. -1 for none.
        std::vector<int> entered_above(n, -1);
        for (size_t k = 0; k < n; ++k) {
            const Statement& s = statements_[static_cast<size_t>(top_[k])];
            const int label =
                s.kind == TK_LABEL && s.ending != Ending::Broken ? label_of(s.label) : -1;
            entered_above[k] = label >= 0 && entered[static_cast<size_t>(label)]
                                   ? static_cast<int>(k)
                                   : (k > 0 ? entered_above[k - 1] : -1);
        }

        for (const Statement& s : statements_) {
            if (s.kind != TK_RETURN) continue;
            const auto k = static_cast<size_t>(s.top);
            if (!main[k]) continue;
            std::string message;
            if (!called[k]) {
                message =
                    "No GOSUB leads to this RETURN: a run that gets here stops with "
                    "\"RETURN does not match\". RETURN ends a subroutine that GOSUB "
                    "called; to end the program, write END.";
            } else {
                const int start = entered_above[k];
                message =
                    "A run also comes to this RETURN from the lines above, without a "
                    "GOSUB, and stops here with \"RETURN does not match\": put END " +
                    (start < 0
                         ? std::string("before the LABEL where the subroutine starts")
                         : "before LABEL " +
                               std::to_string(statements_[static_cast<size_t>(
                                                              top_[static_cast<size_t>(start)])]
                                                  .label) +
                               ", where the subroutine starts") +
                    ".";
            }
            findings_.push_back(finding_at(static_cast<size_t>(s.first), Severity::Error,
                                           std::move(message), "return.html"));
        }

        for (size_t k = 1; k < n;) {
            if (any[k]) {
                ++k;
                continue;
            }
            size_t end = k;
            bool code = false;
            while (end < n && !any[end]) {
                code = code || statements_[static_cast<size_t>(top_[end])].kind != TK_LABEL;
                ++end;
            }
            if (code) never_runs(k);
            k = end;
        }
    }

    // The top-level statements from `k` on never run.
    void never_runs(size_t k) {
        const Statement& before = statements_[static_cast<size_t>(top_[k - 1])];
        const Statement& s = statements_[static_cast<size_t>(top_[k])];
        std::string reason;
        std::string page = "goto.html";
        switch (before.kind) {
            case TK_END:
                reason = "the END before it stops the run";
                page = "end.html";
                break;
            case TK_GOTO:
                reason = "the GOTO before it always jumps away";
                break;
            case TK_RETURN:
                reason = "the RETURN before it always goes back to its GOSUB";
                page = "return.html";
                break;
            case TK_IF:
                reason = "the IF before it jumps away whichever way it goes";
                page = "if.html";
                break;
            default:
                reason = "no statement before it goes on to it";
                break;
        }
        std::string message;
        if (s.kind == TK_LABEL) {
            message = "No GOTO or GOSUB that runs jumps to LABEL " + std::to_string(s.label) +
                      ", and " + reason +
                      ": the lines from here never run. Jump to the label, "
                      "or remove these lines.";
        } else {
            message = "This line never runs: " + reason +
                      ", and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it "
                      "that a jump goes to.";
        }
        const auto first = static_cast<size_t>(s.first);
        size_t last = first;
        while (tokens_[last + 1].kind != TK_CR && tokens_[last + 1].kind != TK_ENDOFINPUT) ++last;
        findings_.push_back(finding_over(first, last, Severity::Warning, std::move(message), page));
    }
};

}  // namespace

std::vector<Finding> check_program(std::string_view editor_text,
                                   std::span<const TextPoint> foreign) {
    return Checker(editor_text, foreign, SIZE_MAX).run().findings;
}

BoundedFindings check_program_bounded(std::string_view editor_text, size_t limit,
                                      std::span<const TextPoint> foreign) {
    return Checker(editor_text, foreign, limit).run();
}

std::string finding_text(const Finding& finding) {
    return std::to_string(finding.line) + ":" + std::to_string(finding.column) + ": " +
           finding.message;
}
