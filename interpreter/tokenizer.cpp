#include "tokenizer.h"

#include <locale.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

TokenizerState tokenizer;

const KeywordEntry keyword_table[] = {
    {"LABEL", TK_LABEL}, {"PRINT", TK_PRINT}, {"IF", TK_IF},         {"THEN", TK_THEN},
    {"ELSE", TK_ELSE},   {"FOR", TK_FOR},     {"TO", TK_TO},         {"NEXT", TK_NEXT},
    {"GOTO", TK_GOTO},   {"GOSUB", TK_GOSUB}, {"RETURN", TK_RETURN}, {"CALL", TK_CALL},
    {"PEEK", TK_PEEK},   {"POKE", TK_POKE},   {"END", TK_END},       {"ACOS", TK_ACOS},
    {"ASIN", TK_ASIN},   {"ATAN", TK_ATAN},   {"TPATAN", TK_TPATAN}, {"CEIL", TK_CEIL},
    {"COS", TK_COS},     {"HCOS", TK_HCOS},   {"EXP", TK_EXP},       {"FABS", TK_FABS},
    {"FLOOR", TK_FLOOR}, {"FMOD", TK_FMOD},   {"LOG", TK_LOG},       {"DLOG", TK_DLOG},
    {"POW", TK_POW},     {"SIN", TK_SIN},     {"HSIN", TK_HSIN},     {"SQRT", TK_SQRT},
    {"TAN", TK_TAN},     {"HTAN", TK_HTAN},   {"ROFF", TK_ROFF},     {"TX", TK_TX},
    {"RX", TK_RX},       {"MGET", TK_MGET},   {"CGET", TK_CGET},     {"COIL", TK_COIL},
    {"PGET", TK_PGET},   {"TGET", TK_TGET},   {"SPEED", TK_SPEED},   {"DELAY", TK_DELAY},
    {nullptr, TK_ERROR},
};

namespace {

// The keyword rows grouped by first character, each group in table order, so a scan tries only
// the rows that can match and still finds the same first match as a pass over the whole table.
struct KeywordIndex {
    unsigned char first_row[256];
    unsigned char row_count[256];
    const KeywordEntry* rows[KEYWORD_COUNT];

    KeywordIndex() : first_row{}, row_count{}, rows{} {
        int n = 0;
        for (int c = 0; c < 256; ++c) {
            first_row[c] = static_cast<unsigned char>(n);
            for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
                if (static_cast<unsigned char>(k->keyword[0]) == c) {
                    rows[n++] = k;
                }
            }
            row_count[c] = static_cast<unsigned char>(n - first_row[c]);
        }
    }
};

const KeywordIndex keyword_index;

constexpr bool is_number_char(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// order: ":" "," ";" "+" "-" "&" "|" "*" "/" "%" "(" "#" ")" "<" ">" "="
TokenKind scan_single_char(char c) {
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

locale_t c_locale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

}  // namespace

TokenKind scan_token(const char* pos, const char** end) {
    const char c = *pos;
    if (c == '\0') return TK_ENDOFINPUT;

    if (is_number_char(c) || c == '-') {
        const int s = (c == '-') ? 1 : 0;
        for (int i = s; i <= MAX_NUMBER_CHARS; ++i) {
            if (!is_number_char(pos[i])) {
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

    const TokenKind single = scan_single_char(c);
    if (single != TK_ERROR) {
        *end = pos + 1;
        return single;
    }

    if (c == '"') {
        const char* close = std::strchr(pos + 1, '"');
        // A literal without its closing quote is no token; the scan stops at the text's NUL.
        if (close == nullptr) return TK_ERROR;
        *end = close + 1;
        return TK_STRING;
    }

    const unsigned char uc = static_cast<unsigned char>(c);
    const int first = keyword_index.first_row[uc];
    for (int r = first; r < first + keyword_index.row_count[uc]; ++r) {
        const char* k = keyword_index.rows[r]->keyword;
        // The first characters are equal already. The text's NUL differs from every keyword
        // character, so the comparison never runs past the end of the text.
        int i = 1;
        while (k[i] != '\0' && pos[i] == k[i]) ++i;
        if (k[i] == '\0') {
            *end = pos + i;
            return keyword_index.rows[r]->token;
        }
    }

    if (c >= 'A' && c <= 'Z') {
        *end = pos + 1;
        return TK_VARIABLE;
    }
    return TK_ERROR;
}

void tok_reset(const char* text) {
    tokenizer.pos = text;
    tokenizer.end = text;
    tokenizer.current = scan_token(text, &tokenizer.end);
}

void tok_jump(const char* position) {
    tok_reset(position);
}

void tok_advance() {
    if (tok_at_end()) return;
    const char* p = tokenizer.end;
    while (*p == ' ') ++p;
    tokenizer.pos = p;
    tokenizer.current = scan_token(p, &tokenizer.end);
}

double parse_number(const char* text) {
    // Most literals are short runs of digits; they are exact as doubles and need no library call.
    const char* p = text;
    const bool negative = (*p == '-');
    if (negative) ++p;
    long long value = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits <= MAX_NUMBER_CHARS) {
        value = value * 10 + (*p - '0');
        ++p;
        ++digits;
    }
    const char next = *p;
    if (digits > 0 && digits <= MAX_NUMBER_CHARS && next != '.' && next != 'e' && next != 'E' &&
        next != 'x' && next != 'X' && !(next >= '0' && next <= '9')) {
        const double v = static_cast<double>(value);
        return negative ? -v : v;
    }
    // Everything else (fractions, exponents, hexadecimal, INF, NAN, leading white space) goes to
    // the library, in the "C" locale so a user's decimal comma never changes a program's numbers.
    return strtod_l(text, nullptr, c_locale());
}

double tok_number() {
    return parse_number(tokenizer.pos);
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
