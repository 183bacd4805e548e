// The telemetry of one run: every device channel, the transmitter, the line and the
// variables as they changed over the program's time, and a simulation's series when one was
// on. The window records into it and draws it; it keeps a bounded number of samples however
// long the run.
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

class TelemetryRecording {
   public:
    // Past this many samples the older half of every series is thinned.
    static constexpr size_t MAX_SAMPLES = 1000000;

    // A new recording; the last one is gone.
    void clear();
    // Records a value if it differs from the series' last one.
    void record(int series, int64_t time_ms, double value);
    // The device channels, the transmitter and the variables as they are now.
    void record_machine(int64_t time_ms);
    void record_channels(int64_t time_ms);
    void record_transmitter(int64_t time_ms);
    void record_variables(int64_t time_ms);
    // The simulation's series as they are now; only while a simulation is on.
    void record_simulation(int64_t time_ms);

    const std::vector<TelemetryPoint>& points(int series) const { return series_[series]; }
    size_t sample_count() const { return samples_; }
    int64_t last_time() const { return last_time_; }
    bool empty() const { return samples_ == 0; }
    // A simulation was on during the recording: its series hold samples.
    bool simulated() const { return !series_[TS_SIM_FIRST].empty(); }
    // The value of a series at a time: its last sample up to then, 0 before the first.
    double value_at(int series, int64_t time_ms) const;
    // Every time at which some series changed, in order, without repeats.
    std::vector<int64_t> change_times() const;

    // The series drawn between two times with at most about `buckets` points: in each
    // bucket its first, lowest, highest and last values, so that no spike disappears. The
    // value at `from` leads; the last value is carried on to `to`.
    std::vector<TelemetryPoint> outline(int series, int64_t from, int64_t to,
                                        int buckets) const;

    // The trace's rows, for the export: the machine as a statement found it whenever something
    // a row shows had changed since the last row, and at the start and the end. Each row is
    // kept as its differences from the one before; past max_samples entries the older half
    // is thinned as the series are, every row left as it was.
    void add_row(const TraceSnapshot& row);
    size_t row_count() const { return rows_.size(); }
    // Whether the first row had a simulation on: the export's header then has its columns.
    bool rows_simulated() const { return rows_simulated_; }
    template <typename F>
    void for_each_row(F&& f) const {
        double values[ROW_VALUES] = {};
        size_t next = 0;
        for (const Row& row : rows_) {
            for (uint32_t k = 0; k < row.changes; ++k, ++next) {
                values[changes_[next].column] = changes_[next].value;
            }
            f(row_snapshot(row, values));
        }
    }

    // For tests: a lower bound than MAX_SAMPLES.
    size_t max_samples = MAX_SAMPLES;

   private:
    // A row's values: the traced channels, the transmitter (active, column, symbol), the
    // variables, the simulation's series and whether it was on.
    static constexpr int ROW_VALUES = TRACE_CHANNEL_COUNT + 3 + VARIABLE_COUNT + SIM_SERIES_COUNT + 1;
    struct Row {
        int64_t time_ms;
        int32_t line;
        uint32_t changes;  // entries in changes_ since the row before
    };
    struct Change {
        int32_t column;
        double value;
    };
    static void row_values(const TraceSnapshot& s, double* values);
    static TraceSnapshot row_snapshot(const Row& row, const double* values);
    void thin();
    void thin_rows();

    std::vector<TelemetryPoint> series_[TS_COUNT];
    size_t samples_ = 0;
    int64_t last_time_ = 0;
    std::vector<Row> rows_;
    std::vector<Change> changes_;
    double row_last_[ROW_VALUES] = {};  // the values of the last row added
    bool rows_simulated_ = false;
};

// What a series is called in the view and in the export's header ("magx", "tx_symbol", "A",
// "rate_x").
const char* telemetry_series_name(int series);

// The recording's rows as the CSV a trace is written in, the simulation's columns only when a
// simulation was on at the start.
std::string telemetry_csv(const TelemetryRecording& recording);
