// The tokenizer: classifies one token at a time, in place, on the prepared program text.
#pragma once

#include <cstddef>

#include "tokens.h"

// Longest number literal in characters, its minus sign included; a longer run of number
// characters is no token at all.
inline constexpr int MAX_NUMBER_CHARS = 15;

struct TokenizerState {
    const char* pos = nullptr;  // first character of the current token
    const char* end = nullptr;  // first character behind it; the next advance starts here
    TokenKind current = TK_ERROR;
    // The value of the current number literal, worked out while it was scanned; when not
    // known, tok_number converts the text.
    double number = 0.0;
    bool number_known = false;
};

extern TokenizerState tokenizer;

// The shortcuts of the scan, the number conversion and the label lookup; on by default. Off,
// every token is classified by the rules one after the other with the keywords as one pass over
// the whole table, every number goes through the C library, and labels are looked up by walking
// the cache. Both ways give the same results; the differential fuzz target compares them.
extern bool tok_fast_paths;

void tok_reset(const char* text);
void tok_jump(const char* position);
void tok_advance();
inline TokenKind tok_current() {
    return tokenizer.current;
}
inline const char* tok_position() {
    return tokenizer.pos;
}
inline bool tok_at_end() {
    return *tokenizer.pos == '\0' || tokenizer.current == TK_ENDOFINPUT;
}
double tok_number();
int tok_variable();
void tok_string(char* dest, int maximum);

// Exposed for tests: classification of the token at `pos`, setting `*end` where it applies.
TokenKind scan_token(const char* pos, const char** end);
// Value of a number text as the C library's atof reads it, in the "C" locale. Reads no farther
// than the terminating NUL.
double parse_number(const char* text);
// The same value, always through the C library.
double parse_number_plain(const char* text);
