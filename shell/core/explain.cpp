#include "explain.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "format.h"
#include "interp.h"
#include "tokenizer.h"
#include "tokens.h"

namespace {

const char* keyword_text(int code) {
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        if (k->token == code) return k->keyword;
    }
    return nullptr;
}

bool is_keyword_code(int code) {
    return keyword_text(code) != nullptr;
}

// What a token is, in a sentence: "the word THEN", "a comma ','".
std::string token_phrase(int code) {
    switch (code) {
        case TK_ERROR:
            return "something it could not read (a lower-case letter, a tab, a sign such as "
                   "! ? $ or ', or a number of more than 15 characters)";
        case TK_ENDOFINPUT:
            return "the end of the program";
        case TK_NUMBER:
            return "a number";
        case TK_STRING:
            return "a text in double quotes";
        case TK_VARIABLE:
            return "a variable (one letter from A to Z)";
        case TK_COMMA:
            return "a comma ','";
        case TK_SEMICOLON:
            return "a semicolon ';'";
        case TK_LEFTPAREN:
            return "an opening bracket '('";
        case TK_RIGHTPAREN:
            return "a closing bracket ')'";
        case TK_EQ:
            return "an equals sign '='";
        case TK_CR:
            return "the end of the statement (a ':' or the end of the line)";
        default:
            break;
    }
    if (is_keyword_code(code)) return std::string("the word ") + token_name(code);
    if (code > TK_END && code < TK_CR) return std::string("the sign '") + token_name(code) + "'";
    return "an unknown token";
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

const char* const SEVERAL_REPORTS =
    " When one statement gives several reports, fix the first one: the others often follow "
    "from it.";

// The usual trap behind "Expected token A, got B", or "" when there is none to name.
std::string token_trap(int expected, int got) {
    if (expected == TK_CR && got == TK_ELSE) {
        return "This usually comes from IF ... THEN statement ELSE statement, where the "
               "statement after THEN must end before ELSE can come: an assignment such as "
               "B=2, FOR, GOSUB, PEEK, POKE, or a math or device statement. Only GOTO, RETURN "
               "and END can stand before ELSE (PRINT can too, but then the ELSE part runs as "
               "well). Write two lines instead: first B=3, then IF A=1 THEN B=2. Or jump: "
               "IF A=1 THEN GOTO 10 ELSE GOTO 20.";
    }
    if (got == TK_ERROR) {
        return "Check the line for lower-case letters: the language only knows upper case "
               "(PRINT, not print). Letters you type become upper case, but pasted or loaded "
               "text stays as it is. A tab character also stops the computer: use spaces. "
               "Other causes: a sign the language does not use (! ? $ '), a number with more "
               "than 15 characters, or a text with no closing '\"'.";
    }
    if (expected == TK_VARIABLE && got == TK_SLASH) {
        return "Is there a '//' after code on this line? '//' starts a comment only at the "
               "beginning of a line. After code it is two division signs. Put the comment on "
               "a line of its own.";
    }
    if (expected == TK_LABEL && got == TK_ENDOFINPUT) {
        return "A GOTO or GOSUB names a label that is not in the program. The computer searched "
               "the whole program for it and reached the end. That is why this report names "
               "the last line of the program, not the line of the GOTO. Check that the label "
               "exists: GOTO 10 needs a line LABEL 10 somewhere.";
    }
    if (expected == TK_NUMBER && got == TK_ENDOFINPUT) {
        return "This follows the report just before it: a GOTO or GOSUB names a label that is "
               "not in the program.";
    }
    if (expected == TK_LABEL) {
        return "A GOTO or GOSUB searched for its label and had to stop here, before the end of "
               "the program. Check the labels and this line.";
    }
    if (expected == TK_NUMBER) {
        return "LABEL, GOSUB and GOTO need a number written in digits: LABEL 10, GOSUB 10. A "
               "variable or a calculation cannot stand there.";
    }
    if (expected == TK_THEN) {
        return "IF needs THEN after its condition: IF A<5 THEN PRINT A. Is THEN missing? A "
               "condition can use only <, > and = (there is no <=, >= or <>).";
    }
    if (expected == TK_TO) {
        return "FOR needs TO between the start and the end value: FOR I=1 TO 10. There is no "
               "STEP: a loop always counts up by 1.";
    }
    if (expected == TK_RIGHTPAREN) {
        return "A closing bracket ')' is missing. Every '(' needs its ')'.";
    }
    if (expected == TK_COMMA) {
        if (got == TK_CR || got == TK_ENDOFINPUT) {
            return "The statement stopped too early: a part of it is missing. A math statement "
                   "needs a comma and the variable for its result (SQRT 16,A); TX needs a "
                   "channel and a symbol (TX 5,7); PEEK needs an address and a variable "
                   "(PEEK 2048,A).";
        }
        return "A comma is missing between two parts of the statement, as in SQRT 16,A or "
               "TX 5,7 or MGET X,Y,Z or COIL X,Y,Z.";
    }
    if (expected == TK_EQ) {
        if (got == TK_CR) {
            return "A statement began with a variable letter, so it is an assignment and needs "
                   "'=' after the letter. Often this comes from PRINT -A: PRINT stops at the "
                   "'-', and A starts a new statement. Write PRINT 0-A instead.";
        }
        return "A statement that begins with a letter is an assignment and needs '=' right "
               "after that one letter: A=5. Variable names have one letter only (AB=1 is read "
               "as A, then B). There is no LET: write A=1. A word the language does not know "
               "is read letter by letter, so WAIT 5 starts like W=... FOR needs '=' too: "
               "FOR I=1 TO 5.";
    }
    if (expected == TK_VARIABLE) {
        switch (got) {
            case TK_LT:
            case TK_GT:
            case TK_EQ:
                return "There is no <=, >=, <> or == in this language: after '<', '>' or '=' a "
                       "value must come. For whole numbers write A<B+1 instead of A<=B, or use "
                       "two IF lines.";
            case TK_MINUS:
                return "A minus sign can only stand at the start of an expression or right "
                       "before a digit. A*-B does not work: write A*(0-B), or -A*B.";
            case TK_CR:
            case TK_ENDOFINPUT:
                return "The statement ended where a value or a variable was still needed. "
                       "Something is missing at its end, as in A= with nothing after it, or "
                       "SQRT 16, without the variable, or MGET X,Y without Z.";
            case TK_NUMBER:
                return "A number stood where a variable letter is needed. The result of a math "
                       "or sensor statement goes into a variable: SQRT 16,A, not SQRT 16,5. FOR "
                       "and NEXT need a letter too: FOR I=1 TO 5.";
            case TK_STRING:
                return "A text in quotes can only be printed (PRINT \"HI\"). It cannot be "
                       "stored in a variable or used in a calculation.";
            default:
                break;
        }
        if (is_keyword_code(got)) {
            return "A word of the language stood where a value should be. Math functions are "
                   "statements, not part of a calculation: write SQRT 16,A and then use A. "
                   "Letters that start a word are read as that word: TOTAL is read as TO, T, "
                   "A, L.";
        }
        return "A value should come here: a number, a variable or a '('.";
    }
    if (expected == TK_CR) {
        switch (got) {
            case TK_VARIABLE:
                return "A letter was left over. Two statements on one line need a ':' between "
                       "them (A=1:B=2). After a number like 1E5 the E is read again, as a "
                       "variable: write 100000. A word the language does not know is read letter "
                       "by "
                       "letter.";
            case TK_ENDOFINPUT:
                return "The program ended in the middle of the statement.";
            case TK_RIGHTPAREN:
                return "There is one ')' too many.";
            case TK_COMMA:
                return "There is a comma too many, or this statement takes fewer parts: TGET, "
                       "PGET and RX read into one variable (TGET T).";
            default:
                return "Something is left over after a complete statement. Put a ':' between "
                       "two statements, or check for a missing sign.";
        }
    }
    return "";
}

std::string explain_expected(int expected, int got) {
    // The codes first: they are what the report shows.
    std::string text = "Token " + std::to_string(expected) + " is " + token_name(expected) +
                       ", token " + std::to_string(got) + " is " + token_name(got) + ". ";
    text += std::string("The computer expected ") + token_phrase(expected) + " here, but found " +
            token_phrase(got) + ".";
    const std::string trap = token_trap(expected, got);
    if (!trap.empty()) text += " " + trap;
    text += SEVERAL_REPORTS;
    return text;
}

std::string variable_phrase(int index) {
    if (index < 0 || index >= VARIABLE_COUNT) return "something that is not a variable";
    return std::string(1, static_cast<char>('A' + index));
}

std::string explain_next(int expected, int got) {
    if (expected < 0) {
        return "NEXT " + variable_phrase(got) +
               " came, but no FOR loop is open. Check that a FOR line comes before it, that the "
               "loop was not already closed by another NEXT, and that no GOTO jumps into the "
               "middle of a loop.";
    }
    return "NEXT " + variable_phrase(got) + " came, but the loop that is open inside is FOR " +
           variable_phrase(expected) +
           ". Loops must close in the opposite order: FOR I ... FOR J ... NEXT J ... NEXT I. "
           "Check the letter after NEXT.";
}

struct MathFunction {
    const char* library;      // the name the box shows
    const char* keywords;     // the statements that use it
    const char* good_values;  // what it can work with
};

// The functions whose errors show a box; the others never report.
const MathFunction math_functions[] = {
    {"acos", "ACOS", "ACOS needs a value from -1 to 1."},
    {"asin", "ASIN", "ASIN needs a value from -1 to 1."},
    {"atan2", "TPATAN", "TPATAN cannot find the angle of the point 0,0."},
    {"cosh", "HCOS", ""},
    {"sinh", "HSIN", ""},
    {"log", "LOG", "LOG needs a value above 0."},
    {"log10", "DLOG", "DLOG needs a value above 0."},
    {"pow", "POW or EXP",
     "A negative number cannot be raised to a power with a fraction (POW -8,0.5,A), and 0 "
     "cannot be raised to a power of 0 or less."},
    {"sqrt", "SQRT", "SQRT needs a value of 0 or more: there is no square root of -4."},
};

// "<function>: <KIND> error", the text of a math statement's box.
std::string explain_math(std::string_view function, std::string_view kind) {
    const MathFunction* f = nullptr;
    for (const MathFunction& m : math_functions) {
        if (function == m.library) f = &m;
    }
    if (f == nullptr) return "";
    std::string text = std::string("The math statement ") + f->keywords + " ";
    if (kind == "DOMAIN" && f->good_values[0] != '\0') {
        text += std::string("got a value it cannot work with. ") + f->good_values +
                " The variable gets NAN (not a number).";
    } else if (kind == "SING" && (function == "log" || function == "log10")) {
        text += "was asked for the logarithm of 0. The variable gets -INF (minus infinity).";
    } else if (kind == "OVERFLOW") {
        text += "gave a result too big to hold, so the variable gets INF (infinity).";
        if (function == "cosh" || function == "sinh")
            text += " Keep the value between -710 and 710.";
        if (function == "log" || function == "log10") text += " Its value was already INF.";
    } else {
        return "";
    }
    text +=
        " After you close the box, the program goes on with that value. An IF, NEXT, COIL, "
        "SPEED or TX that gets NAN stops the run with \"Invalid floating point operation\".";
    return text;
}

std::string explain_line(int line) {
    return "The error was found in line " + std::to_string(line) +
           " of the editor. Lines count from 0, as in the line numbers at the left and in "
           "the status bar: the first line is line 0, and comment lines and empty lines "
           "count too. The next line of the output says what went wrong. If it says "
           "\"Expected token 1, got 2\", the line named is simply the last line of the "
           "program: a GOTO or GOSUB searched for a label that is missing.";
}

}  // namespace

