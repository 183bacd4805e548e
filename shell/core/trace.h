// A trace of a run as CSV: the program clock, the line about to run, the sliders and bars of the
// device panel, the transmitter and the variables. The runner writes one with --trace, and the
// window exports the same format.
#pragma once

#include <cstdint>
#include <string>

#include "channels.h"
#include "interp.h"
#include "simulation.h"

// Channels written to a row: the traced ones, which come first in the channel table. The
// system-power bar never moves and the waterfall speed is no business of the program.
inline constexpr int TRACE_CHANNEL_COUNT = TRACED_CHANNEL_COUNT;

struct TraceSnapshot {
    int64_t time_ms = 0;
    int line = -1;  // editor line of the next statement, -1 at start / end
    // Slider and bar positions indexed by `Channel`: the columns magx..rx, coix..coiz, spd, then
    // the system-power bar and the waterfall speed, which no row shows.
    int channels[CHANNEL_COUNT] = {};
    bool tx_active = false;
    int tx_column = 0;
    int tx_symbol = 0;
    double variables[VARIABLE_COUNT] = {};
    // With a simulation on: its series (rates, field, sunlight, the station's elevation).
    bool simulated = false;
    double sim[SIM_SERIES_COUNT] = {};
};

// Reads the device panel, the transmitter, the variables and a simulation that is on, now.
TraceSnapshot trace_snapshot(int64_t time_ms, int line);
// "time_ms,line,magx,...,tx_symbol,A,...,Z", without a line break; `simulated` adds the
// simulation's columns ",rate_x,...,elevation".
std::string trace_header(bool simulated = false);
// One row in the order of the header, without a line break: channel positions as integers,
// tx_active as 0 or 1, variables as the variable panel shows them, then a simulated snapshot's
// series with fixed decimals.
std::string trace_row(const TraceSnapshot& s);
// Whether the clock, a channel of the row, the transmitter or the simulation's series differ;
// variables do not count.
bool trace_state_changed(const TraceSnapshot& a, const TraceSnapshot& b);
