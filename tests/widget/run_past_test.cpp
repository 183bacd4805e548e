// A run at full speed in real time, its satellite on: the history's moments are the run's. Its
// passes read the clock once each, so every kept moment comes back the same from anywhere, the
// run's end included.
#include "debugger.h"
#include "machine_state.h"
#include "simulation_control.h"
#include "window_fixture.h"

namespace {

// The waterfall's noise is the window's: its timer draws it between passes.
MachineSnapshot without_noise(MachineSnapshot s) {
    s.radio.noise_state = 0;
    std::fill(std::begin(s.radio.sdr_row), std::end(s.radio.sdr_row), 0);
    return s;
}

TEST_F(WindowTest, ARunInRealTimeComesBackExactlyFromAnyMoment) {
    ASSERT_TRUE(w->simulation_control()->choose_shipped("tumbling_1u"));
    run("FOR I=1 TO 60\nMGET X,Y,Z\nCOIL -X*9,-Y*9,-Z*9\nPRINT I\nDELAY 7\nNEXT I");
    RunControl* control = run_control(*w);
    Debugger* d = w->debugger();
    const RunHistory& h = control->history();
    ASSERT_FALSE(h.empty());
    const RunMoment end = h.last();
    ASSERT_EQ(end.step, control->steps());
    ASSERT_EQ(end.output_lines, 60);
    // The end as it is, and as the history makes it again after going anywhere.
    RunSession probe;
    // Its clock as the last statement left it: after the run, real time goes on.
    MachineSnapshot live = without_noise(machine_capture(probe));
    live.clock_ms = end.clock_ms;
    ASSERT_GT(h.mark_count(), 0u);
    for (const long long step : {end.step / 2, 1LL, end.step - 1, end.step / 3}) {
        SCOPED_TRACE(step);
        d->seek_step(step);
        EXPECT_TRUE(d->in_past());
        EXPECT_EQ(d->moment().step, step);
        const MachineSnapshot there = without_noise(machine_capture(probe));
        d->seek_step(end.step);
        EXPECT_FALSE(d->in_past());
        EXPECT_EQ(machine_difference(without_noise(machine_capture(probe)), live), "");
        d->seek_step(step);
        EXPECT_EQ(machine_difference(without_noise(machine_capture(probe)), there), "");
    }
    // By the clock: half way through, every statement begun before it has run, and the clock
    // stands there while the window shows it.
    const int32_t half = end.clock_ms - (end.clock_ms - control->run_started_ms()) / 2;
    d->seek_time(half);
    EXPECT_EQ(clock_ms(), half);
    EXPECT_LT(h.clock_at(d->moment().step - 1), half);
    EXPECT_GE(h.clock_at(d->moment().step), half);
}

}  // namespace