const char* token_name(int code) {
    switch (code) {
        case TK_ERROR:
            return "something the scanner could not read";
        case TK_ENDOFINPUT:
            return "end of the program";
        case TK_NUMBER:
            return "number";
        case TK_STRING:
            return "string";
        case TK_VARIABLE:
            return "variable";
        case TK_COMMA:
            return ",";
        case TK_SEMICOLON:
            return ";";
        case TK_PLUS:
            return "+";
        case TK_MINUS:
            return "-";
        case TK_AND:
            return "&";
        case TK_OR:
            return "|";
        case TK_ASTR:
            return "*";
        case TK_SLASH:
            return "/";
        case TK_MOD:
            return "%";
        case TK_HASH:
            return "#";
        case TK_LEFTPAREN:
            return "(";
        case TK_RIGHTPAREN:
            return ")";
        case TK_LT:
            return "<";
        case TK_GT:
            return ">";
        case TK_EQ:
            return "=";
        case TK_CR:
            return "end of statement (a ':' or the end of a line)";
        default:
            break;
    }
    if (const char* k = keyword_text(code)) return k;
    return "unknown token";
}

std::string explain_fault(const RunReport& r) {
    switch (r.kind) {
        case ReportKind::None:
            return "";
        case ReportKind::ProgramFinished:
            return "The program was asked to go on after its last statement. Nothing is wrong "
                   "with the program.";
        case ReportKind::ExpectedToken:
            return explain_expected(r.expected, r.got);
        case ReportKind::NextMismatch:
            return explain_next(r.expected, r.got);
        case ReportKind::UnknownCommand:
            return "A statement must begin with a word of the language (PRINT, IF, FOR ...) or "
                   "with a variable letter for an assignment (A=5), and this one does not. Usual "
                   "causes: lower-case letters (print instead of PRINT: typed letters become "
                   "upper case, but pasted or loaded text does not); a tab character (use "
                   "spaces); two ':' in a row; a line that starts with a number (there are no "
                   "line numbers: mark jump targets with LABEL); THEN, ELSE or TO where a "
                   "statement should start; CALL, which is a reserved word with no statement; a "
                   "text with no closing '\"'.";
        case ReportKind::GosubStackOverflow:
            return "More than " + std::to_string(r.limit) +
                   " GOSUBs were waiting for their RETURN at the same time. Usually a "
                   "subroutine calls itself, or it is left with GOTO instead of RETURN, so the "
                   "return points pile up.";
        case ReportKind::ReturnMismatch:
            return "RETURN came, but no GOSUB is waiting for it. Usually the program ran into a "
                   "subroutine from above: put END before the LABEL of your first subroutine. A "
                   "GOTO to a subroutine's label has the same effect: use GOSUB.";
        case ReportKind::ForStackOverflow:
            return "A fifth FOR loop was opened while four were still open. Loops can be nested "
                   "four deep at most. A loop left with GOTO stays open, and every FOR met again "
                   "opens one more: finish loops with their NEXT.";
        case ReportKind::DivisionByZero:
            return "A '/' or '%' had 0 on its right side. Check the value you divide by, for "
                   "example with IF B=0 THEN GOTO ... before A=X/B. A variable you never set is "
                   "0. Note: '//' after code is not a comment but two division signs.";
        case ReportKind::Overflow:
            return "A calculation gave a number too big to hold (more than about 1.8E308). This "
                   "usually happens when a value is multiplied again and again in a loop.";
        case ReportKind::InvalidOperation:
            return "A calculation had no answer, or a comparison got NAN (not a number). NAN "
                   "comes from a math statement that showed an error box, such as SQRT -4,A or "
                   "ACOS 2,A: IF, NEXT, COIL, SPEED and TX cannot work with it. INF-INF has no "
                   "answer either.";
        case ReportKind::LineHoldsNul:
            return "This program line holds a NUL character (code 0), which a program cannot "
                   "contain. It usually comes from a file that is not plain text. Type the line "
                   "again.";
        case ReportKind::LineHoldsForeignCharacter:
            return "This program line holds a character with no 8-bit form, such as the euro "
                   "sign, an emoji or the curly quotes of a word processor. Type the line again "
                   "with plain characters; for a text use straight double quotes \".";
        case ReportKind::TooManyLines:
            return "The program has more than " + std::to_string(r.limit) +
                   " lines. Comment lines and empty lines do not count. Split it into smaller "
                   "programs.";
        case ReportKind::TooManyBytes:
            return "The program does not fit. Its lines with a ':' each, and the DATA bytes, "
                   "must fit into " +
                   std::to_string(r.limit) +
                   " bytes. Comment lines and empty lines do not count. Shorten lines, remove "
                   "spaces at the start of lines, or use less DATA.";
    }
    return "";
}

