#include "tokenizer.h"

#include <locale.h>

#include <cfloat>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "interp.h"

TokenizerState tokenizer;
TokenCache token_cache;
bool tok_fast_paths = true;
namespace {

constexpr std::array<unsigned char, 256> table_quick_codes() {
    std::array<unsigned char, 256> codes{};
    for (int c = 0; c < 256; ++c) codes[c] = tok_detail::quick_table.code[c];
    return codes;
}

}  // namespace

constinit std::array<unsigned char, 256> tok_quick_codes = table_quick_codes();

void tok_set_fast_paths(bool on) {
    tok_fast_paths = on;
    tok_quick_codes = on ? table_quick_codes() : std::array<unsigned char, 256>{};
    tok_cache_forget();
}

void tok_cache_text(const char* text, size_t extent) {
    tok_cache_forget();
    if (!tok_fast_paths) return;
    if (extent > TOKEN_CACHE_SIZE) extent = TOKEN_CACHE_SIZE;
    token_cache.base = text;
    token_cache.extent = extent;
}

void tok_cache_forget() {
    std::memset(token_cache.entry, 0, token_cache.extent * sizeof(TokenCacheEntry));
    std::memset(token_cache.expression, 0, token_cache.extent * sizeof(ExpressionNote));
    token_cache.base = nullptr;
    token_cache.extent = 0;
}

void tok_classify_and_keep(const char* p, uintptr_t at) {
    tok_classify_scanning(p);
    const TokenKind kind = tokenizer.current;
    if (kind == TK_ERROR || kind == TK_ENDOFINPUT || tokenizer.end <= p) return;
    TokenCacheEntry& e = token_cache.entry[at];
    e.kind = static_cast<unsigned char>(kind);
    e.length = static_cast<uint16_t>(tokenizer.end - p);
    if (kind == TK_NUMBER) {
        e.number_known = tokenizer.number_known;
        token_cache.number[at] = tokenizer.number;
    }
}


