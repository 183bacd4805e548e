// The expression evaluator: recursive descent over the live token stream, no tree, no state.
#pragma once

#include <cstdint>
#include <string_view>

// The fault texts. A fault ends its statement at once and stops the run.
inline constexpr std::string_view FAULT_DIVISION_BY_ZERO = "ERROR: Division by zero";
inline constexpr std::string_view FAULT_OVERFLOW = "ERROR: Floating point overflow";
inline constexpr std::string_view FAULT_INVALID = "ERROR: Invalid floating point operation";


// The one place arithmetic faults go through: reports `message` and aborts the statement.
[[noreturn]] void arithmetic_fault(std::string_view message);

// Double to 32-bit integer: truncate toward zero to 64 bits and keep the low 32 bits. NaN and
// values outside the 64-bit range give 0.
int32_t to_int(double value);

int eval_relation();
double eval_expression();
double eval_term();
double eval_factor();
double eval_variable();

// Ordered comparisons of the language: a NaN operand is an invalid operation.
void check_ordered(double a, double b);
// The same, for range tests made after the statement has read its end: a fault names the line
// on which the statement began.
void check_ordered_in_statement(double a, double b);