std::string explain_report(const RunReport& r) {
    const std::string fault = explain_fault(r);
    if (r.kind == ReportKind::None || r.line < 0) return fault;
    return explain_line(r.line) + (fault.empty() ? "" : "\n\n" + fault);
}

std::string explain_math_error(std::string_view box_text) {
    // "<function>: <KIND> error"
    constexpr std::string_view suffix = " error";
    const std::string_view s = trim(box_text);
    const size_t colon = s.find(": ");
    if (colon == std::string_view::npos || !s.ends_with(suffix) ||
        colon + 2 + suffix.size() > s.size()) {
        return "";
    }
    const size_t kind_start = colon + 2;
    return explain_math(s.substr(0, colon),
                        s.substr(kind_start, s.size() - suffix.size() - kind_start));
}

namespace {

// The label of a jump in a statement ("GOTO 50", "IF A THEN GOSUB 7"): its digits, or "".
std::string jump_label(std::string_view statement) {
    // One statement: up to the next ':' outside a string, or the end of the line.
    bool in_string = false;
    size_t end = 0;
    while (end < statement.size() && statement[end] != '\n' && statement[end] != '\r' &&
           (in_string || statement[end] != ':')) {
        if (statement[end] == '"') in_string = !in_string;
        ++end;
    }
    statement = statement.substr(0, end);
    for (const std::string_view word : {std::string_view("GOTO"), std::string_view("GOSUB")}) {
        const size_t at = statement.rfind(word);
        if (at == std::string_view::npos) continue;
        size_t p = at + word.size();
        while (p < statement.size() && statement[p] == ' ') ++p;
        size_t q = p;
        while (q < statement.size() && statement[q] >= '0' && statement[q] <= '9') ++q;
        if (q > p) return std::string(statement.substr(p, q - p));
    }
    return "";
}

std::string jump_word(std::string_view statement) {
    const size_t gosub = statement.find("GOSUB");
    const size_t go_to = statement.find("GOTO");
    return gosub != std::string_view::npos && (go_to == std::string_view::npos || gosub < go_to)
               ? "GOSUB"
               : "GOTO";
}

}  // namespace

