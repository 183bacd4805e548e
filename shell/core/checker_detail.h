// The checker's inside, shared by its parts: checker_scan.cpp splits the lines into tokens and
// finds what the scanner cannot take, checker_statements.cpp reads the statements by their
// forms in grammar.h, checker_flow.cpp follows labels, loops and jumps, and
// checker_messages.cpp words the findings. Only checker.h is for other code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "checker.h"
#include "checker_messages.h"
#include "grammar.h"
#include "tokens.h"

namespace checker_detail {

inline bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
inline bool is_number_char(char c) {
    return is_digit(c) || c == '.';
}
inline bool is_lower(char c) {
    return c >= 'a' && c <= 'z';
}
inline bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || is_lower(c);
}
inline bool is_hex_digit(char c) {
    return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
inline bool is_comparison(TokenKind t) {
    return t == TK_LT || t == TK_GT || t == TK_EQ;
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
    bool unread = false;    // behind a GOTO, RETURN or END on its line: a run never reads it
    bool in_print = false;  // read as one of PRINT's items
};

// A finding of the scan that depends on how a run meets its token: behind a GOTO, RETURN or
// END a run never reads it, and in PRINT's list a number read twice prints more.
struct Deferred {
    size_t token = 0;
    enum Kind : unsigned char { Character, Comment, ReadTwice } kind = Character;
    bool scans_clean = true;  // a comment: every character a token a label search can pass
    int length = 0;           // a number read twice: its characters as written
    int finding = -1;         // a character or a comment: its finding in `deferred_findings_`
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

// Statements and brackets nested deeper than this are not read further. A program that fits the
// store nests far less; the limit keeps a pasted text of megabytes from exhausting the stack.
inline constexpr int MAX_NESTING = 500;

// The findings as they are found, in no order, of which only the first `limit` by line and column
// are kept: a pasted text of megabytes of mistakes must not take gigabytes to report. The list
// is thinned whenever it holds twice the limit, so the memory stays in proportion to the limit.
struct FindingCollector {
    std::vector<Finding> kept;
    size_t limit = SIZE_MAX;
    size_t dropped = 0;
    size_t dropped_warnings = 0;

    void push_back(Finding f);
    template <typename It>
    void insert(It first, It last) {
        for (; first != last; ++first) push_back(*first);
    }
    // Sorts what is kept and drops all after the first `limit`. The sort is stable, so of two
    // findings at one place the one found first stays first, as it would with no limit.
    void keep_first();
};

class Checker {
   public:
    Checker(std::string_view editor_text, std::span<const TextPoint> foreign, size_t limit);
    BoundedFindings run();

   private:
    std::span<const TextPoint> foreign_;
    size_t next_foreign_ = 0;
    std::string text_;  // the program lines, each ended by a NUL, as the scanner reads them
    std::vector<Token> tokens_;
    FindingCollector findings_;
    int last_line_ = 0;
    std::vector<Deferred> deferred_;
    std::vector<Finding> deferred_findings_;
    bool line_leaves_ = false;  // the line being scanned has a GOTO, RETURN or END so far
    bool line_prints_ = false;  // ... a PRINT
    bool line_deferred_character_ = false;

    // ---- Shared (checker.cpp)
    void add(int line, int column, int length, Severity severity, Text text);
    std::string text_of(int from, int to) const;
    bool adjacent(size_t a, size_t b) const;
    // Where a finding about token `t` goes: on it, or on the token before when it is the end
    // of a line.
    Finding finding_at(size_t t, Severity severity, Text text) const;
    Finding finding_over(size_t from, size_t to, Severity severity, Text text) const;
    int32_t label_number(size_t at) const;
    std::string token_phrase(size_t t) const;

    // ---- Lines and characters (checker_scan.cpp)
    void read_lines(std::string_view editor_text);
    size_t read_data(std::string_view editor_text, size_t pos, int line_number);
    std::vector<int> unfit_columns(int line_number, std::string_view line);
    void report_unfit(int line_number, const std::vector<int>& columns);
    void scan_line(int line_number, std::string_view line);
    int bad_characters(int line_number, const char* begin, int p, int n, bool quiet);
    int number_form(Token& token, const char* begin);
    std::string operand_before(size_t at) const;
    std::string operand_after(size_t at) const;
    void check_comparisons(size_t first);
    bool rem_line(int line_number, std::string_view line, int p);
    void scan_finding(Deferred d, Finding f);
    Finding read_twice(const Token& token, int written_length, bool in_print) const;
    void settle_deferred();
    bool searched_label_after(size_t t);
    size_t last_searched_label_ = SIZE_MAX;  // the last LABEL token a jump names, 0 for none

    // ---- Statements (checker_statements.cpp)
    std::vector<Statement> statements_;  // in the order of the text
    std::vector<int> top_;               // the statements a run starts at a ":", in order
    std::vector<int> token_top_;         // the top-level statement of each token
    std::vector<Finding> pending_;       // the findings of the statement being read
    size_t i_ = 0;
    TokenKind reading_ = TK_ERROR;  // the statement whose parts are being read
    size_t reading_first_ = 0;      // its first token
    int depth_ = 0;                 // statements and brackets being read inside each other

    const Token& cur_token() const { return tokens_[i_]; }
    TokenKind cur() const { return tokens_[i_].kind; }
    void note(size_t t, Severity severity, Text text);
    std::string reading_name() const;
    std::string reading_page() const;
    void mismatch(TokenKind expected);
    bool expect(TokenKind expected);
    bool factor();
    bool term();
    bool expression();
    bool relation(int& comparisons);
    bool print_items();
    void end_of(Statement& s, Context context);
    void print_end(Statement& s, Context context);
    void read_form(Statement& s, const StatementForm& form, Context context);
    void branches(Statement& s, Context context, int comparisons);
    bool letter_at(size_t t, char letter) const;
    bool misnamed_assignment();
    std::string statement_text(const Statement& s) const;
    std::string else_met_message(const Statement& then, const std::string& condition) const;
    void colon_after_branch(const Statement& then);
    void unknown(Statement& s, Context context);
    std::string word_at(size_t t) const;
    bool word_hint(size_t t);
    bool function_call();
    void constant_checks(const Statement& s);
    bool constant_at(size_t from, size_t to, double& value) const;
    void divisor_check(size_t at);
    int statement(Context context);
    void parse();

    // ---- Labels, loops, flow (checker_flow.cpp)
    // Each label number that some LABEL defines, and its index among them.
    std::unordered_map<int32_t, int> label_index_;
    // For each such label, the top-level statements that hold it, in the order of the text.
    std::vector<std::vector<int>> label_places_;

    int label_of(int32_t number) const;
    void check_labels();
    void check_loops();
    int label_node(int label) const { return static_cast<int>(top_.size()) + label; }
    void flow(int k, int next, std::vector<int>& to, std::vector<int>& calls) const;
    void check_flow();
    void never_runs(size_t k);
    std::vector<bool> reached_;  // each top-level statement: some run gets there
    std::vector<std::vector<int>> to_, calls_;
    void build_flow();
    std::vector<bool> check_jumps_out_of_loops(const std::vector<std::pair<size_t, size_t>>& loops);
    void check_subroutines();
};

}  // namespace checker_detail
