// Fuzz target: scenario files, any bytes. The reader either names a bad line or gives events in
// time order, each on a sensor and inside its slider's range.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "channels.h"
#include "scenario.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ScenarioRead read =
        scenario_parse(std::string_view(reinterpret_cast<const char*>(data), size));
    check((read.error_line == 0) == read.error.empty());
    int64_t previous = 0;
    for (const ScenarioEvent& e : read.events) {
        const int c = static_cast<int>(e.channel);
        check(e.channel != Channel::Count && info_of(e.channel).mover == Mover::User);
        check(e.time_ms >= previous && e.time_ms <= INT32_MAX);
        check(e.position >= channel_info[c].minimum && e.position <= channel_info[c].maximum);
        previous = e.time_ms;
    }
    return 0;
}