// Whether "LABEL n" stands in the program as a label statement would: the word, spaces, the
// number and no further digit.
static bool has_label(std::string_view program, const std::string& label) {
    for (size_t at = program.find("LABEL"); at != std::string_view::npos;
         at = program.find("LABEL", at + 1)) {
        size_t p = at + 5;
        while (p < program.size() && program[p] == ' ') ++p;
        if (program.substr(p, label.size()) != label) continue;
        const size_t after = p + label.size();
        if (after == program.size() || program[after] < '0' || program[after] > '9') return true;
    }
    return false;
}

std::string explain_stop(std::span<const RunReport> reports, std::string_view program) {
    std::string text;
    bool line_said = false;
    for (const RunReport& r : reports) {
        const std::string one = line_said ? explain_fault(r) : explain_report(r);
        line_said = line_said || r.line >= 0;
        if (one.empty()) continue;
        if (!text.empty()) text += "\n\n";
        text += one;
    }
    if (reports.empty()) return text;
    const RunReport& last = reports.back();
    const int statement_line = last.statement_line;
    const int report_line = last.line;
    if (statement_line < 0 || statement_line == report_line || last.statement_offset < 0 ||
        static_cast<size_t>(last.statement_offset) > program.size()) {
        return text;
    }
    const std::string_view from = program.substr(static_cast<size_t>(last.statement_offset));
    std::string where;
    const std::string label = jump_label(from);
    if (!label.empty() && !has_label(program, label)) {
        where = "No LABEL " + label + " in the program. The " + jump_word(from) +
                " that asked for it is on line " + std::to_string(statement_line) +
                "; the report names line " + std::to_string(report_line) +
                ", where the search ended.";
    } else {
        where = "The statement that failed begins on line " + std::to_string(statement_line) +
                "; the report names line " + std::to_string(report_line) + ".";
    }
    return where + (text.empty() ? "" : "\n\n" + text);
}

