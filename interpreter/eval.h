// The expression evaluator: recursive descent over the live token stream, no tree, no state.
#pragma once

#include <cstdint>

#include "run_report.h"

// The one place arithmetic faults go through: reports the fault (division by zero, overflow,
// invalid operation) with its operands, and aborts the statement. A fault ends its statement
// at once and stops the run.
[[noreturn]] void arithmetic_fault(ReportKind kind, double left, double right);

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
