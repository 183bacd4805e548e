#include "telemetry.h"

#include <algorithm>
#include <cstring>

#include "channels.h"
#include "trace.h"

namespace {

// Bit for bit: -0 and 0 print differently, and a NaN equals no other value.
bool same_value(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A row's columns are the series in their order, without the line; the last column (whether
// a simulation was on) is none.
constexpr int column_of_series(int series) {
    return series < TS_LINE ? series : series - 1;
}
constexpr int series_of_column(int column) {
    return column < TS_LINE ? column : column + 1;
}
static_assert(series_of_column(column_of_series(TS_VARIABLE_A)) == TS_VARIABLE_A);

// The transmitter's channel is its column over three, as the waterfall numbers them.
double series_value(int series, double column_value) {
    return series == TS_TX_CHANNEL ? static_cast<int>(column_value) / 3 : column_value;
}

// Outlines a series point by point: each bucket's first, lowest, highest and last points.
class Outliner {
   public:
    Outliner(std::vector<TelemetryPoint>& out, int64_t from, int64_t to, int buckets)
        : out_(out), from_(from), to_(to), width_(static_cast<double>(to - from) / buckets) {}

    void lead(TelemetryPoint p) { out_.push_back(p); }
    void add(TelemetryPoint p) {
        if (open_ && p.time_ms < bucket_end_) {
            if (p.value < low_.value) low_ = p;
            if (p.value > high_.value) high_ = p;
            last_ = p;
            return;
        }
        if (open_) flush();
        const auto bucket = static_cast<int64_t>(static_cast<double>(p.time_ms - from_) / width_);
        // Past the first point at least: a bucket narrower than a millisecond still takes it.
        bucket_end_ = std::max(from_ + static_cast<int64_t>(static_cast<double>(bucket + 1) * width_),
                               p.time_ms + 1);
        first_ = low_ = high_ = last_ = p;
        open_ = true;
    }
    void finish() {
        if (open_) flush();
        out_.push_back({to_, out_.back().value});
    }

   private:
    void flush() {
        // In time order, each once.
        TelemetryPoint picks[4] = {first_, low_, high_, last_};
        std::stable_sort(std::begin(picks), std::end(picks),
                         [](const auto& a, const auto& b) { return a.time_ms < b.time_ms; });
        for (const TelemetryPoint& p : picks) {
            if (out_.back().time_ms != p.time_ms || out_.back().value != p.value) out_.push_back(p);
        }
        open_ = false;
    }

    std::vector<TelemetryPoint>& out_;
    int64_t from_;
    int64_t to_;
    double width_;
    bool open_ = false;
    int64_t bucket_end_ = 0;
    TelemetryPoint first_{}, low_{}, high_{}, last_{};
};

}  // namespace

void TelemetryRecording::clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    changes_.clear();
    changes_.shrink_to_fit();
    keys_.clear();
    keys_.shrink_to_fit();
    std::fill(std::begin(row_last_), std::end(row_last_), 0.0);
    last_time_ = 0;
    simulated_ = false;
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

void TelemetryRecording::add_row(const TraceSnapshot& row, bool traced, long long step) {
    double values[ROW_VALUES];
    row_values(row, values);
    int64_t time_ms = row.time_ms;
    if (rows_.empty()) {
        simulated_ = row.simulated;
    } else {
        Row& last = rows_.back();
        if (!traced) time_ms = std::max(time_ms, last.time_ms);
        bool same = true;
        for (int k = 0; k < ROW_VALUES && same; ++k) same = same_value(values[k], row_last_[k]);
        if (!traced && same) return;
        if (!last.traced && last.time_ms == time_ms) {
            if (traced && same) {
                last.traced = 1;
                last.line = row.line;
                last.step = step;
                return;
            }
            if (!traced) {
                last.step = step;
                merge_into_last(values, row.line);
                return;
            }
        }
    }
    if (rows_.size() % KEY_ROWS == 0) {
        Key key{rows_.size(), changes_.size(), {}};
        std::copy(std::begin(row_last_), std::end(row_last_), key.values);
        keys_.push_back(key);
    }
    uint32_t changes = 0;
    for (int k = 0; k < ROW_VALUES; ++k) {
        if (same_value(values[k], row_last_[k])) continue;
        changes_.push_back({k, values[k]});
        row_last_[k] = values[k];
        ++changes;
    }
    rows_.push_back({time_ms, row.line, changes, traced ? 1u : 0u, step});
    last_time_ = std::max(last_time_, time_ms);
    if (sample_count() > max_samples) thin_rows();
}

void TelemetryRecording::forget_after(int64_t time_ms, long long step) {
    // Rows come in the order of the run: both the steps and the times only grow along them.
    const auto kept = static_cast<size_t>(
        std::find_if(rows_.begin(), rows_.end(),
                     [&](const Row& r) { return r.step > step || r.time_ms > time_ms; }) -
        rows_.begin());
    if (kept == rows_.size()) return;
    size_t change = 0;
    for (size_t i = 0; i < kept; ++i) change += rows_[i].changes;
    rows_.resize(kept);
    changes_.resize(change);
    while (!keys_.empty() && keys_.back().row >= kept) keys_.pop_back();
    // The last row's values, from the last copy kept.
    std::fill(std::begin(row_last_), std::end(row_last_), 0.0);
    size_t next = 0;
    if (!keys_.empty()) {
        std::copy(std::begin(keys_.back().values), std::end(keys_.back().values), row_last_);
        next = keys_.back().change;
    }
    for (; next < changes_.size(); ++next) row_last_[changes_[next].column] = changes_[next].value;
    last_time_ = rows_.empty() ? 0 : rows_.back().time_ms;
    if (rows_.empty()) simulated_ = false;
}

bool TelemetryRecording::last_traced_row(TraceSnapshot& row) const {
    bool found = false;
    for_each_row([&](const TraceSnapshot& s) {
        row = s;
        found = true;
    });
    return found;
}

bool TelemetryRecording::changes_besides_simulation(const TraceSnapshot& row) const {
    double values[ROW_VALUES];
    row_values(row, values);
    for (int k = 0; k < column_of_series(TS_SIM_FIRST); ++k) {
        if (!same_value(values[k], row_last_[k])) return true;
    }
    return rows_.empty();
}

// The last row's changes are the newest entries: a value it changed already is changed again,
// another is added to them.
void TelemetryRecording::merge_into_last(const double* values, int32_t line) {
    Row& last = rows_.back();
    const size_t first = changes_.size() - last.changes;
    for (int k = 0; k < ROW_VALUES; ++k) {
        if (same_value(values[k], row_last_[k])) continue;
        row_last_[k] = values[k];
        auto it = std::find_if(changes_.begin() + static_cast<std::ptrdiff_t>(first), changes_.end(),
                               [k](const Change& c) { return c.column == k; });
        if (it != changes_.end()) {
            it->value = values[k];
        } else {
            changes_.push_back({k, values[k]});
            ++last.changes;
        }
    }
    last.line = line;
    if (sample_count() > max_samples) thin_rows();
}

// Every second row of the older half goes, its changes carried into the row after it; the
// first row stays.
void TelemetryRecording::thin_rows() {
    const size_t older = rows_.size() / 2;
    std::vector<Row> rows;
    std::vector<Change> changes;
    std::vector<Key> keys;
    double values[ROW_VALUES] = {};
    double kept[ROW_VALUES] = {};
    size_t next = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        for (uint32_t k = 0; k < rows_[i].changes; ++k, ++next) {
            values[changes_[next].column] = changes_[next].value;
        }
        if (i > 0 && i < older && i % 2 == 1) continue;
        if (rows.size() % KEY_ROWS == 0) {
            Key key{rows.size(), changes.size(), {}};
            std::copy(std::begin(kept), std::end(kept), key.values);
            keys.push_back(key);
        }
        uint32_t n = 0;
        for (int k = 0; k < ROW_VALUES; ++k) {
            if (same_value(values[k], kept[k])) continue;
            changes.push_back({k, values[k]});
            kept[k] = values[k];
            ++n;
        }
        Row row = rows_[i];
        row.changes = n;
        rows.push_back(row);
    }
    rows_ = std::move(rows);
    changes_ = std::move(changes);
    keys_ = std::move(keys);
}

