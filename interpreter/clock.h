// The program clock: milliseconds since start-up as a signed 32-bit count.
#pragma once

#include <cstdint>

using ClockSource = int32_t (*)(void* context);

int32_t clock_ms();
// Installs another source (tests, the runner's --no-wait); nullptr restores the steady clock.
void clock_set_source(ClockSource source, void* context);
// Milliseconds of the steady clock since the process started, wrapping in 32 bits.
int32_t steady_clock_ms();
// What clock_ms() reads when the steady clock read `steady_ms`, while clock_is_steady().
int32_t clock_from_steady(int32_t steady_ms);
// Whether clock_ms() reads the steady clock, which costs a look at the system's time; any
// other source is a plain read.
bool clock_is_steady();

// The source in force, to be put back later: a host that lends the clock to another source
// for a while keeps this and hands it to clock_restore.
struct ClockInstalled {
    ClockSource source = nullptr;
    void* context = nullptr;
    int32_t offset = 0;  // of the steady clock
};
ClockInstalled clock_installed();
void clock_restore(const ClockInstalled& installed);
// The steady clock again, moved so that clock_ms() reads `from` now and goes on from there in
// real time: the program clock stays continuous when a run comes back to real time.
void clock_set_real_time_from(int32_t from);

// A clock that moves only when told to: for tests and for runs that skip their waits.
struct VirtualClock {
    int32_t now = 0;
    void install();
    void advance_to(int32_t t) { now = t; }
};
