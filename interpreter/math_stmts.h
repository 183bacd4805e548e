// The nineteen math statements: each evaluates its arguments, applies one library function and
// stores the result in a variable. Library errors go to a sink the host installs.
#pragma once

#include <string_view>

#include "tokens.h"

using MathErrorSink = void (*)(std::string_view text, void* context);
void math_set_error_sink(MathErrorSink sink, void* context);
// The sink in force and its context.
MathErrorSink math_error_sink(void** context);

// Builds "<function>: <kind> error" and hands it to the sink; UNDERFLOW and TLOSS are silent.
void math_error_report(const char* function, const char* kind);

// The library functions with the results and reports this language defines for their edge
// cases, the same on every platform.
double math_acos(double x);
double math_asin(double x);
double math_atan(double x);
double math_atan2(double y, double x);
double math_ceil(double x);
double math_cos(double x);
double math_cosh(double x);
double math_fabs(double x);
double math_floor(double x);
double math_fmod(double a, double b);
double math_log(double x);
double math_log10(double x);
double math_pow(double a, double b);
double math_sin(double x);
double math_sinh(double x);
double math_sqrt(double x);
double math_tan(double x);
double math_tanh(double x);

void stmt_acos();
void stmt_asin();
void stmt_atan();
void stmt_tpatan();
void stmt_ceil();
void stmt_cos();
void stmt_hcos();
void stmt_exp();
void stmt_fabs();
void stmt_floor();
void stmt_fmod();
void stmt_log();
void stmt_dlog();
void stmt_pow();
void stmt_sin();
void stmt_hsin();
void stmt_sqrt();
void stmt_tan();
void stmt_htan();

struct MathStatement {
    TokenKind token;
    void (*executor)();
};

// order: token codes 36..54
inline constexpr MathStatement math_statements[] = {
    {TK_ACOS, stmt_acos}, {TK_ASIN, stmt_asin},   {TK_ATAN, stmt_atan}, {TK_TPATAN, stmt_tpatan},
    {TK_CEIL, stmt_ceil}, {TK_COS, stmt_cos},     {TK_HCOS, stmt_hcos}, {TK_EXP, stmt_exp},
    {TK_FABS, stmt_fabs}, {TK_FLOOR, stmt_floor}, {TK_FMOD, stmt_fmod}, {TK_LOG, stmt_log},
    {TK_DLOG, stmt_dlog}, {TK_POW, stmt_pow},     {TK_SIN, stmt_sin},   {TK_HSIN, stmt_hsin},
    {TK_SQRT, stmt_sqrt}, {TK_TAN, stmt_tan},     {TK_HTAN, stmt_htan},
};
