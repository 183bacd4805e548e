// The telemetry of one run: every traced device channel, the transmitter, the line and the
// variables as they changed over the program's time, and a simulation's series when one was
// on. The window records into it, draws it and exports it; it keeps a bounded number of
// entries however long the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "channels.h"
#include "simulation.h"
#include "trace.h"

// order: Channel for the traced channels (magx .. spd), then the transmitter, the line, the
// variables and the simulation's series (SimSeries).
enum TelemetrySeries : int {
    TS_CHANNELS = TRACED_CHANNEL_COUNT,
    TS_TX_ACTIVE = TS_CHANNELS,
    TS_TX_CHANNEL,
    TS_TX_SYMBOL,
    TS_LINE,  // editor line of the statement run next
    TS_VARIABLE_A,
    TS_SIM_FIRST = TS_VARIABLE_A + 26,
    TS_COUNT = TS_SIM_FIRST + SIM_SERIES_COUNT,
};

// The telemetry series of a simulation's series.
constexpr int sim_telemetry_series(SimSeries k) {
    return static_cast<int>(TS_SIM_FIRST) + static_cast<int>(k);
}

struct TelemetryPoint {
    int64_t time_ms;
    double value;
};

// The recording is one list of rows, each the machine at a time: the traced channels, the
// transmitter, the line, the variables and a simulation's series. A traced row is one a trace
// has (the machine as a statement found it); the export writes those. The others are samples
// for the charts: the machine when something changed with no statement there to find it (a
// slider moved during a DELAY, the satellite moving while the program waits). The charts' series
// are read off all rows.
class TelemetryRecording {
   public:
    // Past this many entries (rows and the values they change) the older half is thinned.
    static constexpr size_t MAX_SAMPLES = 1000000;

    // A new recording; the last one is gone.
    void clear();
    // Rows come in time order (a sample stamped before the last row takes its time). Each is
    // kept as its differences from the one before. A sample that changes nothing is left out; a
    // sample in the millisecond of the sample before it takes its place (the later values
    // held), and so does a traced row that finds the machine as that sample left it. Past
    // max_samples entries every second row of the older half goes, its changes carried into the
    // row after it: the first row stays, and every row left has its values as it had them.
    // `step`: the statements the run had made when the row was taken.
    void add_row(const TraceSnapshot& row, bool traced = true, long long step = 0);
    // The run went on from an earlier moment of it: the rows taken after `step` statements or
    // after `time_ms` are forgotten, as if they had never been recorded.
    void forget_after(int64_t time_ms, long long step);
    // The last traced row, if any.
    bool last_traced_row(TraceSnapshot& row) const;

    // Whether `row` differs from the last row in anything but the simulation's series.
    bool changes_besides_simulation(const TraceSnapshot& row) const;

    size_t row_count() const { return rows_.size(); }
    // The entries held: rows and their changes.
    size_t sample_count() const { return rows_.size() + changes_.size(); }
    int64_t last_time() const { return last_time_; }
    // The statement count of the last row; 0 for none.
    long long last_step() const { return rows_.empty() ? 0 : rows_.back().step; }
    bool empty() const { return rows_.empty(); }
    // A simulation was on at the first row: its series have values, and the export's header
    // its columns.
    bool simulated() const { return simulated_; }
    // Whether a series has values: every series does once there is a row, a simulation's only
    // in a simulated recording.
    bool has_series(int series) const;

    // The traced rows in order, for the export.
    template <typename F>
    void for_each_row(F&& f) const {
        double values[ROW_VALUES] = {};
        size_t next = 0;
        for (const Row& row : rows_) {
            for (uint32_t k = 0; k < row.changes; ++k, ++next) {
                values[changes_[next].column] = changes_[next].value;
            }
            if (row.traced) f(row_snapshot(row, values));
        }
    }

    // A series as it changed: its value at the first row and at each row where it differs
    // from the row before.
    std::vector<TelemetryPoint> points(int series) const;
    // A series drawn between two times with at most about `buckets` points: in each bucket its
    // first, lowest, highest and last values, so that no spike disappears. The value at `from`
    // leads (0 before the first row); the last value is carried on to `to`.
    std::vector<TelemetryPoint> outline(int series, int64_t from, int64_t to, int buckets) const;
    // The outlines of several series, read off the rows in one pass.
    std::vector<std::vector<TelemetryPoint>> outlines(const std::vector<int>& series, int64_t from,
                                                      int64_t to, int buckets) const;

    // For tests: a lower bound than MAX_SAMPLES.
    size_t max_samples = MAX_SAMPLES;

   private:
    // A row's values: the traced channels, the transmitter (active, column, symbol), the
    // variables, the simulation's series and whether it was on.
    static constexpr int ROW_VALUES = TRACE_CHANNEL_COUNT + 3 + VARIABLE_COUNT + SIM_SERIES_COUNT + 1;
    // A copy of the values every this many rows, so that a view of the end of a long recording
    // does not read it from the start.
    static constexpr size_t KEY_ROWS = 4096;
    struct Row {
        int64_t time_ms;
        int32_t line;
        uint32_t changes : 31;  // entries in changes_ since the row before
        uint32_t traced : 1;
        long long step;
    };
    struct Change {
        int32_t column;
        double value;
    };
    struct Key {
        size_t row;     // the values before this row
        size_t change;  // where its changes start
        double values[ROW_VALUES];
    };
    static void row_values(const TraceSnapshot& s, double* values);
    static TraceSnapshot row_snapshot(const Row& row, const double* values);
    // Calls sink(k, point) with the points of series[k] in (from, to], after its value at
    // `from` when `lead` (else from the first row on).
    template <typename Sink>
    void scan(const std::vector<int>& series, int64_t from, int64_t to, bool lead,
              Sink&& sink) const;
    void merge_into_last(const double* values, int32_t line);
    void thin_rows();

    std::vector<Row> rows_;
    std::vector<Change> changes_;
    std::vector<Key> keys_;
    double row_last_[ROW_VALUES] = {};  // the values of the last row added
    int64_t last_time_ = 0;
    bool simulated_ = false;
};

// What a series is called in the view and in the export's header ("magx", "tx_symbol", "A",
// "rate_x").
const char* telemetry_series_name(int series);

// The recording's rows as the CSV a trace is written in, the simulation's columns only when a
// simulation was on at the start.
std::string telemetry_csv(const TelemetryRecording& recording);
