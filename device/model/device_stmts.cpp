#include "device_stmts.h"

#include <cassert>

#include "channels.h"
#include "clock.h"
#include "eval.h"
#include "interp.h"
#include "radio.h"
#include "tokenizer.h"

namespace {

// keyword var "," var "," var end  -- all tokens first, then the three reads in order, so a
// repeated letter keeps the last value
void read_three(TokenKind keyword, Channel first) {
    expect_token(keyword);
    int target[3];
    for (int k = 0; k < 3; ++k) {
        if (k > 0) expect_token(TK_COMMA);
        target[k] = tok_variable();
        expect_token(TK_VARIABLE);
    }
    expect_token(TK_CR);
    for (int k = 0; k < 3; ++k) {
        var_set(target[k], channel_value(static_cast<Channel>(static_cast<int>(first) + k)));
    }
}

// keyword var end
void read_one(TokenKind keyword, Channel channel) {
    expect_token(keyword);
    const int i = tok_variable();
    expect_token(TK_VARIABLE);
    expect_token(TK_CR);
    var_set(i, channel_value(channel));
}

// A coil value clamped to -1..1, as a slider position in hundredths, truncated: 0.29 gives 28.
int32_t coil_position(double v) {
    check_ordered_in_statement(v, 0);
    if (!(v >= -1)) v = -1;
    if (v > 1) v = 1;
    return static_cast<int32_t>(static_cast<long double>(v) * 100.0L);
}

}  // namespace

void stmt_mget() {
    read_three(TK_MGET, Channel::MagX);
}
void stmt_cget() {
    read_three(TK_CGET, Channel::ColR);
}
void stmt_tget() {
    read_one(TK_TGET, Channel::Tem);
}
void stmt_pget() {
    read_one(TK_PGET, Channel::Sys);
}

// RX var end  -- also ends a transmission
void stmt_rx() {
    expect_token(TK_RX);
    const int i = tok_variable();
    expect_token(TK_VARIABLE);
    expect_token(TK_CR);
    radio.tx_active = false;
    radio_changed();
    var_set(i, channel_value(Channel::Rx));
}

// COIL expr "," expr "," expr end
void stmt_coil() {
    expect_token(TK_COIL);
    const double x = eval_expression();
    expect_token(TK_COMMA);
    const double y = eval_expression();
    expect_token(TK_COMMA);
    const double z = eval_expression();
    expect_token(TK_CR);
    const int32_t px = coil_position(x);
    const int32_t py = coil_position(y);
    const int32_t pz = coil_position(z);
    channel_set(Channel::CoiX, px);
    channel_set(Channel::CoiY, py);
    channel_set(Channel::CoiZ, pz);
}

// SPEED expr end  -- an indicator only; it does not change the pace of the run
void stmt_speed() {
    expect_token(TK_SPEED);
    double v = eval_expression();
    check_ordered_in_statement(v, 0);
    if (!(v >= 0)) {
        v = 0;
    } else if (v > 4) {
        v = 4;
    }
    const int32_t n = to_int(v);
    expect_token(TK_CR);
    channel_set(Channel::Spd, n);
}

// DELAY expr end  -- no statement runs before the resume time; the run loop does the waiting
void stmt_delay() {
    expect_token(TK_DELAY);
    const int32_t n = to_int(eval_expression());
    expect_token(TK_CR);
    interp.resume_time =
        static_cast<int32_t>(static_cast<uint32_t>(n) + static_cast<uint32_t>(clock_ms()));
}

void device_register_statements() {
    static constexpr struct {
        TokenKind token;
        StatementFn executor;
    } executors[] = {
        {TK_MGET, stmt_mget}, {TK_CGET, stmt_cget}, {TK_TGET, stmt_tget},   {TK_PGET, stmt_pget},
        {TK_RX, stmt_rx},     {TK_COIL, stmt_coil}, {TK_SPEED, stmt_speed}, {TK_DELAY, stmt_delay},
        {TK_TX, stmt_tx},     {TK_ROFF, stmt_roff},
    };
    for (const auto& e : executors) {
        // Every device statement has its row in the grammar; a refusal is a slip in this list.
        [[maybe_unused]] const bool entered = interp_register(e.token, e.executor);
        assert(entered);
    }
}
