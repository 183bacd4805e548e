#include "telemetry_recorder.h"

#include "clock.h"
#include "interp.h"
#include "radio.h"
#include "simulation.h"
#include "tokenizer.h"
#include "trace.h"

TelemetryRecorder::TelemetryRecorder() {
    device_subscribe(channel_changed, this);
    radio_set_listener(transmitter_changed, this);
    sim_subscribe(simulation_moved, this);
}

TelemetryRecorder::~TelemetryRecorder() {
    sim_unsubscribe(simulation_moved, this);
    device_unsubscribe(channel_changed, this);
    radio_set_listener(nullptr, nullptr);
}

void TelemetryRecorder::set_clock(ClockReader reader, void* context) {
    clock_ = reader;
    clock_context_ = context;
}

void TelemetryRecorder::set_steps(StepReader steps, void* context) {
    steps_ = steps;
    steps_context_ = context;
}

int64_t TelemetryRecorder::now() const {
    const int32_t clock = clock_ != nullptr ? clock_(clock_context_) : clock_ms();
    // The program clock wraps in 32 bits; the difference does not, for runs under 24 days.
    return static_cast<int32_t>(static_cast<uint32_t>(clock) - static_cast<uint32_t>(started_ms_));
}

void TelemetryRecorder::start() {
    recording_data_.clear();
    in_pass_ = false;
    changed_channels_ = 0;
    transmitter_changed_ = false;
    started_ms_ = clock_ms();
    recording_ = true;
    row_due_ = false;
    first_row_taken_ = false;
}

void TelemetryRecorder::end() {
    if (!recording_) return;
    end_pass();
    const int64_t t = now();
    // What the last statements changed shows in the end row alone: no statement found it.
    take_first_row();
    recording_data_.add_row(trace_snapshot(t, -1), true, step());
    row_due_ = false;
    recording_ = false;
}

void TelemetryRecorder::resume_from(int64_t time_ms, long long step) {
    recording_data_.forget_after(time_ms, step);
    if (!recording_data_.last_traced_row(last_row_)) first_row_taken_ = false;
    in_pass_ = false;
    changed_channels_ = 0;
    transmitter_changed_ = false;
    row_due_ = false;
    recording_ = true;
}

void TelemetryRecorder::take_first_row() {
    if (first_row_taken_) return;
    first_row_taken_ = true;
    last_row_ = trace_snapshot(0, -1);
    recording_data_.add_row(last_row_, true, step());
    sim_sampled_ms_ = simulation.state.time_ms;
}

void TelemetryRecorder::take_row(int64_t time_ms, int editor_line) {
    row_due_ = false;
    if (!live()) return;
    const TraceSnapshot s = trace_snapshot(time_ms, editor_line);
    if (trace_state_changed(last_row_, s)) {
        recording_data_.add_row(s, true, step());
        last_row_ = s;
    }
}

void TelemetryRecorder::take_sample(int64_t time_ms) {
    if (first_row_taken_ && live()) {
        recording_data_.add_row(trace_snapshot(time_ms, current_line()), false, step());
    }
}

void TelemetryRecorder::row_hook(bool moved, int editor_line, void* self) {
    auto* r = static_cast<TelemetryRecorder*>(self);
    if (!r->recording_ || !r->live()) {
        r->row_due_ = false;
        return;
    }
    if (moved) {
        r->take_first_row();
        r->row_due_ = true;
        return;
    }
    r->take_row(r->now(), editor_line);
}

// The satellite has samples of its own, at its pace.
void TelemetryRecorder::sample() {
    if (!recording_ || in_pass_ || !first_row_taken_ || !live()) return;
    const TraceSnapshot s = trace_snapshot(now(), current_line());
    if (recording_data_.changes_besides_simulation(s)) recording_data_.add_row(s, false, step());
}

static_assert(TS_CHANNELS <= 32, "one bit a channel in a pass's changes");

void TelemetryRecorder::begin_pass(int32_t clock_ms) {
    in_pass_ = recording_;
    pass_clock_ms_ = clock_ms;
}

void TelemetryRecorder::end_pass() {
    if (!in_pass_) return;
    in_pass_ = false;
    if (changed_channels_ == 0 && !transmitter_changed_) return;
    changed_channels_ = 0;
    transmitter_changed_ = false;
    const int64_t t = static_cast<int32_t>(static_cast<uint32_t>(pass_clock_ms_) -
                                           static_cast<uint32_t>(started_ms_));
    // The pass's changes as the next statement finds them, at the pass's time; after the last
    // statement the end row shows them. The charts have them at that time either way.
    if (tok_position() != nullptr && !interp_finished()) take_row(t, current_line());
    take_sample(t);
}

void TelemetryRecorder::channel_changed(Channel c, void* self) {
    auto* r = static_cast<TelemetryRecorder*>(self);
    if (!r->recording_ || static_cast<int>(c) >= TS_CHANNELS) return;
    if (r->in_pass_) {
        r->changed_channels_ |= 1u << static_cast<int>(c);
        return;
    }
    r->row_due_ = true;
    r->take_sample(r->now());
}

void TelemetryRecorder::transmitter_changed(void* self) {
    auto* r = static_cast<TelemetryRecorder*>(self);
    if (!r->recording_) return;
    if (r->in_pass_) {
        r->transmitter_changed_ = true;
        return;
    }
    r->row_due_ = true;
    r->take_sample(r->now());
}

// Within a pass the next statement finds the satellite's move; while the program waits or is
// held, the charts get it every SIM_SAMPLE_MS of its time: its rates, field and elevation change
// smoothly.
void TelemetryRecorder::simulation_moved(void* self) {
    auto* r = static_cast<TelemetryRecorder*>(self);
    if (!r->recording_) return;
    r->row_due_ = true;
    if (r->in_pass_ || !r->first_row_taken_) return;
    const int64_t t = simulation.state.time_ms;
    if (t >= r->sim_sampled_ms_ && t < r->sim_sampled_ms_ + SIM_SAMPLE_MS) return;
    r->sim_sampled_ms_ = t;
    r->take_sample(r->now());
}
