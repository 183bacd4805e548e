#include "control.h"

#include <cstdint>

#include "eval.h"
#include "interp.h"
#include "labels.h"
#include "tokenizer.h"

IfSkip if_skip_cache[IF_SKIP_CACHE_SIZE];

namespace {

inline IfSkip& if_skip_slot(const char* then_at) {
    return if_skip_cache[(reinterpret_cast<uintptr_t>(then_at) >> 1) % IF_SKIP_CACHE_SIZE];
}

// Where the skip behind the THEN at `then_at` ended when it was last made; nullptr when that
// is not known.
inline const char* remembered_skip(const char* then_at) {
    const IfSkip& s = if_skip_slot(then_at);
    return s.then_at == then_at ? s.stop : nullptr;
}

// After the skip: an ELSE runs the statement behind it, a ":" is stepped over, and the end of
// the text or an invalid token stays the current token.
inline void after_skip() {
    if (tok_current() == TK_ELSE) {
        tok_advance();
        exec_statement();
    } else if (tok_current() == TK_CR) {
        tok_advance();
    }
}

}  // namespace

void if_skips_clear() {
    for (IfSkip& s : if_skip_cache) s = IfSkip{};
}

// IF relation THEN statement [ELSE statement]
// Each branch is one statement. The false branch skips token by token to the first ELSE, ":"
// or end of text; the token right after THEN is stepped over unseen. An invalid character ends
// the skip as the end of the text does.
void stmt_if() {
    expect_token(TK_IF);
    const int condition = eval_relation();
    const char* then_at = nullptr;
    if (tok_current() == TK_THEN && tok_fast_paths) {
        if (condition != 0) {
            // THEN GOTO, passed before: straight to where that GOTO went.
            if (const char* target = cached_goto(tok_next_position())) {
                tok_jump(target);
                return;
            }
        } else {
            then_at = tok_position();
            if (const char* stop = remembered_skip(then_at)) {
                tok_jump(stop);
                after_skip();
                return;
            }
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
    if (then_at != nullptr && (tok_current() == TK_ELSE || tok_current() == TK_CR)) {
        if_skip_slot(then_at) = {then_at, tok_position()};
    }
    after_skip();
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
        report_statement_error({.kind = ReportKind::ForStackOverflow, .limit = MAX_FOR_LEVELS});
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
    report_error({.kind = ReportKind::NextMismatch, .expected = expected, .got = i});
    expect_token(TK_CR);
}
