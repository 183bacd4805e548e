#include "format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

int format_general(double value, int digits, char* out) {
    if (std::isnan(value)) {
        std::memcpy(out, "NAN", 4);
        return 3;
    }
    if (std::isinf(value)) {
        const char* text = value < 0 ? "-INF" : "INF";
        std::strcpy(out, text);
        return static_cast<int>(std::strlen(text));
    }
    if (value == 0) {  // negative zero too
        std::memcpy(out, "0", 2);
        return 1;
    }

    // Round once, in scientific form: the mantissa digits and the exponent decide the notation.
    char sci[FORMAT_BUFFER_SIZE];
    const auto res = std::to_chars(sci, sci + sizeof sci, std::fabs(value),
                                   std::chars_format::scientific, digits - 1);
    *res.ptr = '\0';
    char mantissa[FORMAT_BUFFER_SIZE];
    int count = 0;
    const char* p = sci;
    for (; *p != 'e'; ++p) {
        if (*p != '.') mantissa[count++] = *p;
    }
    const int exponent = std::atoi(p + 1);
    while (count > 1 && mantissa[count - 1] == '0') --count;

    char* o = out;
    if (value < 0) *o++ = '-';
    if (exponent >= -4 && exponent < digits) {
        if (exponent < 0) {
            *o++ = '0';
            *o++ = '.';
            for (int i = -1; i > exponent; --i) *o++ = '0';
            for (int i = 0; i < count; ++i) *o++ = mantissa[i];
        } else {
            for (int i = 0; i <= exponent; ++i) *o++ = i < count ? mantissa[i] : '0';
            if (count > exponent + 1) {
                *o++ = '.';
                for (int i = exponent + 1; i < count; ++i) *o++ = mantissa[i];
            }
        }
    } else {
        *o++ = mantissa[0];
        if (count > 1) {
            *o++ = '.';
            for (int i = 1; i < count; ++i) *o++ = mantissa[i];
        }
        *o++ = 'E';
        const auto r = std::to_chars(o, out + FORMAT_BUFFER_SIZE - 1, exponent);
        o = r.ptr;
    }
    *o = '\0';
    return static_cast<int>(o - out);
}
