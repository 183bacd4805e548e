#include "clock.h"

#include <chrono>

namespace {

const std::chrono::steady_clock::time_point start_time = std::chrono::steady_clock::now();
ClockSource clock_source = nullptr;
void* clock_context = nullptr;
// Added to the steady clock's reading, in 32 bits as the clock wraps.
uint32_t steady_offset = 0;

int32_t read_virtual(void* context) {
    return static_cast<VirtualClock*>(context)->now;
}

}  // namespace

int32_t steady_clock_ms() {
    const auto elapsed = std::chrono::steady_clock::now() - start_time;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

int32_t clock_from_steady(int32_t steady_ms) {
    return static_cast<int32_t>(static_cast<uint32_t>(steady_ms) + steady_offset);
}

int32_t clock_ms() {
    if (clock_source != nullptr) return clock_source(clock_context);
    return clock_from_steady(steady_clock_ms());
}

bool clock_is_steady() {
    return clock_source == nullptr;
}

void clock_set_source(ClockSource source, void* context) {
    clock_source = source;
    clock_context = context;
    steady_offset = 0;
}

ClockInstalled clock_installed() {
    return {clock_source, clock_context, static_cast<int32_t>(steady_offset)};
}

void clock_restore(const ClockInstalled& installed) {
    clock_source = installed.source;
    clock_context = installed.context;
    steady_offset = static_cast<uint32_t>(installed.offset);
}

void clock_set_real_time_from(int32_t from) {
    clock_source = nullptr;
    clock_context = nullptr;
    steady_offset = static_cast<uint32_t>(from) - static_cast<uint32_t>(steady_clock_ms());
}

void VirtualClock::install() {
    clock_set_source(read_virtual, this);
}
