#include "telemetry.h"

#include <algorithm>
#include <cstring>

#include "channels.h"
#include "interp.h"
#include "radio.h"
#include "trace.h"

void TelemetryRecording::clear() {
    for (auto& s : series_) {
        s.clear();
        s.shrink_to_fit();
    }
    samples_ = 0;
    last_time_ = 0;
    rows_.clear();
    rows_.shrink_to_fit();
    changes_.clear();
    changes_.shrink_to_fit();
    std::fill(std::begin(row_last_), std::end(row_last_), 0.0);
    rows_simulated_ = false;
}

void TelemetryRecording::record(int series, int64_t time_ms, double value) {
    std::vector<TelemetryPoint>& s = series_[series];
    last_time_ = std::max(last_time_, time_ms);
    if (!s.empty() && s.back().value == value) return;
    // Two changes in the same millisecond: the later value is the one that held.
    if (!s.empty() && s.back().time_ms == time_ms) {
        s.back().value = value;
        if (s.size() >= 2 && s[s.size() - 2].value == value) {
            s.pop_back();
            --samples_;
        }
        return;
    }
    s.push_back({time_ms, value});
    if (++samples_ > max_samples) thin();
}

void TelemetryRecording::record_channels(int64_t time_ms) {
    for (int c = 0; c < TS_CHANNELS; ++c) {
        record(c, time_ms, channel_position(static_cast<Channel>(c)));
    }
}

void TelemetryRecording::record_transmitter(int64_t time_ms) {
    record(TS_TX_ACTIVE, time_ms, radio.tx_active ? 1 : 0);
    record(TS_TX_CHANNEL, time_ms, radio.tx_column / 3);
    record(TS_TX_SYMBOL, time_ms, radio.tx_symbol);
}

void TelemetryRecording::record_variables(int64_t time_ms) {
    for (int k = 0; k < VARIABLE_COUNT; ++k) record(TS_VARIABLE_A + k, time_ms, var_get(k));
}

// A simulation starts with the run: its first sample holds from the start of the recording,
// however long the preparation took before it was stamped.
void TelemetryRecording::record_simulation(int64_t time_ms) {
    if (!simulation.on) return;
    if (series_[TS_SIM_FIRST].empty()) time_ms = 0;
    for (int k = 0; k < SIM_SERIES_COUNT; ++k) {
        record(TS_SIM_FIRST + k, time_ms, sim_series_value(k));
    }
}

void TelemetryRecording::record_machine(int64_t time_ms) {
    record_channels(time_ms);
    record_transmitter(time_ms);
    record_variables(time_ms);
}

// Every second sample of the older half of each series goes; the first sample stays, so each
// series still starts where it started.
void TelemetryRecording::thin() {
    samples_ = 0;
    for (auto& s : series_) {
        const size_t older = s.size() / 2;
        size_t kept = 1;
        for (size_t i = 1; i < s.size(); ++i) {
            if (i < older && i % 2 == 1) continue;
            s[kept++] = s[i];
        }
        if (!s.empty()) s.resize(kept);
        samples_ += s.size();
    }
}

void TelemetryRecording::row_values(const TraceSnapshot& s, double* values) {
    int n = 0;
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) values[n++] = s.channels[c];
    values[n++] = s.tx_active ? 1 : 0;
    values[n++] = s.tx_column;
    values[n++] = s.tx_symbol;
    for (double v : s.variables) values[n++] = v;
    for (double v : s.sim) values[n++] = v;
    values[n] = s.simulated ? 1 : 0;
}

TraceSnapshot TelemetryRecording::row_snapshot(const Row& row, const double* values) {
    TraceSnapshot s;
    s.time_ms = row.time_ms;
    s.line = row.line;
    int n = 0;
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) s.channels[c] = static_cast<int>(values[n++]);
    s.tx_active = values[n++] != 0;
    s.tx_column = static_cast<int>(values[n++]);
    s.tx_symbol = static_cast<int>(values[n++]);
    for (double& v : s.variables) v = values[n++];
    for (double& v : s.sim) v = values[n++];
    s.simulated = values[n] != 0;
    return s;
}

