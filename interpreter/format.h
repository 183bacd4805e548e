// The general number format: PRINT and the device labels use 15 significant digits, the
// variable panel 6.
#pragma once

#include <cstddef>

// Longest text format_general writes, its terminating NUL included: sign, 15 digits, point,
// "E-", three exponent digits.
inline constexpr int FORMAT_BUFFER_SIZE = 32;

// Writes `value` rounded to `digits` significant digits into `out` and returns its length.
// Plain notation while the value has at most `digits` digits before the point and a magnitude of
// at least 0.0001; otherwise "1.5E-5" style. Always '.' as the separator.
int format_general(double value, int digits, char* out);

inline constexpr int PRINT_DIGITS = 15;
inline constexpr int PANEL_DIGITS = 6;