namespace {

// One statement of the program from `offset`: up to its ':' outside a text.
std::string_view statement_at(std::string_view program, int offset) {
    if (offset < 0 || static_cast<size_t>(offset) >= program.size()) return {};
    std::string_view s = program.substr(static_cast<size_t>(offset));
    bool in_string = false;
    size_t end = 0;
    while (end < s.size() && s[end] != '\n' && (in_string || s[end] != ':')) {
        if (s[end] == '"') in_string = !in_string;
        ++end;
    }
    return trim(s.substr(0, end));
}

// " (line 3: A=X/B)": where the cause stands, the statement as the program writes it.
std::string where_of(const RunReport& r, std::string_view program) {
    const int line = r.statement_line >= 0 ? r.statement_line : r.line;
    if (line < 0 || program.empty()) return "";
    std::string statement(statement_at(program, r.statement_offset));
    constexpr size_t MAX_QUOTED = 40;
    if (statement.size() > MAX_QUOTED) statement = statement.substr(0, MAX_QUOTED - 3) + "...";
    if (statement.empty()) return " (line " + std::to_string(line) + ")";
    return " (line " + std::to_string(line) + ": " + statement + ")";
}

std::string value_text(double value) {
    char text[FORMAT_BUFFER_SIZE];
    const int n = format_value(value, text);
    return std::string(text, static_cast<size_t>(std::max(0, n)));
}

// A token as a cause line names it: the keyword, the sign in quotes, or a few words.
std::string token_word(int code) {
    switch (code) {
        case TK_ERROR:
            return "something it cannot read (a lower-case letter, a tab or a sign the "
                   "language does not use)";
        case TK_ENDOFINPUT:
            return "the end of the program";
        case TK_NUMBER:
            return "a number";
        case TK_STRING:
            return "a text in quotes";
        case TK_VARIABLE:
            return "a variable";
        case TK_CR:
            return "the end of the statement";
        default:
            break;
    }
    if (is_keyword_code(code)) return token_name(code);
    return std::string("'") + token_name(code) + "'";
}

// The right operand of the calculation that failed and the sign before it, read back from
// where the scan stood: "B" and '/' in "A=X/B". Empty when the text there reads otherwise.
struct Operand {
    std::string text;
    char sign = 0;
};

Operand operand_before(std::string_view program, int fault_offset) {
    if (fault_offset <= 0 || static_cast<size_t>(fault_offset) > program.size()) return {};
    size_t end = static_cast<size_t>(fault_offset);
    while (end > 0 && program[end - 1] == ' ') --end;
    size_t begin = end;
    if (begin > 0 && program[begin - 1] == ')') {
        int depth = 0;
        while (begin > 0) {
            const char c = program[--begin];
            if (c == ')') ++depth;
            if (c == '(' && --depth == 0) break;
            if (c == ':' || c == '"') return {};
        }
        if (depth != 0) return {};
    } else {
        while (begin > 0 && (std::isalnum(static_cast<unsigned char>(program[begin - 1])) ||
                             program[begin - 1] == '.')) {
            --begin;
        }
    }
    if (begin == end) return {};
    size_t sign = begin;
    while (sign > 0 && program[sign - 1] == ' ') --sign;
    if (sign == 0) return {};
    Operand o{std::string(program.substr(begin, end - begin)), program[sign - 1]};
    if (o.sign == '-' && sign >= 2) {
        size_t before = sign - 1;
        while (before > 0 && program[before - 1] == ' ') --before;
        if (before > 0 && std::strchr("*/%", program[before - 1]) != nullptr) {
            o.text = "-" + o.text;
            o.sign = program[before - 1];
        }
    }
    if (std::strchr("+-*/%<>=", o.sign) == nullptr) return {};
    return o;
}

bool is_number_text(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-';
    });
}

