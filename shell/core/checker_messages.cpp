#include "checker_messages.h"

#include <algorithm>
#include <array>
#include <vector>

#include "explain.h"
#include "grammar.h"
#include "interp.h"

namespace checker_detail {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool is_whole_literal(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    return std::all_of(s.begin() + (s[0] == '-' ? 1 : 0), s.end(), is_digit) && s != "-";
}

std::string not_equal(const std::string& op, const std::string& left, const std::string& right) {
    const std::string a = operand_or(left, "A");
    const std::string b = operand_or(right, "B");
    return quoted(op) + " is not an operator of this language: there is no \"not equal\". Test " +
           a + "<" + b + " and " + a + ">" + b + " in two IF lines, or turn the test round: IF " +
           a + "=" + b + " THEN ... ELSE ...";
}

}  // namespace

const char* keyword_of(TokenKind t) {
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        if (k->token == t) return k->keyword;
    }
    return nullptr;
}

std::string quoted(std::string_view text) {
    std::string q;
    q.reserve(text.size() + 2);
    q += '"';
    q += text;
    q += '"';
    return q;
}

std::string excerpt(std::string text) {
    if (text.size() > MAX_QUOTED_CHARS) text = text.substr(0, MAX_QUOTED_CHARS - 3) + "...";
    return text;
}

std::string operand_or(const std::string& text, const char* fallback) {
    return text.empty() || text.size() > MAX_QUOTED_CHARS ? fallback : text;
}

