// Records a run's telemetry as it happens: it subscribes itself to the device channels and the
// transmitter, and stamps each change with the program time. A change costs a few stores: the
// time comes from a clock reader the host gives, which answers from the run's last clock
// reading while statements run, so that no change pays for a look at the system clock.
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

    // A new recording, with the machine as it is now at time 0. Its first row is taken when
    // the run's first pass starts (or at its end, if none did): the machine as the program
    // finds it, with line -1.
    void start();
    // The machine and the line at the end, and the last row with line -1; later changes are
    // not recorded.
    void end();
    bool recording() const { return recording_; }
    // Milliseconds of program time since start().
    int64_t now() const;
    // The variables as they are now (the window samples them at its paint rate and at a pause).
    void record_variables();
    // A simulation's series as they are now (the window records them as the simulation moves).
    void record_simulation();

    // Between the two, statements run with one clock reading, `clock_ms`: a change is only
    // marked, and the channels and the transmitter that changed are recorded once at the end,
    // at that time. That gives the recording one entry per change would give (of several
    // changes in one millisecond only the last value stays), at the cost of a bit per change.
    void begin_pass(int32_t clock_ms);
    void end_pass();

    // The rows: a run session calls this where its clock may have moved and before a statement
    // while row_due() is set (RunSession::set_row_hook). The flag is set by a change outside a
    // pass (one statement at a time, or the user between two), by a move of the clock and by
    // changed(); the changes within a pass make one row at its end, at its time.
    static void row_hook(bool moved, int editor_line, void* self);
    const bool* row_due() const { return &row_due_; }
    // Something a row shows changed that no subscriber tells of (a simulation's move).
    void changed() {
        if (recording_) row_due_ = true;
    }

    const TelemetryRecording& data() const { return recording_data_; }

   private:
    void take_first_row();
    // A row at `time_ms` before the statement on `editor_line`, if it shows a change.
    void take_row(int64_t time_ms, int editor_line);
    static void channel_changed(Channel c, void* self);
    static void transmitter_changed(void* self);

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
    ClockReader clock_ = nullptr;
    void* clock_context_ = nullptr;
};