bool TelemetryRecording::has_series(int series) const {
    if (rows_.empty() || series < 0 || series >= TS_COUNT) return false;
    return series < TS_SIM_FIRST || simulated_;
}

template <typename Sink>
void TelemetryRecording::scan(const std::vector<int>& series, int64_t from, int64_t to, bool lead,
                              Sink&& sink) const {
    int stream_of_column[ROW_VALUES];
    std::fill(std::begin(stream_of_column), std::end(stream_of_column), -1);
    int line_stream = -1;
    // A series that does not exist stays 0.
    const auto exists = [&series](size_t k) { return series[k] >= 0 && series[k] < TS_COUNT; };
    for (size_t k = 0; k < series.size(); ++k) {
        if (series[k] == TS_LINE) {
            line_stream = static_cast<int>(k);
        } else if (exists(k)) {
            stream_of_column[column_of_series(series[k])] = static_cast<int>(k);
        }
    }
    double values[ROW_VALUES] = {};
    size_t i = 0;
    size_t next = 0;
    // From the last copy of the values at or before `from`.
    if (lead && !keys_.empty()) {
        auto key = std::upper_bound(keys_.begin(), keys_.end(), from,
                                    [this](int64_t t, const Key& k) { return t < rows_[k.row].time_ms; });
        if (key != keys_.begin()) {
            --key;
            std::copy(std::begin(key->values), std::end(key->values), values);
            i = key->row;
            next = key->change;
        }
    }
    int32_t line = i > 0 ? rows_[i - 1].line : 0;
    const auto value_of = [&](size_t k) {
        if (!exists(k)) return 0.0;
        return series[k] == TS_LINE
                   ? static_cast<double>(line)
                   : series_value(series[k], values[column_of_series(series[k])]);
    };
    std::vector<double> last(series.size(), 0.0);
    std::vector<char> have(series.size(), 0);
    const auto offer = [&](size_t k, int64_t t) {
        const double v = value_of(k);
        if (have[k] && same_value(v, last[k])) return;
        have[k] = 1;
        last[k] = v;
        sink(k, TelemetryPoint{t, v});
    };
    if (lead) {
        for (; i < rows_.size() && rows_[i].time_ms <= from; ++i) {
            for (uint32_t c = 0; c < rows_[i].changes; ++c, ++next) {
                values[changes_[next].column] = changes_[next].value;
            }
            line = rows_[i].line;
        }
        for (size_t k = 0; k < series.size(); ++k) offer(k, from);
    }
    for (; i < rows_.size() && rows_[i].time_ms <= to; ++i) {
        const Row& row = rows_[i];
        const size_t end = next + row.changes;
        for (size_t c = next; c < end; ++c) values[changes_[c].column] = changes_[c].value;
        line = row.line;
        if (i == 0) {
            for (size_t k = 0; k < series.size(); ++k) offer(k, row.time_ms);
        } else {
            for (; next < end; ++next) {
                const int k = stream_of_column[changes_[next].column];
                if (k >= 0) offer(static_cast<size_t>(k), row.time_ms);
            }
            if (line_stream >= 0) offer(static_cast<size_t>(line_stream), row.time_ms);
        }
        next = end;
    }
}

