// The tokenizer: classifies one token at a time, in place, on the prepared program text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "tokens.h"

// Longest number literal in characters, its minus sign included; a longer run of number
// characters is no token at all.
inline constexpr int MAX_NUMBER_CHARS = 15;

struct TokenizerState {
    const char* pos = nullptr;  // first character of the current token
    const char* end = nullptr;  // first character behind it; the next advance starts here
    TokenKind current = TK_ERROR;
    // The value of the current number literal, worked out while it was scanned; when not
    // known, tok_number converts the text. Only a scan that finds a number sets these: for
    // any other token they are stale and never read.
    double number = 0.0;
    bool number_known = false;
};

extern TokenizerState tokenizer;

// Positions of the text a run keeps, at most this many.
inline constexpr int TOKEN_CACHE_SIZE = 8192;

// What a scan found at one position of the running program's text: the text does not change
// while the program runs, so a position scanned once need not be scanned again. `length` 0: not
// scanned yet. Only tokens that can be advanced over are kept: never the end of the text, never
// an invalid character.
struct TokenCacheEntry {
    unsigned char kind;
    bool number_known;
    uint16_t length;
};

// What the evaluator found out about an expression that begins at a position (eval.cpp):
// whether it is one of the short shapes it works out without the token-by-token descent, and
// which. `form` 0: not looked at yet.
struct ExpressionNote {
    unsigned char form;
    unsigned char op;
    unsigned char left;
    unsigned char right;
    uint16_t length;  // from the expression's first token to the token behind it
    double number;
};

struct TokenCache {
    // The text the entries describe, and how many of its positions; an extent of 0 keeps nothing.
    const char* base = nullptr;
    uintptr_t extent = 0;
    TokenCacheEntry entry[TOKEN_CACHE_SIZE];
    double number[TOKEN_CACHE_SIZE];
    ExpressionNote expression[TOKEN_CACHE_SIZE];
};

extern TokenCache token_cache;

// Keeps the scans of the `extent` positions of `text` from now on, forgetting any kept before:
// the text must stay as it is until the next call or tok_cache_forget. With the fast paths off
// nothing is kept.
void tok_cache_text(const char* text, size_t extent);
// Keeps nothing any more: for when the kept text is about to change.
void tok_cache_forget();

// The shortcuts of the scan, the number conversion, the label lookup and the memory of where
// GOTO, GOSUB and a false IF went; on by default. Off, every token is classified by the rules one
// after the other with the keywords as one pass over the whole table, every number goes through
// the C library, labels are looked up by walking the cache, and every jump and skip reads its
// way. Both ways give the same results: the differential fuzz target compares them, and the
// tests run every golden program both ways.
// Read-only: tok_set_fast_paths changes it.
extern bool tok_fast_paths;
// The quick codes the inline classification uses (see tok_detail::QuickTable): the table's
// own with the fast paths on, all 0 (the full scan every time) with them off.
extern std::array<unsigned char, 256> tok_quick_codes;
// Turns the fast paths on or off.
void tok_set_fast_paths(bool on);

namespace tok_detail {

// order: ":" "," ";" "+" "-" "&" "|" "*" "/" "%" "(" "#" ")" "<" ">" "="
constexpr TokenKind scan_single_char(char c) {
    switch (c) {
        case ':':
            return TK_CR;
        case ',':
            return TK_COMMA;
        case ';':
            return TK_SEMICOLON;
        case '+':
            return TK_PLUS;
        case '-':
            return TK_MINUS;
        case '&':
            return TK_AND;
        case '|':
            return TK_OR;
        case '*':
            return TK_ASTR;
        case '/':
            return TK_SLASH;
        case '%':
            return TK_MOD;
        case '(':
            return TK_LEFTPAREN;
        case '#':
            return TK_HASH;
        case ')':
            return TK_RIGHTPAREN;
        case '<':
            return TK_LT;
        case '>':
            return TK_GT;
        case '=':
            return TK_EQ;
        default:
            return TK_ERROR;
    }
}

constexpr bool begins_keyword(char c) {
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        if (k->keyword[0] == c) return true;
    }
    return false;
}

// The token of a character that is a whole token by itself whatever follows it: the
// one-character tokens but "-" (which may be a number's sign), and the letters no keyword
// begins with. Two more marks: QUICK_LETTER for a letter that is a variable unless an upper-case
// letter follows (every keyword is two or more upper-case letters), QUICK_DIGIT for a digit
// that is a whole number literal unless a character follows that continues it, as a literal or
// as the library's conversion would. 0 for every other character.
inline constexpr unsigned char QUICK_LETTER = 0x80;
inline constexpr unsigned char QUICK_DIGIT = 0x81;

struct QuickTable {
    unsigned char code[256];
    // 1 for the characters that continue a one-digit literal: digits, ".", exponent marks and
    // the "X" of a hexadecimal prefix.
    unsigned char continues_digit[256];
};

