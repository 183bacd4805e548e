#include "eval.h"

#include <cmath>
#include <cstdint>

#include "interp.h"
#include "tokenizer.h"

void arithmetic_fault(ReportKind kind, double left, double right) {
    report_error({.kind = kind, .left = left, .right = right});
    throw StatementAborted{};
}

int32_t to_int(double value) {
    // 2^63: the first value beyond the 64-bit range; -2^63 itself still converts.
    constexpr double limit = 9223372036854775808.0;
    if (!(value >= -limit && value < limit)) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(value)));
}

void check_ordered(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) arithmetic_fault(ReportKind::InvalidOperation, a, b);
}

void check_ordered_in_statement(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        report_statement_error({.kind = ReportKind::InvalidOperation, .left = a, .right = b});
        throw StatementAborted{};
    }
}

namespace {

// Only a non-finite result can be a fault, so the common case costs one test.
inline double checked(double a, double b, double result) {
    if (!std::isfinite(result)) {
        if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) {
            arithmetic_fault(ReportKind::Overflow, a, b);
        }
        if (std::isnan(result) && !std::isnan(a) && !std::isnan(b)) {
            arithmetic_fault(ReportKind::InvalidOperation, a, b);
        }
    }
    return result;
}

double apply_term(TokenKind op, double v, double r) {
    switch (op) {
        case TK_ASTR:
            return checked(v, r, v * r);
        case TK_SLASH:
            if (r == 0) arithmetic_fault(ReportKind::DivisionByZero, v, r);
            return checked(v, r, v / r);
        default: {  // TK_MOD: a 32-bit remainder that keeps the sign of the left operand
            const int32_t divisor = to_int(r);
            if (divisor == 0) arithmetic_fault(ReportKind::DivisionByZero, v, r);
            const int32_t dividend = to_int(v);
            // The one quotient that does not fit in 32 bits; its remainder is 0.
            if (divisor == -1) return 0.0;
            return static_cast<double>(dividend % divisor);
        }
    }
}

}  // namespace

// factor: number | "(" expression ")" | variable
double eval_factor() {
    switch (tok_current()) {
        case TK_NUMBER: {
            const double v = tok_number();
            tok_advance_over_token();
            return v;
        }
        case TK_LEFTPAREN: {
            tok_advance_over_token();
            const double v = eval_expression();
            expect_token(TK_RIGHTPAREN);
            return v;
        }
        default:
            return eval_variable();
    }
}

// variable: the value is read before the token is checked, so a keyword reads the variable of
// its first letter when the check fails.
double eval_variable() {
    const double v = var_get(tok_variable());
    expect_token(TK_VARIABLE);
    return v;
}

namespace {

inline bool is_term_operator(TokenKind t) {
    return t == TK_ASTR || t == TK_SLASH || t == TK_MOD;
}

// The rest of a term whose first factor is `v`.
double term_rest(double v) {
    for (;;) {
        const TokenKind op = tok_current();
        if (!is_term_operator(op)) return v;
        tok_advance_over_token();
        const double r = eval_factor();
        v = apply_term(op, v, r);
    }
}

// A term. Most are one variable or one number: those are read here, without the calls down to
// the factor.
inline double fast_term() {
    double v;
    const TokenKind t = tok_current();
    if (t == TK_VARIABLE) {
        v = machine.variables[tok_variable()];
        tok_advance_over_token();
    } else if (t == TK_NUMBER) {
        v = tok_number();
        tok_advance_over_token();
    } else {
        v = eval_factor();
    }
    if (is_term_operator(tok_current())) [[unlikely]] return term_rest(v);
    return v;
}

}  // namespace

// term: factor { ("*" | "/" | "%") factor }
double eval_term() {
    return fast_term();
}