namespace {

// Bit for bit: -0 and 0 print differently, and a NaN equals no other value.
bool same_value(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

void TelemetryRecording::add_row(const TraceSnapshot& row) {
    double values[ROW_VALUES];
    row_values(row, values);
    if (rows_.empty()) {
        rows_simulated_ = row.simulated;
        std::fill(std::begin(row_last_), std::end(row_last_), 0.0);
    }
    uint32_t changes = 0;
    for (int k = 0; k < ROW_VALUES; ++k) {
        if (same_value(values[k], row_last_[k])) continue;
        changes_.push_back({k, values[k]});
        row_last_[k] = values[k];
        ++changes;
    }
    rows_.push_back({row.time_ms, row.line, changes});
    last_time_ = std::max(last_time_, row.time_ms);
    if (rows_.size() + changes_.size() > max_samples) thin_rows();
}

// Every second row of the older half goes, its changes carried into the row after it; the
// first row stays.
void TelemetryRecording::thin_rows() {
    const size_t older = rows_.size() / 2;
    std::vector<Row> rows;
    std::vector<Change> changes;
    double values[ROW_VALUES] = {};
    double kept[ROW_VALUES] = {};
    size_t next = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        for (uint32_t k = 0; k < rows_[i].changes; ++k, ++next) {
            values[changes_[next].column] = changes_[next].value;
        }
        if (i > 0 && i < older && i % 2 == 1) continue;
        uint32_t n = 0;
        for (int k = 0; k < ROW_VALUES; ++k) {
            if (same_value(values[k], kept[k])) continue;
            changes.push_back({k, values[k]});
            kept[k] = values[k];
            ++n;
        }
        rows.push_back({rows_[i].time_ms, rows_[i].line, n});
    }
    rows_ = std::move(rows);
    changes_ = std::move(changes);
}

double TelemetryRecording::value_at(int series, int64_t time_ms) const {
    const auto& s = series_[series];
    auto after = std::upper_bound(s.begin(), s.end(), time_ms,
                                  [](int64_t t, const TelemetryPoint& p) { return t < p.time_ms; });
    return after == s.begin() ? 0 : std::prev(after)->value;
}

std::vector<int64_t> TelemetryRecording::change_times() const {
    std::vector<int64_t> times;
    for (const auto& s : series_) {
        for (const TelemetryPoint& p : s) times.push_back(p.time_ms);
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return times;
}

std::vector<TelemetryPoint> TelemetryRecording::outline(int series, int64_t from, int64_t to,
                                                        int buckets) const {
    std::vector<TelemetryPoint> out;
    if (to <= from || buckets < 1) return out;
    const auto& s = series_[series];
    auto first = std::upper_bound(s.begin(), s.end(), from,
                                  [](int64_t t, const TelemetryPoint& p) { return t < p.time_ms; });
    out.push_back({from, value_at(series, from)});
    const double width = static_cast<double>(to - from) / buckets;
    for (auto it = first; it != s.end() && it->time_ms <= to;) {
        const auto bucket = static_cast<int64_t>((it->time_ms - from) / width);
        // Past the first point at least: a bucket narrower than a millisecond still takes it.
        const int64_t bucket_end =
            std::max(from + static_cast<int64_t>(static_cast<double>(bucket + 1) * width),
                     it->time_ms + 1);
        auto last = it;
        TelemetryPoint low = *it;
        TelemetryPoint high = *it;
        while (last != s.end() && last->time_ms <= to && last->time_ms < bucket_end) {
            if (last->value < low.value) low = *last;
            if (last->value > high.value) high = *last;
            ++last;
        }
        const TelemetryPoint end_point = *std::prev(last);
        // In time order, each once.
        TelemetryPoint picks[4] = {*it, low, high, end_point};
        std::sort(std::begin(picks), std::end(picks), [](const auto& a, const auto& b) {
            return a.time_ms < b.time_ms;
        });
        for (const TelemetryPoint& p : picks) {
            if (out.back().time_ms != p.time_ms || out.back().value != p.value) out.push_back(p);
        }
        it = last;
    }
    out.push_back({to, out.back().value});
    return out;
}

const char* telemetry_series_name(int series) {
    static const char* const others[TS_VARIABLE_A - TS_CHANNELS] = {"tx_active", "tx_channel",
                                                                    "tx_symbol", "line"};
    static const char* const letters[26] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                            "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                            "S", "T", "U", "V", "W", "X", "Y", "Z"};
    if (series < 0 || series >= TS_COUNT) return "";
    if (series < TS_CHANNELS) return channel_info[series].name;
    if (series >= TS_SIM_FIRST) return sim_series_info[series - TS_SIM_FIRST].name;
    return series < TS_VARIABLE_A ? others[series - TS_CHANNELS] : letters[series - TS_VARIABLE_A];
}

std::string telemetry_csv(const TelemetryRecording& recording) {
    std::string csv = trace_header(recording.rows_simulated()) + "\n";
    recording.for_each_row([&csv](const TraceSnapshot& row) { csv += trace_row(row) + "\n"; });
    return csv;
}