// Where the divisor ends in a statement with one '/' or '%' only: for a report that does not
// say where the scan stood. -1 with none or several.
int single_division_end(std::string_view program, int statement_offset) {
    const std::string_view statement = statement_at(program, statement_offset);
    size_t sign = std::string_view::npos;
    bool in_string = false;
    for (size_t i = 0; i < statement.size(); ++i) {
        const char c = statement[i];
        if (c == '"') in_string = !in_string;
        if (in_string || (c != '/' && c != '%')) continue;
        if (sign != std::string_view::npos) return -1;
        sign = i;
    }
    if (sign == std::string_view::npos) return -1;
    size_t p = sign + 1;
    while (p < statement.size() && (statement[p] == ' ' || statement[p] == '-')) ++p;
    if (p < statement.size() && statement[p] == '(') {
        int depth = 0;
        for (; p < statement.size(); ++p) {
            if (statement[p] == '(') ++depth;
            if (statement[p] == ')' && --depth == 0) break;
        }
        if (p == statement.size()) return -1;
        ++p;
    } else {
        while (p < statement.size() &&
               (std::isalnum(static_cast<unsigned char>(statement[p])) || statement[p] == '.')) {
            ++p;
        }
    }
    return static_cast<int>(statement.data() - program.data() + static_cast<long>(p));
}