constexpr QuickTable make_quick_table() {
    QuickTable t{};
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        if (ch != '-' && scan_single_char(ch) != TK_ERROR) {
            t.code[c] = static_cast<unsigned char>(scan_single_char(ch));
        } else if (ch >= 'A' && ch <= 'Z') {
            t.code[c] = begins_keyword(ch) ? QUICK_LETTER : static_cast<unsigned char>(TK_VARIABLE);
        } else if (ch >= '0' && ch <= '9') {
            t.code[c] = QUICK_DIGIT;
        }
        t.continues_digit[c] = (ch >= '0' && ch <= '9') || ch == '.' || ch == 'e' || ch == 'E' ||
                               ch == 'x' || ch == 'X';
    }
    return t;
}

inline constexpr QuickTable quick_table = make_quick_table();

}  // namespace tok_detail

void tok_reset(const char* text);
inline void tok_jump(const char* position);
inline TokenKind tok_current() {
    return tokenizer.current;
}
inline const char* tok_position() {
    return tokenizer.pos;
}
inline bool tok_at_end() {
    return *tokenizer.pos == '\0' || tokenizer.current == TK_ENDOFINPUT;
}
// Where the next advance would put the current position, without moving it there.
inline const char* tok_next_position() {
    if (tok_at_end()) return tokenizer.pos;
    const char* p = tokenizer.end;
    while (*p == ' ') ++p;
    return p;
}

// Classifies the token at `p`, the new current position.
void tok_scan_at(const char* p);
// The same for a letter some keyword begins with and another upper-case letter behind it.
void tok_scan_word_at(const char* p);

// Classifies the token at `p` in the kept text, `at` positions from its start, and keeps what
// the scan found.
void tok_classify_and_keep(const char* p, uintptr_t at);

// The classification without the kept scans: the common cases inline, the rest by the full scan.
[[gnu::always_inline]] inline void tok_classify_scanning(const char* p) {
    using namespace tok_detail;
    tokenizer.pos = p;
    const unsigned char c = static_cast<unsigned char>(*p);
    const unsigned char quick = tok_quick_codes[c];
    if (quick == 0) {
        tok_scan_at(p);
        return;
    }
    if (quick < QUICK_LETTER) [[likely]] {
        tokenizer.current = static_cast<TokenKind>(quick);
        tokenizer.end = p + 1;
        return;
    }
    if (quick == QUICK_LETTER) {
        if (p[1] >= 'A' && p[1] <= 'Z') {
            tok_scan_word_at(p);
            return;
        }
        tokenizer.current = TK_VARIABLE;
        tokenizer.end = p + 1;
        return;
    }
    // QUICK_DIGIT: an integer literal of up to 15 digits is exact in 64 bits, and as a double.
    // The value of a longer run is thrown away: such a run is no literal this path takes.
    const char* q = p + 1;
    uint64_t value = c - '0';
    unsigned d;
    while ((d = static_cast<unsigned char>(*q) - '0') <= 9) {
        value = value * 10 + d;
        ++q;
    }
    if (q - p > MAX_NUMBER_CHARS || quick_table.continues_digit[static_cast<unsigned char>(*q)]) {
        tok_scan_at(p);
        return;
    }
    tokenizer.current = TK_NUMBER;
    tokenizer.end = q;
    tokenizer.number = static_cast<double>(value);
    tokenizer.number_known = true;
}

// Makes `p` the current position and classifies the token there: from what an earlier scan of
// the same position found where that is kept, else by scanning.
[[gnu::always_inline]] inline void tok_classify_at(const char* p) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(token_cache.base);
    if (at < token_cache.extent) [[likely]] {
        const TokenCacheEntry e = token_cache.entry[at];
        if (e.length != 0) [[likely]] {
            tokenizer.pos = p;
            tokenizer.current = static_cast<TokenKind>(e.kind);
            tokenizer.end = p + e.length;
            if (e.kind == TK_NUMBER) {
                tokenizer.number = token_cache.number[at];
                tokenizer.number_known = e.number_known;
            }
            return;
        }
        tok_classify_and_keep(p, at);
        return;
    }
    tok_classify_scanning(p);
}

// Advances over a current token known not to be the end of the text, which begins with a
// character other than NUL.
inline void tok_advance_over_token() {
    const char* p = tokenizer.end;
    while (*p == ' ') ++p;
    tok_classify_at(p);
}

inline void tok_advance() {
    if (tok_at_end()) return;
    const char* p = tokenizer.end;
    while (*p == ' ') ++p;
    tok_classify_at(p);
}

// tok_reset for a position saved from tok_position in the same text.
inline void tok_jump(const char* position) {
    tokenizer.end = position;
    tok_classify_at(position);
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
