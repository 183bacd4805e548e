#include "control.h"

#include <cstdio>

#include "eval.h"
#include "interp.h"
#include "labels.h"
#include "tokenizer.h"

// IF relation THEN statement [ELSE statement]
// Each branch is one statement. The false branch skips token by token to the first ELSE, ":"
// or end of text; the token right after THEN is stepped over unseen. An invalid character ends
// the skip as the end of the text does.
void stmt_if() {
    expect_token(TK_IF);
    const int condition = eval_relation();
    if (condition != 0 && tok_current() == TK_THEN && tok_fast_paths) {
        // THEN GOTO, passed before: straight to where that GOTO went.
        if (const char* target = cached_goto(tok_next_position())) {
            tok_jump(target);
            return;
        }
    }
    expect_token(TK_THEN);
    if (condition != 0) {
        exec_statement();
        return;
    }
    do {
        tok_advance();
    } while (tok_current() != TK_ELSE && tok_current() != TK_CR && tok_current() != TK_ENDOFINPUT &&
             tok_current() != TK_ERROR);
    if (tok_current() == TK_ELSE) {
        tok_advance();
        exec_statement();
    } else if (tok_current() == TK_CR) {
        tok_advance();
    }
}

// FOR var = expr TO expr end
// The body always runs once: the start value is not compared with the limit.
void stmt_for() {
    expect_token(TK_FOR);
    const int i = tok_variable();
    expect_token(TK_VARIABLE);
    expect_token(TK_EQ);
    var_set(i, eval_expression());
    expect_token(TK_TO);
    const double limit = eval_expression();
    expect_token(TK_CR);
    if (interp.for_level >= MAX_FOR_LEVELS) {
        report_statement_error("ERROR: FOR stack overflow");
        return;
    }
    interp.for_stack[interp.for_level++] = {tok_position(), i, limit};
}

// NEXT var [end]  -- the ":" is consumed only when the loop ends
void stmt_next() {
    expect_token(TK_NEXT);
    const int i = tok_variable();
    expect_token(TK_VARIABLE);
    if (interp.for_level > 0 && interp.for_stack[interp.for_level - 1].variable == i) {
        const ForEntry& loop = interp.for_stack[interp.for_level - 1];
        var_set(i, var_get(i) + 1);
        const double value = var_get(i);
        check_ordered(value, loop.limit);
        if (value > loop.limit) {
            --interp.for_level;
            expect_token(TK_CR);
        } else {
            tok_jump(loop.position);
        }
        return;
    }
    // With no loop open there is no expected variable: -1 says so.
    const int expected =
        interp.for_level > 0 ? interp.for_stack[interp.for_level - 1].variable : -1;
    char message[80];
    std::snprintf(message, sizeof message, "ERROR: NEXT does not match. Expected %d, got %d",
                  expected, i);
    report_error(message);
    expect_token(TK_CR);
}
