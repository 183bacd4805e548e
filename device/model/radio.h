// The radio: the transmitter state that TX, ROFF and RX change, and the waterfall that shows it.
#pragma once

#include <cstdint>

// The waterfall is exactly as wide as the columns a tick draws, and as tall as its image.
inline constexpr int SDR_WIDTH = 100;
inline constexpr int SDR_HEIGHT = 649;
inline constexpr int SDR_BYTES_PER_PIXEL = 4;  // blue, green, red, and a byte never written
inline constexpr int SDR_STRIDE = SDR_WIDTH * SDR_BYTES_PER_PIXEL;
inline constexpr int TX_CHANNELS = 32;
inline constexpr int TX_MAX_SYMBOL = 7;
// Noise is 20..34, every trace 60..200: a transmission always stands out.
inline constexpr int NOISE_FLOOR = 20;
inline constexpr int NOISE_SPAN = 15;

// Channel c's trace is drawn at column 3c + 2; columns 3c + 1 .. 3c + 3 belong to channel c.
inline constexpr int sdr_channel_column(int channel) {
    return channel * 3 + 2;
}
// The channel a column of the waterfall belongs to, or -1 for a column no channel uses.
inline constexpr int sdr_column_channel(int column) {
    if (column < 1) return -1;
    const int channel = (column - 1) / 3;
    return channel < TX_CHANNELS ? channel : -1;
}

struct Radio {
    bool tx_active = false;
    int32_t tx_column = 0;  // channel * 3; the trace is drawn at column tx_column + 2
    int32_t tx_symbol = 0;
    // A simulated ground station moves the trace by the Doppler shift (in columns) and hides it
    // while the satellite is out of its view; without a simulation neither happens.
    int32_t tx_shift = 0;
    bool tx_in_view = true;
    uint8_t sdr_row[SDR_WIDTH] = {};
    uint32_t noise_state = 2463534242u;
    // Top row first, SDR_STRIDE bytes a row: the window shows this buffer as its image.
    alignas(16) uint8_t pixels[SDR_HEIGHT * SDR_STRIDE] = {};
};

extern Radio radio;

void radio_reset();

// Called after a statement changed the transmitter (TX, ROFF, RX) and after tx_reset.
using RadioListener = void (*)(void* context);
void radio_set_listener(RadioListener listener, void* context);
void radio_changed();

// Marks the transmission in the next waterfall row; the run loop calls it on every pass.
inline void tx_inject() {
    if (radio.tx_active && radio.tx_column < SDR_WIDTH - 2 && radio.tx_symbol >= 0 &&
        radio.tx_symbol <= TX_MAX_SYMBOL && radio.tx_in_view) {
        const int32_t at = radio.tx_column + 2 + radio.tx_shift;
        if (at >= 0 && at < SDR_WIDTH) {
            radio.sdr_row[at] = static_cast<uint8_t>(60 + 20 * radio.tx_symbol);
        }
    }
}
// A fresh run starts with the transmitter off; the symbol stays.
void tx_reset();

// A pseudo-random integer 0..n-1, 0 for n = 0.
int noise_random(int n);
void noise_seed(uint32_t seed);

// One timer tick: scroll the waterfall down a row, draw the pending row at the top and refill
// it with noise.
void sdr_tick();
// Start-up: one tick, then the whole waterfall as black as its first row, then a seed from the
// time of day.
void sdr_init();
// The interval of the waterfall timer for a position of its speed slider (0..maximum).
int sdr_interval_ms(int position, int maximum);

void stmt_tx();
void stmt_roff();