namespace msg {

// ---- Lines and characters -------------------------------------------------------------------

Text too_large(size_t bytes) {
    return {"The program does not fit from this line on: RUN needs " + std::to_string(bytes) +
                " bytes or more for it (each line, a \":\" behind each, and the DATA bytes), "
                "and a program may have " +
                std::to_string(PROGRAM_STORE_SIZE) +
                ". RUN does not start it: make the program shorter.",
            "basics.html"};
}

Text comment_in_data(size_t bytes) {
    return {
        "After the DATA line, comment lines are data too: the digits, dots and stars of this "
        "one add " +
            std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") +
            " to the data. Put comments before the DATA line.",
        "comments_and_data.html"};
}

Text unfit_character() {
    return {
        "RUN does not start a program while a line holds a character like this: a NUL, or one "
        "with no 8-bit form, such as a curly quote. Type it again with plain characters.",
        "basics.html"};
}

Text unclosed_text() {
    return {
        "This text has no closing quote on its line: end it with \" before the end of the "
        "line. A text cannot go on over the next line, and a run stops here with an error.",
        "print.html"};
}

Text long_number(int length) {
    return {"A number has at most 15 characters, its minus sign included, and this one has " +
                std::to_string(length) +
                ": a run stops here with an error. Write it with fewer digits.",
            "basics.html"};
}

Text lower_case(const std::string& word) {
    std::string upper = word;
    for (char& ch : upper) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    return {"The language knows only upper-case letters: write " + upper + " instead of " + word +
                ". A run stops here with an error.",
            "traps.html#lower-case"};
}

Text tab() {
    return {
        "A tab is not a space in this language, and a run stops here with an error: use "
        "spaces instead.",
        "traps.html#tab"};
}

Text foreign_character(char c) {
    if (c > 32 && c < 127) {
        return {quoted(std::string_view(&c, 1)) +
                    " is not part of the language: a run stops here with an error. Remove it.",
                "basics.html"};
    }
    return {
        "This character is not part of the language: a run stops here with an error. Remove "
        "it.",
        "basics.html"};
}

Text comment_after_code() {
    return {
        "\"//\" starts a comment only at the start of a line: after code it is two division "
        "signs, and a run stops here with an error. Put the comment on a line of its own.",
        "traps.html#comment-after-code"};
}

Text number_read_twice(const std::string& written, const std::string& rest,
                       const std::string& plain) {
    const bool digits_only = std::none_of(plain.begin(), plain.end(), is_letter);
    const std::string instead =
        digits_only ? "Write " + plain + "." : "Write the number out in digits, without E.";
    return {written + " is not a number of this language: a run takes it for " + plain +
                ", but then reads " + rest + " once more, as more of the statement. " + instead,
            "traps.html#e-notation"};
}

Text comparison(const std::string& op, const std::string& left, const std::string& right) {
    const std::string l = operand_or(left, "A");
    const std::string r = operand_or(right, "B");
    if (op == "<=" || op == "=<" || op == ">=" || op == "=>") {
        const char sign = op.find('<') != std::string::npos ? '<' : '>';
        std::string whole;
        if (is_whole_literal(r)) {
            whole = l + sign + std::to_string(std::stol(r) + (sign == '<' ? 1 : -1));
        } else {
            whole = l + sign + r + (sign == '<' ? "+1" : "-1");
        }
        return {quoted(op) +
                    " is not an operator of this language: only <, > and = compare. For whole "
                    "numbers write " +
                    whole + "; otherwise test " + l + sign + r + " and " + l + "=" + r +
                    " in two IF lines.",
                "traps.html#comparisons"};
    }
    if (op == "<>" || op == "><" || op == "!=")
        return {not_equal(op, left, right), "traps.html#comparisons"};
    if (op == "==") {
        return {"\"==\" is not an operator of this language: equal is a single =, as in " + l +
                    "=" + r + ".",
                "operators.html"};
    }
    return {quoted(op) +
                " is not an operator of this language: a comparison is one of <, > and =, "
                "between two values.",
            "operators.html"};
}

Text rem_comment(const std::string& word) {
    return {"Comments start with // at the start of a line, not with " + word +
                ": a run stops here with an error. Write // instead of " + word + ".",
            "comments_and_data.html"};
}

Text comment_never_read() {
    return {
        "A run never reads this comment, as nothing after a GOTO, RETURN or END on its line "
        "is read; but \"//\" starts a comment only at the start of a line, and after any "
        "other statement it stops a run. Put the comment on a line of its own.",
        "traps.html"};
}

Text label_search_stops(const std::string& message) {
    return {
        "A run never reads this part of the line, but a search for a LABEL further down "
        "passes it: " +
            message,
        "traps.html"};
}

Text print_read_twice(const std::string& written, const std::string& plain,
                      const std::string& rest) {
    const bool digits_only = std::none_of(plain.begin(), plain.end(), is_letter);
    const std::string instead =
        digits_only ? "Write " + plain + "." : "Write the number out in digits, without E.";
    const std::string letter = rest.substr(0, 1);
    if (letter == "E" || letter == "e") {
        const bool sign = rest.size() > 1 && (rest[1] == '+' || rest[1] == '-');
        const std::string digits = rest.substr(rest.size() > 1 && rest[1] == '+' ? 2 : 1);
        return {"PRINT " + written + " prints " + plain + " and then " + digits + " (" + rest +
                    " is read once more, as " + letter + (sign ? "" : "+") + rest.substr(1) +
                    ", with " + letter + " at 0): numbers have no E in this language. " + instead,
                "traps.html"};
    }
    return {"PRINT " + written + " prints " + plain + " and then reads " + rest +
                " once more, as more items to print: numbers have no 0X in this language. " +
                instead,
            "traps.html"};
}

// ---- Statements -----------------------------------------------------------------------------

std::string token_phrase(TokenKind kind, const std::string& text, bool line_end) {
    switch (kind) {
        case TK_CR:
            return line_end ? "the end of the line" : "\":\"";
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
    if (keyword_of(kind) != nullptr) return text;
    return quoted(text);
}

std::string expected_phrase(TokenKind t) {
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

Text comparison_in_brackets() {
    return {
        "A comparison cannot stand inside brackets, and a run stops here with an error: only "
        "calculations can. Write the condition without them: IF A<B THEN ...",
        "operators.html"};
}

Text exp_is_not_e() {
    return {
        "EXP is not e to the power of x: like POW, it raises its first value to the power of "
        "its second and stores the result in the variable named last, as in EXP 2,10,A. For "
        "e to the power of X write EXP 2.718281828459,X,A. As it stands, a run stops here "
        "with an error.",
        "exp.html"};
}

Text minus_after_sign() {
    return {
        "A minus sign can start a calculation or stand right before a digit, but not follow "
        "another sign: A*-B does not work. Write A*(0-B).",
        "operators.html"};
}

std::string needs(const std::string& name, TokenKind expected, const std::string& got,
                  bool joined) {
    std::string message = name + " needs " + expected_phrase(expected) + " here, not " + got +
                          ": a run stops here with an error.";
    if (joined) message += " Two statements need a \":\" between them.";
    return message;
}

Text no_let(const std::string& rest) {
    return {"There is no LET in this language: write " + operand_or(rest, "A=1") +
                " without it. A run stops here with an error.",
            "let.html"};
}

Text data_with_more() {
    return {
        "Only a line that reads exactly DATA starts the data section: with more on the line "
        "it is code, and a run stops here with an error. Put the items on the lines after a "
        "DATA line of its own.",
        "comments_and_data.html"};
}

Text long_name(const std::string& name) {
    return {quoted(excerpt(name)) +
                " is no variable: a variable is a single letter from A to Z, and a run stops "
                "here with an error. Use one letter.",
            "let.html"};
}

Text print_minus(const std::string& operand) {
    return {
        "A PRINT item cannot start with a minus sign: PRINT stops at it, and a run then stops "
        "with an error. Write PRINT 0-" +
            operand_or(operand, "A") + ".",
        "traps.html#print-minus"};
}

Text print_cannot(const std::string& got) {
    return {"PRINT cannot print " + got +
                ": an item is a text in quotes or a calculation that starts with a variable, a "
                "number or \"(\". PRINT takes it for the end of the statement, and a run reads "
                "what follows as a new one. Put a \":\" between two statements.",
            "print.html"};
}

Text nothing_after_then(const std::string& condition) {
    return {
        "Nothing follows THEN: when the condition holds, a run stops here with \"Unknown "
        "command\", and when it fails, the statement on the next line is skipped as well. "
        "Put the statement on the line of the IF: IF " +
            condition + " THEN PRINT ...",
        "if.html"};
}

Text nothing_between_then_and_else() {
    return {
        "Nothing stands between THEN and ELSE: when the condition holds, a run stops at ELSE "
        "with \"Unknown command\", and when it fails, the ELSE part is skipped as well. Turn "
        "the condition round and leave ELSE out: IF ... THEN followed by the ELSE part.",
        "if.html"};
}

Text condition_without_comparison(const std::string& condition) {
    return {"A condition without <, > or = is always false: IF " + condition +
                " THEN never runs what follows THEN. Compare it with something: IF " + condition +
                ">0 THEN or IF " + condition + "=1 THEN.",
            "traps.html#no-comparison"};
}

Text comparison_chain() {
    return {
        "Only the last comparison of a chain counts: each one compares the first value, so "
        "A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF B<C THEN ...",
        "operators.html"};
}

Text print_takes_else(const std::string& condition) {
    return {
        "When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs "
        "as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE "
        "part an IF of its own with the opposite condition, or jump: IF " +
            condition + " THEN GOTO ... ELSE ...",
        "traps.html#if-then-else"};
}

std::string else_met() {
    return "When the condition holds, the statement after THEN must end before ELSE can come: a "
           "run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before "
           "ELSE.";
}

Text colon_after_branch(const std::string& branch) {
    return {"Only " + branch +
                " belongs to the IF: what follows the \":\" runs whether the condition holds or "
                "not. Put it on a line of its own, or jump over the lines that depend on the "
                "condition: IF ... THEN GOTO with the opposite condition.",
            "traps.html#rest-after-if"};
}

Text line_number(const std::string& number) {
    return {
        "Lines have no numbers in this language: a run stops here with \"Unknown command\". "
        "Remove " +
            number + "; to jump here, put LABEL " + number + " on the line before and write GOTO " +
            number + ".",
        "label.html"};
}

Text number_starts() {
    return {"A number cannot start a statement: a run stops here with \"Unknown command\".",
            "basics.html"};
}

Text nothing_after_else() {
    return {
        "Nothing follows ELSE: when the condition fails, a run stops here with \"Unknown "
        "command\". Put the statement for that case behind ELSE, or leave ELSE out.",
        "if.html"};
}

Text colon_at_line_end() {
    return {
        "A \":\" at the end of a line leaves an empty statement behind it, and a run stops "
        "there with \"Unknown command\": remove the \":\".",
        "basics.html"};
}

Text empty_statement() {
    return {
        "An empty statement: two \":\" in a row, or one at the start of a line, stop a run "
        "with \"Unknown command\". Remove the extra \":\".",
        "basics.html"};
}

Text misplaced_else(bool line_start) {
    return {line_start ? "ELSE must stand on the line of its IF, behind the statement after THEN: "
                         "IF A=1 THEN GOTO 10 ELSE GOTO 20. Here a run stops with \"Unknown "
                         "command\"."
                       : "ELSE cannot start a statement: a run stops here with \"Unknown "
                         "command\".",
            "if.html"};
}

Text call() {
    return {
        "CALL is a word of the language, but there is no CALL statement: a run stops here "
        "with \"Unknown command\". Call a subroutine with GOSUB.",
        "call.html"};
}

Text text_alone(const std::string& text) {
    return {
        "A text cannot stand on its own: a run stops here with \"Unknown command\". Print "
        "it: PRINT " +
            excerpt(text) + ".",
        "print.html"};
}

Text cannot_start(const std::string& word, bool glued_word) {
    std::string message = word +
                          " cannot start a statement, and a run stops here with \"Unknown "
                          "command\": a statement starts with a word such as PRINT or FOR, or "
                          "with a variable letter, as in A=5.";
    if (glued_word) {
        message += " Words need no space after them, so a name that begins with " + word +
                   " is read as that word; variables are single letters.";
    }
    if (!message.empty() && message[0] >= 'a' && message[0] <= 'z') {
        message[0] = static_cast<char>(message[0] - 'a' + 'A');
    }
    return {message, "basics.html"};
}

std::string form_of(TokenKind statement) {
    if (statement == TK_FOR) return "FOR I=1 TO 10";
    if (statement == TK_NEXT) return "NEXT I";
    if (statement == TK_IF) return "IF A<B THEN PRINT A";
    const StatementForm* form = statement_form(statement);
    const char* keyword = keyword_of(statement);
    if (form == nullptr || keyword == nullptr) return {};
    const bool values = std::find(form->pieces.begin(), form->pieces.end(), Piece::Expression) !=
                        form->pieces.end();
    static constexpr std::array<char, 3> names = {'X', 'Y', 'Z'};
    size_t named = 0;
    std::string text = keyword;
    bool first = true;
    for (const Piece piece : form->pieces) {
        if (piece == Piece::None) break;
        if (first && piece != Piece::Comma) text += ' ';
        first = false;
        switch (piece) {
            case Piece::Expression:
                text += names[std::min(named++, names.size() - 1)];
                break;
            case Piece::Variable:
                text += values ? 'A' : names[std::min(named++, names.size() - 1)];
                break;
            case Piece::Number:
            case Piece::LabelText:
                text += "10";
                break;
            case Piece::Comma:
                text += ',';
                break;
            case Piece::Equals:
                text += '=';
                break;
            case Piece::Items:
                text += "\"A IS \";A";
                break;
            default:
                break;
        }
    }
    return text;
}

Text end_if() {
    return {
        "There is no END IF: END ends the program here. An IF holds one statement, on its "
        "own line: IF A>1 THEN PRINT A; for more lines, jump over them with IF ... THEN "
        "GOTO and the opposite condition.",
        "if.html"};
}

namespace {

struct ForeignWord {
    const char* word;
    Text text;
};

const std::array<ForeignWord, 19>& foreign_words() {
    static const std::array<ForeignWord, 19> words = {{
        {"ABS",
         {"There is no ABS: FABS is a statement, as in FABS X,A. A run stops here with an "
          "error.",
          "fabs.html"}},
        {"MOD",
         {"There is no MOD: the remainder is %, as in A=B%3. A run stops here with an error.",
          "operators.html"}},
        {"INPUT",
         {"There is no INPUT: a program reads the satellite's sensors with MGET, CGET, TGET "
          "and RX. A run stops here with an error.",
          "devices.html"}},
        {"DIM",
         {"There is no DIM: the variables are the letters A to Z, each ready without it, and "
          "POKE and PEEK keep a table of values. A run stops here with an error.",
          "poke.html"}},
        {"WHILE",
         {"There is no WHILE: loop with a LABEL and IF ... THEN GOTO back to it, or with FOR "
          "and NEXT. A run stops here with an error.",
          "goto.html"}},
        {"WEND",
         {"There is no WEND: jump back with GOTO to the LABEL where the loop starts. A run "
          "stops here with an error.",
          "goto.html"}},
        {"DO",
         {"There is no DO: loop with a LABEL and IF ... THEN GOTO back to it. A run stops "
          "here with an error.",
          "goto.html"}},
        {"LOOP",
         {"There is no LOOP: jump back with GOTO to the LABEL where the loop starts. A run "
          "stops here with an error.",
          "goto.html"}},
        {"STEP",
         {"There is no STEP: a FOR loop counts up by 1. Count with a variable: FOR K=0 TO 5, "
          "and I=K*2 in the loop. A run stops here with an error.",
          "for.html"}},
        {"AND",
         {"There is no AND: put one IF in the other, as in IF A>1 THEN IF B>2 THEN PRINT A. "
          "A run stops here with an error.",
          "if.html"}},
        {"OR",
         {"There is no OR: write one IF line for each condition, each jumping to the same "
          "LABEL. A run stops here with an error.",
          "if.html"}},
        {"NOT",
         {"There is no NOT: turn the comparison round, or swap what follows THEN and ELSE. A "
          "run stops here with an error.",
          "if.html"}},
        {"ENDIF",
         {"There is no END IF: an IF holds one statement, on its own line. A run stops here "
          "with an error.",
          "if.html"}},
        {"STOP",
         {"There is no STOP: END ends the program. A run stops here with an error.", "end.html"}},
        {"SLEEP",
         {"There is no SLEEP: DELAY waits, in milliseconds, as in DELAY 1000. A run stops "
          "here with an error.",
          "delay.html"}},
        {"WAIT",
         {"There is no WAIT: DELAY waits, in milliseconds, as in DELAY 1000. A run stops "
          "here with an error.",
          "delay.html"}},
        {"CLS",
         {"There is no CLS: the output pane is cleared at each RUN. A run stops here "
          "with an error.",
          "print.html"}},
        {"SUB",
         {"There is no SUB: a subroutine is the lines after a LABEL, called with GOSUB and "
          "ended with RETURN. A run stops here with an error.",
          "gosub.html"}},
        {"INT",
         {"There is no INT: FLOOR is a statement, as in FLOOR X,A. A run stops here with an "
          "error.",
          "floor.html"}},
    }};
    return words;
}

// Edits that turn one word into the other: a letter added, dropped, changed, or two side by
// side swapped.
size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

const Text* foreign_word(std::string_view word) {
    for (const ForeignWord& w : foreign_words()) {
        if (word == w.word) return &w.text;
    }
    return nullptr;
}

const char* near_keyword(std::string_view word) {
    if (word.size() < 3 || word.size() > 12) return nullptr;
    const size_t most = word.size() < 5 ? 1 : 2;
    const char* best = nullptr;
    size_t best_distance = most + 1;
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        if (statement_form(k->token) == nullptr || k->token == TK_LABEL) continue;
        const size_t d = edit_distance(word, k->keyword);
        if (d < best_distance) {
            best = k->keyword;
            best_distance = d;
        }
    }
    return best;
}

Text did_you_mean(const std::string& word, const char* keyword) {
    return {quoted(excerpt(word)) + " is not a word of the language: did you mean " + keyword +
                "? As it stands, a run stops here with an error.",
            help_page_for_word(keyword)};
}

Text function_call(TokenKind statement, const std::string& argument, char variable) {
    const std::string name = keyword_of(statement);
    const std::string form = form_of(statement);
    std::string example = name + " " + operand_or(argument, "X") + "," + variable;
    const StatementForm* f = statement_form(statement);
    if (f != nullptr && std::count(f->pieces.begin(), f->pieces.end(), Piece::Expression) > 1) {
        example = form;
    }
    return {name +
                " is a statement, not a function: it stores its result in the variable "
                "named last. Write " +
                example + " on a line of its own. A run stops here with an error.",
            help_page_for_word(name)};
}

// ---- Values a run meets as they are written ---------------------------------------------------

Text division_by_zero(const std::string& divisor, bool mod) {
    if (mod) {
        return {"% takes whole numbers, so %" + divisor +
                    " divides by 0: a run stops here with \"Division by zero\".",
                "operators.html"};
    }
    return {"Dividing by 0 is not possible: a run stops here with \"Division by zero\".",
            "operators.html"};
}

Text for_counts_down(char v, const std::string& from, const std::string& to) {
    const std::string l(1, v);
    return {"FOR " + l + "=" + from + " TO " + to +
                " runs its lines once: a loop only counts up, by 1, and the start is not "
                "compared with the limit. To count down, count up and work out the value: FOR "
                "K=" +
                to + " TO " + from + ", and " + l + "=" + from + "+" + to + "-K in the loop.",
            "for.html"};
}

Text coil_range(const std::string& value, const std::string& clamped) {
    return {"A coil takes values from -1 to 1: " + value + " sets it to " + clamped +
                ". Scale the value to that range.",
            "coil.html"};
}

Text speed_range(const std::string& value, const std::string& clamped) {
    return {"SPEED shows 0 to 4: " + value + " shows " + clamped + ".", "speed.html"};
}

Text tx_channel(const std::string& value) {
    return {"TX sends on channels 0 to 31: channel " + value +
                " sends on channel 0, not the nearest one.",
            "tx.html"};
}

Text tx_symbol(const std::string& value, const std::string& clamped) {
    return {"A symbol is 0 to 7: " + value + " sends " + clamped + ".", "tx.html"};
}

Text delay_fraction(const std::string& value, long long ms) {
    return {"DELAY counts whole milliseconds and drops a fraction: DELAY " + value + " waits " +
                std::to_string(ms) + " ms. For half a second write DELAY 500.",
            "delay.html"};
}

// ---- Labels, loops, flow --------------------------------------------------------------------

Text duplicate_label(int32_t number, int first_line) {
    return {"LABEL " + std::to_string(number) + " is on line " + std::to_string(first_line) +
                " already: a jump goes to the one a run passed first, or else to the first in "
                "the text. Give each label its own number.",
            "label.html"};
}

Text goto_without_digits(const std::string& variable, int32_t number, bool defined) {
    const std::string target = "LABEL " + std::to_string(number);
    std::string message = "GOTO needs a label number written in digits: ";
    if (!variable.empty()) {
        message += "GOTO " + variable + " jumps to " + target + ", whatever " + variable + " holds";
    } else {
        message += "without one it jumps to " + target;
    }
    message += defined ? "." : ", and there is no " + target + ".";
    return {message, "goto.html"};
}

Text no_such_label(TokenKind jump, int32_t number) {
    const std::string n = std::to_string(number);
    const std::string word = jump == TK_GOTO ? "GOTO" : "GOSUB";
    return {"There is no LABEL " + n +
                ": a run looks for it through the whole program and stops at the last line. Put "
                "LABEL " +
                n + " where the " + word + " should go, or " + word + " a label that exists.",
            "traps.html#missing-label"};
}

Text next_without_for(char v) {
    const std::string l(1, v);
    return {"NEXT " + l + " has no FOR " + l +
                " before it: a run stops here with \"NEXT does not match\". Open the loop first: "
                "FOR " +
                l + "=1 TO 10.",
            "next.html"};
}

Text next_across_loop(char v, char inner, int inner_line) {
    const std::string l(1, v);
    const std::string w(1, inner);
    return {"NEXT " + l + " comes while the loop FOR " + w + " of line " +
                std::to_string(inner_line) +
                " is still open: a run stops here with \"NEXT does not match\". Close the inner "
                "loop first: NEXT " +
                w + " before NEXT " + l + ".",
            "next.html"};
}

Text for_without_next(char v) {
    const std::string l(1, v);
    return {"FOR " + l + " has no NEXT " + l +
                " after it: the lines after it run once, and the loop stays open (a fifth open "
                "loop stops a run). Put NEXT " +
                l + " where the loop ends.",
            "for.html"};
}

Text return_without_gosub() {
    return {
        "No GOSUB leads to this RETURN: a run that gets here stops with \"RETURN does not "
        "match\". RETURN ends a subroutine that GOSUB called; to end the program, write END.",
        "return.html"};
}

Text return_from_above(const std::string& where) {
    return {
        "A run also comes to this RETURN from the lines above, without a GOSUB, and stops "
        "here with \"RETURN does not match\": put END " +
            where + ".",
        "return.html"};
}

Text never_runs(TokenKind before, bool label, int32_t label_number) {
    std::string reason;
    std::string page = "goto.html";
    switch (before) {
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
    if (label) {
        return {"No GOTO or GOSUB that runs jumps to LABEL " + std::to_string(label_number) +
                    ", and " + reason +
                    ": the lines from here never run. Jump to the label, or remove these lines.",
                page};
    }
    return {"This line never runs: " + reason +
                ", and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a "
                "jump goes to.",
            page};
}

Text jump_out_of_loop(int32_t label, char v, int for_line) {
    const std::string l(1, v);
    return {"GOTO " + std::to_string(label) + " jumps out of the loop FOR " + l + " of line " +
                std::to_string(for_line) +
                " to a line above it: the loop stays open, each pass opens one more, and the "
                "fifth open FOR stops the run. Let the loop end at NEXT " +
                l + " first, or jump forward past it.",
            "traps.html"};
}

Text gosub_without_return(int32_t label) {
    return {"GOSUB " + std::to_string(label) +
                " enters lines that never come to a RETURN: the run never comes back here. End "
                "the subroutine with RETURN.",
            "gosub.html"};
}

}  // namespace msg
}  // namespace checker_detail