std::vector<TelemetryPoint> TelemetryRecording::points(int series) const {
    std::vector<TelemetryPoint> out;
    if (!has_series(series)) return out;
    scan({series}, 0, INT64_MAX, false, [&out](size_t, TelemetryPoint p) { out.push_back(p); });
    return out;
}

std::vector<TelemetryPoint> TelemetryRecording::outline(int series, int64_t from, int64_t to,
                                                        int buckets) const {
    return outlines({series}, from, to, buckets).front();
}

std::vector<std::vector<TelemetryPoint>> TelemetryRecording::outlines(const std::vector<int>& series,
                                                                      int64_t from, int64_t to,
                                                                      int buckets) const {
    std::vector<std::vector<TelemetryPoint>> out(series.size());
    if (to <= from || buckets < 1) return out;
    std::vector<Outliner> outliners;
    outliners.reserve(series.size());
    for (auto& points : out) outliners.emplace_back(points, from, to, buckets);
    // Each series' first point is its value at `from`.
    scan(series, from, to, true, [&out, &outliners](size_t k, TelemetryPoint p) {
        if (out[k].empty()) {
            outliners[k].lead(p);
        } else {
            outliners[k].add(p);
        }
    });
    for (Outliner& o : outliners) o.finish();
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
    std::string csv = trace_header(recording.simulated()) + "\n";
    recording.for_each_row([&csv](const TraceSnapshot& row) { csv += trace_row(row) + "\n"; });
    return csv;
}
