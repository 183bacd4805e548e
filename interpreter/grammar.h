// The form of every statement: the token that starts it, the pieces that follow, and how it ends.
//
// The executors read their statements in this form and the checker reads programs by it, so
// adding a statement is adding a row here, its executor and its help page. A row's executor
// is either the interpreter's own (in the dispatch table from the start) or registered by
// another layer through interp_register, which refuses a token without a row.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

#include "tokens.h"

// One piece of a statement after its first token.
enum class Piece : unsigned char {
    None,        // no more pieces
    Expression,  // a calculation: ["-"] term {op term}
    Variable,    // one letter A..Z
    Number,      // a number literal, checked as such
    LabelText,   // GOTO's label number: read from the text whatever token stands there
    Comma,
    Equals,
    To,
    Then,
    Relation,  // IF's condition: expressions joined by <, > or =
    Items,     // PRINT's list: texts, expressions, "," and ";", possibly none
    Branch,    // IF's branch: one statement, then "ELSE" and one statement where it stands
};

// What ends a statement, as a run meets it.
enum class Closing : unsigned char {
    ReadsEnd,  // it reads its ":" (NEXT only when its loop ends; otherwise it jumps back)
    Leaves,    // GOTO, RETURN, END: nothing behind it is read
    AnyToken,  // PRINT: any token that cannot start an item is taken in place of the ":"
    Branches,  // IF: it ends where the branch a run takes ends
};

// Where a statement's executor comes from.
enum class Executor : unsigned char {
    Interpreter,  // in the dispatch table from the start
    Registered,   // entered by another layer (the device) through interp_register
};

inline constexpr int MAX_PIECES = 6;

struct StatementForm {
    TokenKind token;  // TK_VARIABLE for an assignment
    std::array<Piece, MAX_PIECES> pieces;
    Closing closing;
    Executor executor;
};

namespace grammar_rows {
using enum Piece;
using enum Closing;
using enum Executor;
inline constexpr std::array<Piece, MAX_PIECES> ONE_VAR = {Variable};
inline constexpr std::array<Piece, MAX_PIECES> ONE_EXPR = {Expression};
inline constexpr std::array<Piece, MAX_PIECES> EXPR_VAR = {Expression, Comma, Variable};
inline constexpr std::array<Piece, MAX_PIECES> EXPR2_VAR = {Expression, Comma, Expression, Comma,
                                                            Variable};
inline constexpr std::array<Piece, MAX_PIECES> THREE_VARS = {Variable, Comma, Variable, Comma,
                                                             Variable};

// clang-format off
inline constexpr StatementForm rows[] = {
    {TK_VARIABLE, {Equals, Expression},                          ReadsEnd, Interpreter},  // A=1
    {TK_LABEL,    {Number},                                      ReadsEnd, Interpreter},
    {TK_PRINT,    {Items},                                       AnyToken, Interpreter},
    {TK_IF,       {Relation, Then, Branch},                      Branches, Interpreter},
    {TK_FOR,      {Variable, Equals, Expression, To, Expression}, ReadsEnd, Interpreter},
    {TK_NEXT,     ONE_VAR,                                       ReadsEnd, Interpreter},
    {TK_GOTO,     {LabelText},                                   Leaves,   Interpreter},
    {TK_GOSUB,    {Number},                                      ReadsEnd, Interpreter},
    {TK_RETURN,   {},                                            Leaves,   Interpreter},
    {TK_PEEK,     EXPR_VAR,                                      ReadsEnd, Interpreter},
    {TK_POKE,     {Expression, Comma, Expression},               ReadsEnd, Interpreter},
    {TK_END,      {},                                            Leaves,   Interpreter},
    // The math statements: one or two arguments, then the variable that takes the result.
    {TK_ACOS,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_ASIN,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_ATAN,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_TPATAN,   EXPR2_VAR,  ReadsEnd, Interpreter},
    {TK_CEIL,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_COS,      EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_HCOS,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_EXP,      EXPR2_VAR,  ReadsEnd, Interpreter},
    {TK_FABS,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_FLOOR,    EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_FMOD,     EXPR2_VAR,  ReadsEnd, Interpreter},
    {TK_LOG,      EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_DLOG,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_POW,      EXPR2_VAR,  ReadsEnd, Interpreter},
    {TK_SIN,      EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_HSIN,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_SQRT,     EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_TAN,      EXPR_VAR,   ReadsEnd, Interpreter},
    {TK_HTAN,     EXPR_VAR,   ReadsEnd, Interpreter},
    // The device's statements.
    {TK_ROFF,     {},                                            ReadsEnd, Registered},
    {TK_TX,       {Expression, Comma, Expression},               ReadsEnd, Registered},
    {TK_RX,       ONE_VAR,                                       ReadsEnd, Registered},
    {TK_MGET,     THREE_VARS,                                    ReadsEnd, Registered},
    {TK_CGET,     THREE_VARS,                                    ReadsEnd, Registered},
    {TK_COIL,     {Expression, Comma, Expression, Comma, Expression}, ReadsEnd, Registered},
    {TK_PGET,     ONE_VAR,                                       ReadsEnd, Registered},
    {TK_TGET,     ONE_VAR,                                       ReadsEnd, Registered},
    {TK_SPEED,    ONE_EXPR,                                      ReadsEnd, Registered},
    {TK_DELAY,    ONE_EXPR,                                      ReadsEnd, Registered},
};
// clang-format on
constexpr std::array<signed char, TOKEN_KIND_COUNT> make_row_index() {
    std::array<signed char, TOKEN_KIND_COUNT> index{};
    for (auto& i : index) i = -1;
    for (int k = 0; k < static_cast<int>(std::size(rows)); ++k) {
        index[static_cast<size_t>(rows[k].token)] = static_cast<signed char>(k);
    }
    return index;
}
inline constexpr std::array<signed char, TOKEN_KIND_COUNT> row_index = make_row_index();

constexpr bool one_row_per_token() {
    for (size_t a = 0; a < std::size(rows); ++a) {
        for (size_t b = a + 1; b < std::size(rows); ++b) {
            if (rows[a].token == rows[b].token) return false;
        }
    }
    return true;
}
static_assert(one_row_per_token(), "a token starts at most one statement form");
}  // namespace grammar_rows

inline constexpr auto& grammar = grammar_rows::rows;

// Whether a statement starts with `token`. (A test of a row's address against nullptr is no
// constant expression where null checks are kept, as in the sanitizer build.)
constexpr bool starts_statement(int token) {
    return token >= 0 && token < TOKEN_KIND_COUNT &&
           grammar_rows::row_index[static_cast<size_t>(token)] >= 0;
}

// The form of the statement that `token` starts, or nullptr when no statement starts with it.
constexpr const StatementForm* statement_form(int token) {
    if (token < 0 || token >= TOKEN_KIND_COUNT) return nullptr;
    const int row = grammar_rows::row_index[static_cast<size_t>(token)];
    return row < 0 ? nullptr : &grammar[row];
}
