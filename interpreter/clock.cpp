#include "clock.h"

#include <chrono>

namespace {

const std::chrono::steady_clock::time_point start_time = std::chrono::steady_clock::now();
ClockSource clock_source = nullptr;
void* clock_context = nullptr;

int32_t read_virtual(void* context) {
    return static_cast<VirtualClock*>(context)->now;
}

}  // namespace

int32_t steady_clock_ms() {
    const auto elapsed = std::chrono::steady_clock::now() - start_time;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

int32_t clock_ms() {
    return clock_source != nullptr ? clock_source(clock_context) : steady_clock_ms();
}

bool clock_is_steady() {
    return clock_source == nullptr;
}

void clock_set_source(ClockSource source, void* context) {
    clock_source = source;
    clock_context = context;
}

void VirtualClock::install() {
    clock_set_source(read_virtual, this);
}