std::string division_cause(const RunReport& r, std::string_view program) {
    const Operand o = operand_before(
        program, r.fault_offset >= 0 ? r.fault_offset
                                     : single_division_end(program, r.statement_offset));
    if (o.sign != '/' && o.sign != '%') return "The value divided by is 0 here: dividing by it stops the run";
    const bool remainder = o.sign == '%';
    const std::string by = remainder ? "taking the remainder after dividing by it stops the run"
                                     : "dividing by it stops the run";
    if (is_number_text(o.text)) {
        if (r.right != 0) return o.text + " is 0 as a whole number: " + by;
        return remainder ? "Taking the remainder after dividing by 0 stops the run"
                         : "Dividing by 0 stops the run";
    }
    std::string is = o.text + " is " + value_text(r.right) + " here";
    if (r.right != 0) is += ", 0 as a whole number";
    return is + ": " + by;
}

std::string open_lines_text(const RunReport& r) {
    std::string lines;
    for (int k = 0; k < r.open_count && k < RunReport::MAX_OPEN_LINES; ++k) {
        if (k > 0) lines += ", ";
        lines += std::to_string(r.open_lines[k]);
    }
    return lines;
}

bool repeats_a_line(const RunReport& r) {
    const int n = std::min(r.open_count, RunReport::MAX_OPEN_LINES);
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (r.open_lines[i] == r.open_lines[j]) return true;
        }
    }
    return false;
}

std::string ordinal(long long n) {
    const long long tens = n % 100;
    const char* suffix = tens >= 11 && tens <= 13 ? "th"
                         : n % 10 == 1           ? "st"
                         : n % 10 == 2           ? "nd"
                         : n % 10 == 3           ? "rd"
                                                 : "th";
    return std::to_string(n) + suffix;
}

