#include "scenario.h"

#include <algorithm>
#include <charconv>

#include "key_value.h"
#include "program_text.h"
#include "shown_text.h"

namespace {

// The program clock counts milliseconds in 32 bits; a later time is never reached.
constexpr int64_t LATEST_TIME_MS = INT32_MAX;

bool parse_int64(std::string_view text, int64_t& value) {
    if (text.empty()) return false;
    // from_chars takes no '+', but a position may be written "+5" as well as "-5".
    if (text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// A word of the line for an error message: cut short, and only printable ASCII as itself.
std::string quoted(std::string_view word) {
    constexpr size_t MAX_SHOWN = 40;
    std::string out = "'";
    out += printable_ascii(word, MAX_SHOWN);
    out += '\'';
    return out;
}

}  // namespace

bool parse_sensor_setting(std::string_view text, Channel& channel, int64_t& position) {
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) return false;
    channel = sensor_from_name(text.substr(0, eq));
    return channel != Channel::Count && parse_int64(text.substr(eq + 1), position);
}

ScenarioRead scenario_parse(std::string_view text) {
    text = without_byte_order_mark(text);
    ScenarioRead read;
    int64_t previous = 0;
    size_t pos = 0;
    std::string_view raw;
    // Read a line at a time: a file of blank lines costs no memory.
    for (size_t i = 0; next_line(text, pos, raw); ++i) {
        const std::string_view line = key_value_trim(raw);
        if (line.empty() || line.front() == '#') continue;
        const auto fail = [&](std::string reason) {
            read.error_line = static_cast<int>(i + 1);
            read.error = std::move(reason);
            return read;
        };

        size_t gap = 0;
        while (gap < line.size() && !key_value_blank(line[gap])) ++gap;
        const std::string_view time_text = line.substr(0, gap);
        const std::string_view setting = key_value_trim(line.substr(gap));
        const size_t eq = setting.find('=');
        if (eq == std::string_view::npos ||
            setting.find_first_of(" \t") != std::string_view::npos) {
            return fail("expected TIME_MS NAME=POS, got " + quoted(line));
        }
        int64_t time = 0;
        if (time_text.front() == '+' || !parse_int64(time_text, time) || time < 0 ||
            time > LATEST_TIME_MS) {
            return fail("bad time " + quoted(time_text) +
                        ": a whole number of milliseconds, 0 to " + std::to_string(LATEST_TIME_MS));
        }
        if (time < previous) {
            return fail("time " + std::to_string(time) + " is earlier than " +
                        std::to_string(previous) + " on a line above");
        }
        const std::string_view name = setting.substr(0, eq);
        const Channel channel = sensor_from_name(name);
        if (channel == Channel::Count) {
            return fail("unknown slider " + quoted(name) + ": NAME is one of " +
                        sensor_name_list());
        }
        int64_t position = 0;
        const std::string_view position_text = setting.substr(eq + 1);
        if (!parse_int64(position_text, position)) {
            return fail("bad position " + quoted(position_text));
        }
        const ChannelInfo& info = info_of(channel);
        if (position < info.minimum) position = info.minimum;
        if (position > info.maximum) position = info.maximum;
        read.events.push_back({time, channel, static_cast<int>(position)});
        read.event_lines.push_back(static_cast<int>(i + 1));
        previous = time;
    }
    return read;
}

std::string scenario_format(const std::vector<ScenarioEvent>& events, std::string_view comment) {
    std::string out;
    size_t pos = 0;
    std::string_view line;
    while (!comment.empty() && next_line(comment, pos, line)) {
        out += line.empty() ? "#" : "# ";
        out += line;
        out += '\n';
    }
    for (const ScenarioEvent& e : events) {
        out += std::to_string(e.time_ms);
        out += ' ';
        out += info_of(e.channel).name;
        out += '=';
        out += std::to_string(e.position);
        out += '\n';
    }
    return out;
}

void ScenarioRecorder::start(int64_t start_ms) {
    start_ms_ = start_ms;
    events_.clear();
}

void ScenarioRecorder::moved(Channel channel, int64_t position, int64_t clock_ms) {
    if (sensor_from_name(info_of(channel).name) != channel) return;
    const ChannelInfo& info = info_of(channel);
    position = std::clamp<int64_t>(position, info.minimum, info.maximum);
    int64_t time = std::clamp<int64_t>(clock_ms - start_ms_, 0, LATEST_TIME_MS);
    if (!events_.empty()) {
        ScenarioEvent& last = events_.back();
        time = std::max(time, last.time_ms);
        // A drag makes many moves in one millisecond: the last one is where the slider was.
        if (last.time_ms == time && last.channel == channel) {
            last.position = static_cast<int>(position);
            return;
        }
    }
    events_.push_back({time, channel, static_cast<int>(position)});
}
