#include "radio.h"

#include <chrono>
#include <cstring>

#include "eval.h"
#include "interp.h"
#include "tokenizer.h"

Radio radio;

void radio_reset() {
    radio = Radio{};
}

namespace {

RadioListener radio_listener = nullptr;
void* radio_listener_context = nullptr;

}  // namespace

void radio_set_listener(RadioListener listener, void* context) {
    radio_listener = listener;
    radio_listener_context = context;
}

void radio_changed() {
    if (radio_listener != nullptr) radio_listener(radio_listener_context);
}

void tx_reset() {
    radio.tx_active = false;
    radio.tx_column = 0;
    radio_changed();
}

int noise_random(int n) {
    if (n <= 0) return 0;
    // xorshift32: cheap, and every value 0..n-1 comes up.
    uint32_t x = radio.noise_state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    radio.noise_state = x;
    return static_cast<int>(x % static_cast<uint32_t>(n));
}

void noise_seed(uint32_t seed) {
    radio.noise_state = seed != 0 ? seed : 1;
}

void sdr_tick() {
    std::memmove(radio.pixels + SDR_STRIDE, radio.pixels,
                 static_cast<size_t>(SDR_HEIGHT - 1) * SDR_STRIDE);
    uint8_t* top = radio.pixels;
    for (int i = 0; i < SDR_WIDTH; ++i) {
        const uint8_t v = radio.sdr_row[i];
        top[i * 4 + 0] = v;
        top[i * 4 + 1] = v;
        top[i * 4 + 2] = v;
        radio.sdr_row[i] = static_cast<uint8_t>(NOISE_FLOOR + noise_random(NOISE_SPAN));
    }
}

void sdr_init() {
    sdr_tick();
    for (int row = 1; row < SDR_HEIGHT; ++row) {
        std::memcpy(radio.pixels + row * SDR_STRIDE, radio.pixels, SDR_STRIDE);
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    noise_seed(static_cast<uint32_t>(ms % 86400000));
}

int sdr_interval_ms(int position, int maximum) {
    return (maximum - position) * 10 + 10;
}

// TX channel, symbol end
// A channel outside 0..31 becomes channel 0, not the nearer end; the symbol is clamped to 0..7.
void stmt_tx() {
    expect_token(TK_TX);
    const double c = eval_expression();
    check_ordered_in_statement(c, 0);
    const int32_t channel = (c < 0 || c >= TX_CHANNELS) ? 0 : to_int(c);
    expect_token(TK_COMMA);
    double s = eval_expression();
    check_ordered_in_statement(s, 0);
    if (s > TX_MAX_SYMBOL) s = TX_MAX_SYMBOL;
    if (!(s > 0)) s = 0;
    const int32_t symbol = to_int(s);
    expect_token(TK_CR);
    radio.tx_column = channel * 3;
    radio.tx_symbol = symbol;
    radio.tx_active = true;
    radio_changed();
}

// ROFF end
void stmt_roff() {
    expect_token(TK_ROFF);
    radio.tx_active = false;
    expect_token(TK_CR);
    radio_changed();
}
