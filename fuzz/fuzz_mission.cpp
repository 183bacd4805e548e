// Fuzz target: mission files, any bytes, and the goals they give fed with samples made of the
// same bytes. The reader either names a bad line or gives at least one goal; the watch decides
// every goal by the end, and the score never exceeds the goals' weight.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "mission.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const MissionRead read = mission_parse(text);
    check((read.error_line == 0) == read.error.empty());
    if (read.error_line != 0) return 0;
    check(!read.mission.goals.empty());
    MissionWatch watch(read.mission, 0);
    // Samples whose values are the input's bytes, a second apart.
    TraceSnapshot s;
    s.simulated = true;
    for (size_t i = 0; i < size; ++i) {
        s.time_ms = static_cast<int64_t>(i) * 1000;
        const double v = static_cast<int8_t>(data[i]);
        for (int& c : s.channels) c = static_cast<int>(v);
        for (double& x : s.variables) x = v / 4;
        for (double& x : s.sim) x = v / 8;
        s.tx_active = (data[i] & 1) != 0;
        watch.sample(s);
        if (data[i] == '\n') watch.output_line(text.substr(0, i));
    }
    watch.finish(static_cast<int64_t>(size) * 1000);
    check(watch.finished());
    for (size_t k = 0; k < watch.goal_count(); ++k) {
        const MissionWatch::State state = watch.status(k).state;
        check(state == MissionWatch::State::Met || state == MissionWatch::State::Missed);
    }
    check(watch.met_weight() <= watch.total_weight());
    check(watch.report_lines().size() == watch.goal_count() + 1);
    return 0;
}
