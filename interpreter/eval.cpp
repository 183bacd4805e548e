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

// expression: ["-"] term { ("+" | "-" | "&" | "|" | number) term }
// A number right after an operand is added: "A-1" scans as A followed by the number -1.
double eval_expression() {
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
