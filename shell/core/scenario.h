// Slider movements for a run without the window: one event a line, "TIME_MS NAME=POS", applied
// when the program clock has reached TIME_MS, before the next statement, as if the user had
// moved that slider then.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "channels.h"

struct ScenarioEvent {
    int64_t time_ms;  // milliseconds since the run started
    Channel channel;  // one of the eight sensors
    int position;     // already clamped into the slider's range

    bool operator==(const ScenarioEvent&) const = default;
};

struct ScenarioRead {
    std::vector<ScenarioEvent> events;
    std::vector<int> event_lines;  // the line of each event, counted from 1
    // The first line that is not an event, a blank line or a comment, counted from 1; 0 when
    // every line is good. `events` then holds the events above it.
    int error_line = 0;
    std::string error;
};

// Blank lines and lines whose first non-blank character is '#' are skipped. Times are whole
// milliseconds from 0 up, and never smaller than the time of the event above.
ScenarioRead scenario_parse(std::string_view text);

// Reads "NAME=POS" with a sensor name and a decimal position (not yet clamped).
bool parse_sensor_setting(std::string_view text, Channel& channel, int64_t& position);

// Scenario files are read whole; far more events than any run needs still fit.
inline constexpr size_t MAX_SCENARIO_FILE_BYTES = 16u * 1024 * 1024;
inline constexpr const char* REASON_SCENARIO_FILE_TOO_LARGE = "It is larger than 16 MiB";
