#include "trace.h"

#include <cstdio>
#include <cstring>

#include "format.h"
#include "radio.h"

namespace {

// A series with its fixed decimals; a value that rounds to zero has no minus sign.
void append_series(std::string& row, double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, ",%.*f", decimals, value);
    const char* shown = text;
    if (text[1] == '-' && std::strspn(text + 2, "0.") == std::strlen(text + 2)) {
        text[1] = ',';
        shown = text + 1;
    }
    row += shown;
}

}  // namespace

TraceSnapshot trace_snapshot(int64_t time_ms, int line) {
    TraceSnapshot s;
    s.time_ms = time_ms;
    s.line = line;
    for (int c = 0; c < CHANNEL_COUNT; ++c) s.channels[c] = device.position[c];
    s.tx_active = radio.tx_active;
    s.tx_column = radio.tx_column;
    s.tx_symbol = radio.tx_symbol;
    for (int k = 0; k < VARIABLE_COUNT; ++k) s.variables[k] = var_get(k);
    s.simulated = simulation.on;
    if (s.simulated) {
        for (int k = 0; k < SIM_SERIES_COUNT; ++k) s.sim[k] = sim_series_value(k);
    }
    return s;
}

std::string trace_header(bool simulated) {
    std::string h = "time_ms,line";
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) {
        h += ',';
        h += channel_info[c].name;
    }
    h += ",tx_active,tx_column,tx_symbol";
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        h += ',';
        h += static_cast<char>('A' + k);
    }
    if (simulated) {
        for (const SimSeriesInfo& series : sim_series_info) {
            h += ',';
            h += series.name;
        }
    }
    return h;
}

std::string trace_row(const TraceSnapshot& s) {
    std::string row = std::to_string(s.time_ms) + ',' + std::to_string(s.line);
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) row += ',' + std::to_string(s.channels[c]);
    row += s.tx_active ? ",1," : ",0,";
    row += std::to_string(s.tx_column) + ',' + std::to_string(s.tx_symbol);
    for (double v : s.variables) {
        char text[FORMAT_BUFFER_SIZE];
        const int n = format_value(v, text);
        row += ',';
        row.append(text, static_cast<size_t>(n));
    }
    if (s.simulated) {
        for (int k = 0; k < SIM_SERIES_COUNT; ++k) {
            append_series(row, s.sim[k], sim_series_info[k].decimals);
        }
    }
    return row;
}

bool trace_state_changed(const TraceSnapshot& a, const TraceSnapshot& b) {
    if (a.time_ms != b.time_ms || a.tx_active != b.tx_active || a.tx_column != b.tx_column ||
        a.tx_symbol != b.tx_symbol) {
        return true;
    }
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) {
        if (a.channels[c] != b.channels[c]) return true;
    }
    if (a.simulated != b.simulated) return true;
    for (int k = 0; a.simulated && k < SIM_SERIES_COUNT; ++k) {
        if (a.sim[k] != b.sim[k]) return true;
    }
    return false;
}