namespace {

// The term and the expression by descent, a token at a time.
[[gnu::noinline]] double expression_by_tokens();

// The shapes of expression worked out without the descent: one operand, or two with one
// operator between them, each operand a variable or a number (at most one number). Anything
// else goes by descent every time.
enum ExpressionForm : unsigned char { FORM_UNKNOWN, FORM_OTHER, FORM_ONE, FORM_TWO };
// The operand that is the note's number rather than a variable.
constexpr unsigned char NUMBER_OPERAND = 0xFF;

inline bool continues_expression(TokenKind t) {
    return t == TK_PLUS || t == TK_MINUS || t == TK_AND || t == TK_OR || t == TK_NUMBER ||
           is_term_operator(t);
}

// Reads an operand of a short shape and advances over it; false, not advancing, for anything
// that is no such operand.
bool note_operand(unsigned char* operand, ExpressionNote* note, bool* have_number) {
    if (tok_current() == TK_VARIABLE) {
        *operand = static_cast<unsigned char>(tok_variable());
    } else if (tok_current() == TK_NUMBER && !*have_number) {
        *operand = NUMBER_OPERAND;
        note->number = tok_number();
        *have_number = true;
    } else {
        return false;
    }
    tok_advance_over_token();
    return true;
}

// Looks at the expression at the current position the way the descent would read it, without
// moving from there.
[[gnu::noinline]] ExpressionNote note_expression() {
    const TokenizerState saved = tokenizer;
    const char* start = tok_position();
    ExpressionNote note{};
    note.form = FORM_OTHER;
    bool have_number = false;
    if (note_operand(&note.left, &note, &have_number)) {
        TokenKind op = tok_current();
        if (!continues_expression(op)) {
            note.form = FORM_ONE;
        } else {
            // As in the descent, a number right after the operand is added to it.
            if (op == TK_NUMBER) {
                op = TK_PLUS;
            } else {
                tok_advance_over_token();
            }
            note.op = static_cast<unsigned char>(op);
            if (note_operand(&note.right, &note, &have_number) &&
                !continues_expression(tok_current())) {
                note.form = FORM_TWO;
            }
        }
    }
    note.length = static_cast<uint16_t>(tok_position() - start);
    tokenizer = saved;
    return note;
}

inline double operand_value(unsigned char operand, const ExpressionNote& note) {
    return operand == NUMBER_OPERAND ? note.number : machine.variables[operand];
}

inline double combine(TokenKind op, double v, double r) {
    switch (op) {
        case TK_PLUS:
            return checked(v, r, v + r);
        case TK_MINUS:
            return checked(v, r, v - r);
        case TK_AND:
            return static_cast<double>(to_int(v) & to_int(r));
        case TK_OR:
            return static_cast<double>(to_int(v) | to_int(r));
        default:
            return apply_term(op, v, r);
    }
}

}  // namespace

// expression: ["-"] term { ("+" | "-" | "&" | "|" | number) term }
// A number right after an operand is added: "A-1" scans as A followed by the number -1.
// In the kept program text, a short expression is read from the note on its shape; the scan
// then stands behind it, as after the descent, before the arithmetic can fault.
double eval_expression() {
    const char* at = tok_position();
    const uintptr_t index =
        reinterpret_cast<uintptr_t>(at) - reinterpret_cast<uintptr_t>(token_cache.base);
    if (index < token_cache.extent) {
        ExpressionNote& note = token_cache.expression[index];
        if (note.form == FORM_UNKNOWN) note = note_expression();
        if (note.form == FORM_ONE) {
            const double v = operand_value(note.left, note);
            tok_classify_at(at + note.length);
            return v;
        }
        if (note.form == FORM_TWO) {
            const double v = operand_value(note.left, note);
            const double r = operand_value(note.right, note);
            tok_classify_at(at + note.length);
            return combine(static_cast<TokenKind>(note.op), v, r);
        }
    }
    return expression_by_tokens();
}

namespace {

[[gnu::noinline]] double expression_by_tokens() {
    double v;
    if (tok_current() == TK_MINUS) {
        tok_advance_over_token();
        v = -fast_term();
    } else {
        v = fast_term();
    }
    for (;;) {
        TokenKind op = tok_current();
        if (op == TK_NUMBER) {
            op = TK_PLUS;
        } else if (op == TK_PLUS || op == TK_MINUS || op == TK_AND || op == TK_OR) {
            tok_advance_over_token();
        } else {
            return v;
        }
        const double r = fast_term();
        switch (op) {
            case TK_PLUS:
                v = checked(v, r, v + r);
                break;
            case TK_MINUS:
                v = checked(v, r, v - r);
                break;
            case TK_AND:
                v = static_cast<double>(to_int(v) & to_int(r));
                break;
            default:
                v = static_cast<double>(to_int(v) | to_int(r));
                break;
        }
    }
}

}  // namespace

// relation: expression { ("<" | ">" | "=") expression }
// Every comparison of a chain compares the first expression; without an operator it is false.
int eval_relation() {
    int result = 0;
    const double left = eval_expression();
    for (;;) {
        const TokenKind op = tok_current();
        if (op != TK_LT && op != TK_GT && op != TK_EQ) return result;
        tok_advance_over_token();
        const double right = eval_expression();
        check_ordered(left, right);
        if (op == TK_LT) {
            result = left < right;
        } else if (op == TK_GT) {
            result = left > right;
        } else {
            result = left == right;
        }
    }
}
