// The program clock: milliseconds since start-up as a signed 32-bit count.
#pragma once

#include <cstdint>

using ClockSource = int32_t (*)(void* context);

int32_t clock_ms();
// Installs another source (tests, the runner's --no-wait); nullptr restores the steady clock.
void clock_set_source(ClockSource source, void* context);
// Milliseconds of the steady clock since the process started, wrapping in 32 bits.
int32_t steady_clock_ms();
// Whether clock_ms() reads the steady clock, which costs a look at the system's time; any
// other source is a plain read.
bool clock_is_steady();

// A clock that moves only when told to: for tests and for runs that skip their waits.
struct VirtualClock {
    int32_t now = 0;
    void install();
    void advance_to(int32_t t) { now = t; }
};
