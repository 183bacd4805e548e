// Token codes and the keyword table of the language.
#pragma once

#include <cstdint>

// ORDER TOKEN CODES: the codes are fixed numbers. Statement dispatch indexes a table by them and
// "ERROR: Expected token N, got M" shows them to the user, so never renumber.
enum TokenKind : int {
    TK_ERROR = 0,
    TK_LABEL = 1,
    TK_ENDOFINPUT = 2,
    TK_NUMBER = 3,
    TK_STRING = 4,
    TK_VARIABLE = 5,
    TK_PRINT = 6,
    TK_IF = 7,
    TK_THEN = 8,
    TK_ELSE = 9,
    TK_FOR = 10,
    TK_TO = 11,
    TK_NEXT = 12,
    TK_GOTO = 13,
    TK_GOSUB = 14,
    TK_RETURN = 15,
    TK_CALL = 16,
    TK_PEEK = 17,
    TK_POKE = 18,
    TK_END = 19,
    TK_COMMA = 20,
    TK_SEMICOLON = 21,
    TK_PLUS = 22,
    TK_MINUS = 23,
    TK_AND = 24,
    TK_OR = 25,
    TK_ASTR = 26,
    TK_SLASH = 27,
    TK_MOD = 28,
    TK_HASH = 29,
    TK_LEFTPAREN = 30,
    TK_RIGHTPAREN = 31,
    TK_LT = 32,
    TK_GT = 33,
    TK_EQ = 34,
    TK_CR = 35,
    TK_ACOS = 36,
    TK_ASIN = 37,
    TK_ATAN = 38,
    TK_TPATAN = 39,
    TK_CEIL = 40,
    TK_COS = 41,
    TK_HCOS = 42,
    TK_EXP = 43,
    TK_FABS = 44,
    TK_FLOOR = 45,
    TK_FMOD = 46,
    TK_LOG = 47,
    TK_DLOG = 48,
    TK_POW = 49,
    TK_SIN = 50,
    TK_HSIN = 51,
    TK_SQRT = 52,
    TK_TAN = 53,
    TK_HTAN = 54,
    TK_ROFF = 55,
    TK_TX = 56,
    TK_RX = 57,
    TK_MGET = 58,
    TK_CGET = 59,
    TK_COIL = 60,
    TK_PGET = 61,
    TK_TGET = 62,
    TK_SPEED = 63,
    TK_DELAY = 64,
};

// Number of token codes; the dispatch table has one slot per code.
inline constexpr int TOKEN_KIND_COUNT = 65;

struct KeywordEntry {
    const char* keyword;  // nullptr ends the table
    TokenKind token;
};

// ORDER KEYWORDS: the order in which keywords are tried when scanning. The first row whose text
// begins at the scan position wins, and there are no word boundaries, so the order is part of
// the language ("TO" before any keyword starting with "TO", "POW" before "POKE"...).
// clang-format off
inline constexpr KeywordEntry keyword_table[] = {
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
// clang-format on
inline constexpr int KEYWORD_COUNT = 44;