std::string cause_text(const RunReport& r, std::string_view program) {
    switch (r.kind) {
        case ReportKind::None:
            return "";
        case ReportKind::ExpectedToken: {
            if (r.expected == TK_LABEL || (r.expected == TK_NUMBER && r.got == TK_ENDOFINPUT)) {
                const std::string_view statement = statement_at(program, r.statement_offset);
                const std::string label = jump_label(statement);
                if (!label.empty() && !has_label(program, label)) {
                    return "There is no LABEL " + label + " in the program: " +
                           jump_word(statement) + " " + label + " has nowhere to go";
                }
                if (r.got == TK_ENDOFINPUT) {
                    return "A GOTO or GOSUB names a label that is not in the program";
                }
            }
            return token_word(r.expected) + " was expected here, but " + token_word(r.got) +
                   " came";
        }
        case ReportKind::UnknownCommand:
            if (r.got == TK_ERROR) {
                return "The statement begins with " + token_word(r.got) +
                       ": a statement begins with a word of the language or a variable letter";
            }
            return token_word(r.got) + " cannot begin a statement: a statement begins with a "
                                       "word of the language or a variable letter";
        case ReportKind::DivisionByZero:
            return division_cause(r, program);
        case ReportKind::Overflow: {
            const Operand o = operand_before(program, r.fault_offset);
            const std::string sign =
                o.sign != 0 && std::strchr("+-*/", o.sign) != nullptr ? std::string(1, o.sign)
                                                                      : std::string("and");
            return value_text(r.left) + " " + sign + " " + value_text(r.right) +
                   " gives a number too big to hold";
        }
        case ReportKind::InvalidOperation:
            if (std::isnan(r.left) || std::isnan(r.right)) {
                return "A value here is NAN (not a number), left by a math statement's error: "
                       "IF, NEXT, COIL, SPEED and TX cannot use it";
            }
            return value_text(r.left) + " and " + value_text(r.right) +
                   " give a calculation with no answer";
        case ReportKind::NextMismatch:
            if (r.expected < 0) return "NEXT " + variable_phrase(r.got) + " came with no FOR loop open";
            return "NEXT " + variable_phrase(r.got) + " came while FOR " +
                   variable_phrase(r.expected) +
                   " is the loop open inside: loops close in the opposite order";
        case ReportKind::ForStackOverflow: {
            const std::string head = "This is the " + ordinal(r.limit + 1) + " FOR still open";
            if (r.open_count == 0) return head + ": loops nest " + std::to_string(r.limit) + " deep at most";
            if (repeats_a_line(r)) {
                return head + ": lines " + open_lines_text(r) +
                       " jumped out of their loops with GOTO";
            }
            return head + ": the loops of lines " + open_lines_text(r) + " are open, and loops nest " +
                   std::to_string(r.limit) + " deep at most";
        }
        case ReportKind::GosubStackOverflow: {
            const std::string head =
                "This is the " + ordinal(r.limit + 1) + " GOSUB still waiting for its RETURN";
            if (r.open_count == 0) return head;
            return head + ": the GOSUBs of lines " + open_lines_text(r) + " never returned";
        }
        case ReportKind::ReturnMismatch:
            return "RETURN came with no GOSUB waiting: the run reached it without a GOSUB";
        case ReportKind::ProgramFinished:
            return "The program ran to its end: nothing is wrong with it";
        case ReportKind::LineHoldsNul:
            return "Line " + std::to_string(r.line) +
                   " holds a NUL character (code 0): the program cannot start";
        case ReportKind::LineHoldsForeignCharacter:
            return "Line " + std::to_string(r.line) +
                   " holds a character with no 8-bit form (an emoji, a curly quote, the euro "
                   "sign): the program cannot start";
        case ReportKind::TooManyLines:
            return "The program has " + std::to_string(r.amount) + " lines, more than the " +
                   std::to_string(r.limit) + " that fit: it cannot start";
        case ReportKind::TooManyBytes:
            return "The program needs " + std::to_string(r.amount) + " bytes, more than the " +
                   std::to_string(r.limit) + " that fit: it cannot start";
    }
    return "";
}

}  // namespace

std::string explain_cause(const RunReport& report, std::string_view program) {
    std::string cause = cause_text(report, program);
    if (cause.empty()) return cause;
    cause[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(cause[0])));
    // The preparation's reports name their line in the cause.
    if (report.statement_line < 0 && report.kind != ReportKind::ExpectedToken &&
        report.kind != ReportKind::UnknownCommand) {
        return cause;
    }
    return cause + where_of(report, program);
}

std::string help_page_for_word(std::string_view word) {
    std::string upper(word);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "THEN" || upper == "ELSE") return "if.html";
    if (upper == "TO") return "for.html";
    // The line that starts the DATA section is no statement, but it is a word of programs.
    if (upper == "DATA") return "comments_and_data.html";
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        if (upper != k->keyword) continue;
        std::string page = upper;
        for (char& c : page) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return page + ".html";
    }
    return "";
}

std::string keyword_at(std::string_view line, size_t column) {
    const std::string text(line);  // the scanner reads up to a NUL
    const char* const start = text.c_str();
    const char* p = start;
    while (true) {
        while (*p == ' ') ++p;
        const char* end = p;
        const TokenKind kind = scan_token(p, &end);
        if (kind == TK_ERROR || kind == TK_ENDOFINPUT || end <= p) return {};
        const auto from = static_cast<size_t>(p - start);
        const auto to = static_cast<size_t>(end - start);
        if (column <= to && column >= from) {
            std::string word(p, end);
            if (!help_page_for_word(word).empty() && kind != TK_NUMBER && kind != TK_STRING)
                return word;
            if (column < to) return {};
        }
        if (from > column) return {};
        p = end;
    }
}