namespace {

constexpr bool is_number_char(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// The powers of ten that are exact as doubles.
constexpr double exact_powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Whether double arithmetic rounds once per operation; wider intermediates would round twice.
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
constexpr bool exact_arithmetic = true;
#else
constexpr bool exact_arithmetic = false;
#endif

// The value of the decimal mantissa / 10^fraction_digits, negated when `negative`. With a
// mantissa below 2^53 (exact as a double) and at most 22 fraction digits (an exact power of
// ten), one correctly rounded division gives the double nearest to the decimal value, which
// is what the library's correctly rounded conversion gives too.
inline double exact_decimal(uint64_t mantissa, int fraction_digits, bool negative) {
    double v = static_cast<double>(mantissa);
    if (fraction_digits > 0) v /= exact_powers_of_ten[fraction_digits];
    return negative ? -v : v;
}

using tok_detail::scan_single_char;

// What the first character of a token says about it.
enum Lead : unsigned char {
    LEAD_OTHER,   // no token begins with it
    LEAD_END,     // the text's NUL
    LEAD_NUMBER,  // a digit or "."
    LEAD_MINUS,   // a number's sign or the minus operator
    LEAD_SINGLE,  // a one-character token
    LEAD_QUOTE,   // a string literal
    LEAD_LETTER,  // a variable: no keyword begins with this letter
    LEAD_WORD,    // a keyword or a variable
};

// Everything the scan looks up by character, built once.
struct ScanTables {
    unsigned char lead[256];
    unsigned char single[256];
    // The token of a character that is a whole token by itself, whatever follows: the
    // one-character tokens and the letters no keyword begins with; 0 for every other.
    unsigned char quick[256];
    unsigned char number[256];

    ScanTables() : lead{}, single{}, quick{}, number{} {
        for (int c = 0; c < 256; ++c) {
            const char ch = static_cast<char>(c);
            number[c] = is_number_char(ch) ? 1 : 0;
            single[c] = static_cast<unsigned char>(scan_single_char(ch));
            if (c == 0) {
                lead[c] = LEAD_END;
            } else if (is_number_char(ch)) {
                lead[c] = LEAD_NUMBER;
            } else if (ch == '-') {
                lead[c] = LEAD_MINUS;
            } else if (single[c] != TK_ERROR) {
                lead[c] = LEAD_SINGLE;
            } else if (ch == '"') {
                lead[c] = LEAD_QUOTE;
            } else if (ch >= 'A' && ch <= 'Z') {
                lead[c] = tok_detail::begins_keyword(ch) ? LEAD_WORD : LEAD_LETTER;
            } else {
                lead[c] = LEAD_OTHER;
            }
        }
        for (int c = 0; c < 256; ++c) {
            if (lead[c] == LEAD_SINGLE) quick[c] = single[c];
            if (lead[c] == LEAD_LETTER) quick[c] = TK_VARIABLE;
        }
    }
};

const ScanTables tables;

// The number rule: up to MAX_NUMBER_CHARS number characters, a leading "-" included.
inline TokenKind scan_number(const char* pos, const char** end, int s) {
    for (int i = s; i <= MAX_NUMBER_CHARS; ++i) {
        if (!tables.number[static_cast<unsigned char>(pos[i])]) {
            if (i == s) {
                *end = pos + 1;
                return TK_MINUS;
            }
            *end = pos + i;
            return TK_NUMBER;
        }
    }
    // Sixteen number characters in a row: the end stays put, so the scan never gets past them.
    return TK_ERROR;
}

// The same rule, working out the literal's value on the way where that is exact (see
// exact_decimal below); `*value` is left alone otherwise.
inline TokenKind scan_number_valued(const char* pos, const char** end, int s, double* value,
                                    bool* known) {
    uint64_t mantissa = 0;
    int dots = 0;
    int fraction_digits = 0;
    for (int i = s; i <= MAX_NUMBER_CHARS; ++i) {
        const char c = pos[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            fraction_digits += dots;
            continue;
        }
        if (c == '.') {
            ++dots;
            continue;
        }
        if (i == s) {
            *end = pos + 1;
            return TK_MINUS;
        }
        *end = pos + i;
        // At most 15 characters: the digits make an integer below 2^53. A second "." or no
        // digit at all, or a letter that could carry the conversion on, is left to the library.
        if (dots <= 1 && i - s - dots > 0 && c != 'e' && c != 'E' && c != 'x' && c != 'X') {
            *value = exact_decimal(mantissa, fraction_digits, s != 0);
            *known = true;
        }
        return TK_NUMBER;
    }
    return TK_ERROR;
}

// Whether `close` lies on the editor line of `open`: in the program store, the line table says
// (the ":" that joins two lines would not); any other text is one line up to its NUL.
inline bool on_same_line(const char* open, const char* close) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(open) -
                         reinterpret_cast<uintptr_t>(machine.program_store);
    if (at >= PROGRAM_STORE_SIZE) return true;
    return machine.line_table[at] == machine.line_table[at + static_cast<uintptr_t>(close - open)];
}

// A literal ends at the next quote on its own line. Without one it is no token, just like a
// literal left open at the end of the text: the next lines never become part of it.
inline TokenKind scan_string(const char* pos, const char** end) {
    const char* close = std::strchr(pos + 1, '"');
    if (close == nullptr || !on_same_line(pos, close)) return TK_ERROR;
    *end = close + 1;
    return TK_STRING;
}

// The keywords by their first two letters (every keyword has at least two, all upper case):
// each pair's keywords chained in table order, so a scan tries only the keywords that can match
// and still finds the same first match as a pass over the whole table.
constexpr int letter_pair(char first, char second) {
    return (first - 'A') * 32 + (second - 'A');
}

struct KeywordCandidate {
    char text[7];  // NUL-padded
    unsigned char length;
    unsigned char token;
    unsigned char next;  // index + 1 of the next keyword with the same two letters; 0 for none
};

struct KeywordIndex {
    unsigned char first[26 * 32];  // index + 1 of a pair's first keyword; 0 for none
    KeywordCandidate rows[KEYWORD_COUNT];
};

constexpr KeywordIndex make_keyword_index() {
    KeywordIndex index{};
    for (int row = KEYWORD_COUNT - 1; row >= 0; --row) {
        const KeywordEntry& k = keyword_table[row];
        KeywordCandidate& c = index.rows[row];
        int n = 0;
        while (k.keyword[n] != '\0') {
            c.text[n] = k.keyword[n];
            ++n;
        }
        c.length = static_cast<unsigned char>(n);
        c.token = static_cast<unsigned char>(k.token);
        unsigned char& head = index.first[letter_pair(k.keyword[0], k.keyword[1])];
        c.next = head;
        head = static_cast<unsigned char>(row + 1);
    }
    return index;
}

constexpr bool keywords_fit_the_index() {
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        int n = 0;
        while (k->keyword[n] != '\0') ++n;
        if (n < 2 || n > 7) return false;
        if (k->keyword[0] < 'A' || k->keyword[0] > 'Z') return false;
        if (k->keyword[1] < 'A' || k->keyword[1] > 'Z') return false;
    }
    return true;
}
static_assert(keywords_fit_the_index());

constexpr KeywordIndex keyword_index = make_keyword_index();

// A keyword, else the variable of the letter at `pos`.
inline TokenKind scan_word(const char* pos, const char** end) {
    const char second = pos[1];
    // Every keyword goes on with an upper-case letter; a letter before anything else is a
    // variable whatever it is.
    if (second >= 'A' && second <= 'Z') {
        for (int row = keyword_index.first[letter_pair(pos[0], second)]; row != 0;) {
            const KeywordCandidate& k = keyword_index.rows[row - 1];
            // A mismatch at the text's NUL ends the comparison before it can run past it.
            int i = 2;
            while (i < k.length && pos[i] == k.text[i]) ++i;
            if (i == k.length) {
                *end = pos + i;
                return static_cast<TokenKind>(k.token);
            }
            row = k.next;
        }
    }
    *end = pos + 1;
    return TK_VARIABLE;
}

