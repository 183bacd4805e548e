// Records a run's telemetry as it happens: it subscribes itself to the device channels, the
// transmitter and the simulated satellite, and stamps each change with the program time. A
// change costs a few stores: the time comes from a clock reader the host gives, which answers
// from the run's last clock reading while statements run, so that no change pays for a look at
// the system clock.
#pragma once

#include <cstdint>

#include "channels.h"
#include "telemetry.h"
#include "trace.h"

class TelemetryRecorder {
   public:
    // The program clock as cheaply as the host can read it now.
    using ClockReader = int32_t (*)(void* context);

    TelemetryRecorder();
    ~TelemetryRecorder();
    TelemetryRecorder(const TelemetryRecorder&) = delete;
    TelemetryRecorder& operator=(const TelemetryRecorder&) = delete;

    // nullptr: clock_ms().
    void set_clock(ClockReader reader, void* context);
    // The statements the run has made, for each row; nullptr: none counted. A run's count only
    // grows: while the machine shows a moment before the last row (the time cursor, the
    // statements run again to reach it), nothing it shows is recorded.
    using StepReader = long long (*)(void* context);
    void set_steps(StepReader steps, void* context);
    // The program clock's reading at start(): the recording's times count from it.
    int32_t started_clock() const { return started_ms_; }

    // A new recording. Its first row is taken when the run's first pass starts (or at its end,
    // if none did): the machine as the program finds it, at time 0 with line -1.
    void start();
    // The last row, with line -1; later changes are not recorded.
    void end();
    // The run goes on from an earlier moment of it, `step` statements and `time_ms` into the
    // recording: what was recorded after it is forgotten, and a recording that had ended goes
    // on.
    void resume_from(int64_t time_ms, long long step);
    bool recording() const { return recording_; }
    // Milliseconds of program time since start().
    int64_t now() const;
    // The machine now, for the charts, when it differs from the last row other than in the
    // simulation's series (sampled at their own pace): the window calls it at its paint rate
    // and at a pause, for the variables, which no subscriber tells of.
    void sample();

    // Between the two, statements run with one clock reading, `clock_ms`: a change is only
    // marked, and the pass's changes make one row at its end, at that time. That gives the
    // charts what a row per change would give (of several changes in one millisecond only the
    // last value stays), at the cost of a bit per change.
    void begin_pass(int32_t clock_ms);
    void end_pass();

    // The trace's rows: a run session calls this where its clock may have moved and before a
    // statement while row_due() is set (RunSession::set_row_hook). The flag is set by a change
    // outside a pass (one statement at a time, or the user between two), by a move of the clock
    // or of the satellite; the changes within a pass make one row at its end, at its time. A
    // change outside a pass also makes a sample for the charts at once, at its time, and so does
    // the satellite every SIM_SAMPLE_MS of its time while no statement runs.
    static void row_hook(bool moved, int editor_line, void* self);
    const bool* row_due() const { return &row_due_; }

    const TelemetryRecording& data() const { return recording_data_; }

    static constexpr int64_t SIM_SAMPLE_MS = 100;

   private:
    void take_first_row();
    // A row at `time_ms` before the statement on `editor_line`, if it shows a change.
    void take_row(int64_t time_ms, int editor_line);
    // The machine at `time_ms` for the charts, once the first row is there.
    void take_sample(int64_t time_ms);
    static void channel_changed(Channel c, void* self);
    static void transmitter_changed(void* self);
    static void simulation_moved(void* self);

    TelemetryRecording recording_data_;
    bool recording_ = false;
    bool row_due_ = false;
    bool first_row_taken_ = false;
    TraceSnapshot last_row_;
    bool in_pass_ = false;
    int32_t pass_clock_ms_ = 0;
    // One bit a channel, and the transmitter, changed in the current pass.
    uint32_t changed_channels_ = 0;
    bool transmitter_changed_ = false;
    int32_t started_ms_ = 0;
    // The satellite's time at its last sample.
    int64_t sim_sampled_ms_ = 0;
    long long step() const { return steps_ != nullptr ? steps_(steps_context_) : 0; }
    bool live() const { return step() >= recording_data_.last_step(); }

    ClockReader clock_ = nullptr;
    void* clock_context_ = nullptr;
    StepReader steps_ = nullptr;
    void* steps_context_ = nullptr;
};
