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

// The events as a scenario file holds them, "TIME_MS NAME=POS" a line, each line ended; the
// lines of `comment` (if any) go first, each behind a "# ".
std::string scenario_format(const std::vector<ScenarioEvent>& events,
                            std::string_view comment = {});

// Collects the sensor moves of a run for a scenario that replays them: each move stamped with
// the program clock's milliseconds since the run started.
class ScenarioRecorder {
   public:
    // A new run started at program clock `start_ms`; what was recorded before is dropped.
    void start(int64_t start_ms);
    // `channel` moved to `position` at program clock `clock_ms`. Only the eight sensors count.
    // A time before the run's start, or before the last move, is taken as that time: the
    // replay applies its events in the order they came.
    void moved(Channel channel, int64_t position, int64_t clock_ms);
    const std::vector<ScenarioEvent>& events() const { return events_; }
    void clear() { events_.clear(); }
    // The run went on from an earlier moment: the move recorded `index`-th never happened.
    void forget(std::size_t index) {
        if (index < events_.size()) events_.erase(events_.begin() + static_cast<long>(index));
    }

   private:
    int64_t start_ms_ = 0;
    std::vector<ScenarioEvent> events_;
};

// Reads "NAME=POS" with a sensor name and a decimal position (not yet clamped).
bool parse_sensor_setting(std::string_view text, Channel& channel, int64_t& position);

// Scenario files are read whole; far more events than any run needs still fit.
inline constexpr size_t MAX_SCENARIO_FILE_BYTES = 16u * 1024 * 1024;
inline constexpr const char* REASON_SCENARIO_FILE_TOO_LARGE = "It is larger than 16 MiB";