inline TokenKind scan_fast(const char* pos, const char** end, double* value, bool* known) {
    const unsigned char c = static_cast<unsigned char>(*pos);
    const unsigned char quick = tables.quick[c];
    if (quick != 0) {
        *end = pos + 1;
        return static_cast<TokenKind>(quick);
    }
    switch (tables.lead[c]) {
        case LEAD_WORD:
            return scan_word(pos, end);
        case LEAD_NUMBER:
            return exact_arithmetic ? scan_number_valued(pos, end, 0, value, known)
                                    : scan_number(pos, end, 0);
        case LEAD_MINUS:
            return exact_arithmetic ? scan_number_valued(pos, end, 1, value, known)
                                    : scan_number(pos, end, 1);
        case LEAD_END:
            return TK_ENDOFINPUT;
        case LEAD_QUOTE:
            return scan_string(pos, end);
        default:
            return TK_ERROR;
    }
}

// The rules one after the other, the keywords as one pass over the whole table: the
// reference the fast scan must always agree with.
TokenKind scan_plain(const char* pos, const char** end) {
    const char c = *pos;
    if (c == '\0') return TK_ENDOFINPUT;
    if (is_number_char(c) || c == '-') return scan_number(pos, end, c == '-' ? 1 : 0);
    const TokenKind single = scan_single_char(c);
    if (single != TK_ERROR) {
        *end = pos + 1;
        return single;
    }
    if (c == '"') return scan_string(pos, end);
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        const size_t n = std::strlen(k->keyword);
        if (std::strncmp(pos, k->keyword, n) == 0) {
            *end = pos + n;
            return k->token;
        }
    }
    if (c >= 'A' && c <= 'Z') {
        *end = pos + 1;
        return TK_VARIABLE;
    }
    return TK_ERROR;
}

// Scans the token at `pos` into the tokenizer state.
inline void scan_current(const char* pos) {
    tokenizer.number_known = false;
    tokenizer.current = tok_fast_paths
                            ? scan_fast(pos, &tokenizer.end, &tokenizer.number, &tokenizer.number_known)
                            : scan_plain(pos, &tokenizer.end);
}

locale_t c_locale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

}  // namespace

TokenKind scan_token(const char* pos, const char** end) {
    double value;
    bool known;
    return tok_fast_paths ? scan_fast(pos, end, &value, &known) : scan_plain(pos, end);
}

void tok_reset(const char* text) {
    tokenizer.pos = text;
    tokenizer.end = text;
    scan_current(text);
}

void tok_scan_at(const char* p) {
    scan_current(p);
}

void tok_scan_word_at(const char* p) {
    tokenizer.current = scan_word(p, &tokenizer.end);
}

namespace {

// Most literals are a few digits with perhaps a fraction: up to 15 digits in all, converted
// as exact_decimal does. Sets `*value` and returns true when the text is of that shape;
// anything else (an exponent, a hexadecimal prefix, more digits, no digit at all, leading
// white space) is left to the library.
inline bool parse_plain_decimal(const char* text, double* value) {
    if (!exact_arithmetic) return false;
    constexpr int max_digits = 15;
    const char* p = text;
    const bool negative = (*p == '-');
    if (negative) ++p;
    uint64_t mantissa = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9') {
        if (++digits > max_digits) return false;
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    int fraction_digits = 0;
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9') {
            if (++digits > max_digits) return false;
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            ++fraction_digits;
            ++p;
        }
    }
    if (digits == 0) return false;
    // What could make the library read on: an exponent, or a hexadecimal "0X" prefix.
    const char next = *p;
    if (next == 'e' || next == 'E' || next == 'x' || next == 'X') return false;
    *value = exact_decimal(mantissa, fraction_digits, negative);
    return true;
}

}  // namespace

double parse_number_plain(const char* text) {
    // In the "C" locale, so a user's decimal comma never changes a program's numbers.
    return strtod_l(text, nullptr, c_locale());
}

double parse_number(const char* text) {
    double value;
    if (tok_fast_paths && parse_plain_decimal(text, &value)) return value;
    return parse_number_plain(text);
}

double tok_number() {
    return tokenizer.current == TK_NUMBER && tokenizer.number_known ? tokenizer.number
                                                                  : parse_number(tokenizer.pos);
}

int tok_variable() {
    return static_cast<unsigned char>(*tokenizer.pos) - 'A';
}

void tok_string(char* dest, int maximum) {
    if (tokenizer.current != TK_STRING) return;
    const char* open = tokenizer.pos;
    const char* close = std::strchr(open + 1, '"');
    if (close == nullptr) return;
    int n = static_cast<int>(close - open - 1);
    if (maximum < n) n = maximum;
    if (n < 0) n = 0;
    std::memcpy(dest, open + 1, static_cast<size_t>(n));
    dest[n] = '\0';
}
