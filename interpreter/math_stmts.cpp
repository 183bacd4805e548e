#include "math_stmts.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "eval.h"
#include "interp.h"
#include "tokenizer.h"

namespace {

MathErrorSink error_sink = nullptr;
void* error_context = nullptr;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
// Trigonometric arguments from 2^53 on have no meaningful fraction of a turn left.
constexpr double TRIG_LIMIT = 9007199254740992.0;
// From here on cosh and sinh no longer fit in a double.
constexpr double HYPERBOLIC_LIMIT = 710.4755859375;
// 2^63: exponents this large are even, so a negative base has no defined sign.
constexpr double POW_EXPONENT_LIMIT = 9223372036854775808.0;

double domain(const char* function) {
    math_error_report(function, "DOMAIN");
    return NaN;
}

double overflow(const char* function, double result) {
    math_error_report(function, "OVERFLOW");
    return result;
}

double trig(double x, double (*f)(double)) {
    if (!(std::fabs(x) < TRIG_LIMIT)) return NaN;  // infinities and NaN too
    return f(x);
}

double logarithm(const char* function, double x, double (*f)(double)) {
    if (x == 0) {
        math_error_report(function, "SING");
        return -Inf;
    }
    if (x < 0) return domain(function);
    if (x == Inf) return overflow(function, Inf);
    return f(x);
}

// The function has run before the rest is read, so its message comes before any report about
// the remaining tokens.
void store_result(double r) {
    expect_token(TK_COMMA);
    const int i = tok_variable();
    expect_token(TK_VARIABLE);
    expect_token(TK_CR);
    var_set(i, r);
}

// keyword expr "," var end
void stmt_math1(TokenKind keyword, double (*f)(double)) {
    expect_token(keyword);
    const double x = eval_expression();
    store_result(f(x));
}

// keyword expr "," expr "," var end
void stmt_math2(TokenKind keyword, double (*f)(double, double)) {
    expect_token(keyword);
    const double a = eval_expression();
    expect_token(TK_COMMA);
    const double b = eval_expression();
    store_result(f(a, b));
}

double lib_sin(double x) {
    return std::sin(x);
}
double lib_cos(double x) {
    return std::cos(x);
}
double lib_tan(double x) {
    return std::tan(x);
}
double lib_log(double x) {
    return std::log(x);
}
double lib_log10(double x) {
    return std::log10(x);
}

}  // namespace

MathErrorSink math_error_sink(void** context) {
    *context = error_context;
    return error_sink;
}

void math_set_error_sink(MathErrorSink sink, void* context) {
    error_sink = sink;
    error_context = context;
}

void math_error_report(const char* function, const char* kind) {
    if (std::strcmp(kind, "UNDERFLOW") == 0 || std::strcmp(kind, "TLOSS") == 0) return;
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%s: %s error", function, kind);
    if (error_sink != nullptr)
        error_sink(std::string_view(text, static_cast<size_t>(n)), error_context);
}

double math_acos(double x) {
    return std::fabs(x) > 1 ? domain("acos") : std::acos(x);
}
double math_asin(double x) {
    return std::fabs(x) > 1 ? domain("asin") : std::asin(x);
}
double math_atan(double x) {
    return std::atan(x);
}

double math_atan2(double y, double x) {
    if ((y == 0 && x == 0) || (std::isinf(y) && std::isinf(x))) return domain("atan2");
    return std::atan2(y, x);
}

double math_ceil(double x) {
    return std::ceil(x);
}
double math_cos(double x) {
    return trig(x, lib_cos);
}

double math_cosh(double x) {
    if (std::fabs(x) >= HYPERBOLIC_LIMIT) return overflow("cosh", Inf);
    return std::cosh(x);
}

double math_fabs(double x) {
    return std::fabs(x);
}
double math_floor(double x) {
    return std::floor(x);
}

double math_fmod(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::fmod(a, b);
    if (b == 0 || std::isinf(a)) return 0.0;
    if (std::isinf(b)) return a;
    return std::fmod(a, b);
}

double math_log(double x) {
    return logarithm("log", x, lib_log);
}
double math_log10(double x) {
    return logarithm("log10", x, lib_log10);
}

double math_pow(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::pow(a, b);
    if (a == 0) {
        if (b == 0) {
            math_error_report("pow", "DOMAIN");
            return 1.0;
        }
        if (b < 0) {
            math_error_report("pow", "DOMAIN");
            return Inf;
        }
        return 0.0;
    }
    if (a < 0 && (std::fabs(b) >= POW_EXPONENT_LIMIT || b != std::trunc(b))) return domain("pow");
    if (b == 0 && std::isfinite(a)) return 1.0;
    if (std::isinf(a)) return b >= 0 ? overflow("pow", Inf) : 0.0;
    if (std::isinf(b)) return overflow("pow", Inf);
    const double r = std::pow(a, b);
    if (std::isinf(r)) return overflow("pow", Inf);
    // Results too small for a normal double underflow to 0, silently.
    if (std::fabs(r) < DBL_MIN) return 0.0;
    return r;
}

double math_sin(double x) {
    return trig(x, lib_sin);
}

double math_sinh(double x) {
    if (std::fabs(x) >= HYPERBOLIC_LIMIT) return overflow("sinh", std::copysign(Inf, x));
    return std::sinh(x);
}

double math_sqrt(double x) {
    return x < 0 ? domain("sqrt") : std::sqrt(x);
}
double math_tan(double x) {
    return trig(x, lib_tan);
}
double math_tanh(double x) {
    return std::tanh(x);
}

void stmt_acos() {
    stmt_math1(TK_ACOS, math_acos);
}
void stmt_asin() {
    stmt_math1(TK_ASIN, math_asin);
}
void stmt_atan() {
    stmt_math1(TK_ATAN, math_atan);
}
void stmt_tpatan() {
    stmt_math2(TK_TPATAN, math_atan2);
}
void stmt_ceil() {
    stmt_math1(TK_CEIL, math_ceil);
}
void stmt_cos() {
    stmt_math1(TK_COS, math_cos);
}
void stmt_hcos() {
    stmt_math1(TK_HCOS, math_cosh);
}
// EXP is the power function under another name, not e^x.
void stmt_exp() {
    stmt_math2(TK_EXP, math_pow);
}
void stmt_fabs() {
    stmt_math1(TK_FABS, math_fabs);
}
void stmt_floor() {
    stmt_math1(TK_FLOOR, math_floor);
}
void stmt_fmod() {
    stmt_math2(TK_FMOD, math_fmod);
}
void stmt_log() {
    stmt_math1(TK_LOG, math_log);
}
void stmt_dlog() {
    stmt_math1(TK_DLOG, math_log10);
}
void stmt_pow() {
    stmt_math2(TK_POW, math_pow);
}
void stmt_sin() {
    stmt_math1(TK_SIN, math_sin);
}
void stmt_hsin() {
    stmt_math1(TK_HSIN, math_sinh);
}
void stmt_sqrt() {
    stmt_math1(TK_SQRT, math_sqrt);
}
void stmt_tan() {
    stmt_math1(TK_TAN, math_tan);
}
void stmt_htan() {
    stmt_math1(TK_HTAN, math_tanh);
}
