#include "mission.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "key_value.h"
#include "scenario.h"
#include "simulation.h"

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Words apart by blanks; a quoted text is one word, without its quotes. False when a quote is
// left open.
bool tokenize(std::string_view s, std::vector<Token>& tokens) {
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ' || s[i] == '\t') {
            ++i;
            continue;
        }
        Token t;
        if (s[i] == '"') {
            const size_t close = s.find('"', i + 1);
            if (close == std::string_view::npos) return false;
            t.text = std::string(s.substr(i + 1, close - i - 1));
            t.quoted = true;
            i = close + 1;
        } else {
            const size_t end = std::min(s.find_first_of(" \t", i), s.size());
            t.text = std::string(s.substr(i, end - i));
            i = end;
        }
        tokens.push_back(std::move(t));
    }
    return true;
}

bool parse_number(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && std::isfinite(value);
}

// The ranges a mission's numbers keep to: far beyond any sensible goal, near enough for the
// weights to add up and for a report to print every number in full.
constexpr double MAX_BOUND = 1e9;
constexpr double MAX_TOLERANCE = 1e9;
constexpr double MIN_WEIGHT = 0.001;
constexpr double MAX_WEIGHT = 1000;
constexpr double MAX_TIME_S = 2'000'000;

bool find_quantity(const std::string& name, MissionQuantity& q) {
    using Source = MissionQuantity::Source;
    q.name = name;
    const std::string channel = name == "temperature" ? info_of(Channel::Tem).name : name;
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) {
        if (channel == channel_info[c].name) {
            q.source = Source::Channel;
            q.index = c;
            return true;
        }
    }
    if (name == "tx" || name == "tx_active") {
        q.source = Source::TxActive;
        return true;
    }
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
        q.source = Source::Variable;
        q.index = name[0] - 'A';
        return true;
    }
    if (name == "station_visible") {
        q.source = Source::StationVisible;
        return true;
    }
    const std::string series = name == "rate_deg_s" ? "rate" : name;
    for (int k = 0; k < SIM_SERIES_COUNT; ++k) {
        if (series == sim_series_info[k].name) {
            q.source = Source::Series;
            q.index = k;
            return true;
        }
    }
    return false;
}

bool needs_simulation(const MissionQuantity& q) {
    return q.source == MissionQuantity::Source::Series ||
           q.source == MissionQuantity::Source::StationVisible;
}

// One goal's words; false with the reason in `error`.
bool parse_goal(std::string_view text, MissionGoal& g, std::string& error) {
    std::vector<Token> t;
    if (!tokenize(text, t)) {
        error = "a quote is left open";
        return false;
    }
    g.text = std::string(text);
    size_t i = 0;
    const auto word = [&](size_t k) { return k < t.size() && !t[k].quoted ? t[k].text : ""; };
    const auto number = [&](size_t k, double& v, const std::string& after) {
        if (k >= t.size() || t[k].quoted || !parse_number(t[k].text, v)) {
            error = "a number must follow " + key_value_shown(after);
            return false;
        }
        return true;
    };
    const auto bound = [&](double v) {
        if (std::fabs(v) <= MAX_BOUND) return true;
        error = "a bound lies between -" + mission_number(MAX_BOUND) + " and " +
                mission_number(MAX_BOUND);
        return false;
    };
    if (word(0) == "output" && word(1) == "contains") {
        if (t.size() < 3 || !t[2].quoted || t[2].text.empty()) {
            error = "output contains needs a text in quotes";
            return false;
        }
        g.kind = MissionGoal::Kind::OutputContains;
        g.needle = t[2].text;
        i = 3;
    } else {
        if (t.empty() || !find_quantity(word(0), g.quantity)) {
            error = t.empty() ? "an empty goal" : "unknown quantity " + key_value_shown(t[0].text);
            return false;
        }
        const std::string op = word(1);
        if (op == "<" || op == ">" || op == "<=" || op == ">=") {
            g.kind = MissionGoal::Kind::Compare;
            g.op = op;
            double v = 0;
            if (!number(2, v, op) || !bound(v)) return false;
            g.low = g.high = v;
            i = 3;
        } else if (op == "between") {
            g.kind = MissionGoal::Kind::Between;
            if (!number(2, g.low, "between") || !bound(g.low) || !number(3, g.high, "between") ||
                !bound(g.high)) {
                return false;
            }
            if (g.low > g.high) {
                error = "between takes the lower bound first";
                return false;
            }
            i = 4;
        } else if (op == "only" && word(2) == "while") {
            g.kind = MissionGoal::Kind::OnlyWhile;
            if (!find_quantity(word(3), g.condition)) {
                error = t.size() > 3 ? "unknown quantity " + key_value_shown(t[3].text)
                                     : "a quantity must follow 'only while'";
                return false;
            }
            i = 4;
        } else {
            error = "expected <, >, <=, >=, between or only while after " +
                    key_value_shown(t[0].text);
            return false;
        }
    }
    const bool bounded = g.kind == MissionGoal::Kind::Compare || g.kind == MissionGoal::Kind::Between;
    bool seen_from = false, seen_to = false;
    while (i < t.size()) {
        const std::string option = word(i);
        if (bounded && option == "sometime") {
            if (g.sometime || g.by) {
                error = "'sometime' goes once, and not with 'by'";
                return false;
            }
            g.sometime = true;
            ++i;
            continue;
        }
        double v = 0;
        if (!number(i + 1, v, option.empty() ? t[i].text : option)) return false;
        if (option == "weight") {
            if (v < MIN_WEIGHT || v > MAX_WEIGHT) {
                error = "a weight is from " + mission_number(MIN_WEIGHT) + " to " +
                        mission_number(MAX_WEIGHT);
                return false;
            }
            g.weight = v;
        } else if (option == "tolerance" && g.kind != MissionGoal::Kind::OutputContains) {
            if (v < 0 || v > MAX_TOLERANCE) {
                error = "a tolerance is from 0 to " + mission_number(MAX_TOLERANCE);
                return false;
            }
            g.tolerance = v;
        } else if (bounded && (option == "by" || option == "from" || option == "to")) {
            if (v < 0 || v > MAX_TIME_S) {
                error = "times count from 0 to " + mission_number(MAX_TIME_S);
                return false;
            }
            bool& seen = option == "by" ? g.by : option == "from" ? seen_from : seen_to;
            if (seen || (option == "by" ? seen_from || seen_to || g.sometime : g.by)) {
                error = "a goal has one 'by', or 'from' and 'to', each once";
                return false;
            }
            seen = true;
            (option == "by" ? g.by_s : option == "from" ? g.from_s : g.to_s) = v;
        } else {
            error = "unexpected " + key_value_shown(t[i].text);
            return false;
        }
        i += 2;
    }
    if (g.from_s > g.to_s) {
        error = "'from' comes before 'to'";
        return false;
    }
    return true;
}

std::string seconds(double s) {
    return mission_number(s) + " s";
}

}  // namespace

std::string mission_number(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    char buffer[64];
    // Beyond a thousand million million the three decimals say nothing: the shortest text that
    // reads back as the number.
    if (std::fabs(v) >= 1e15) {
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
        return ec == std::errc() ? std::string(buffer, end) : "?";
    }
    std::snprintf(buffer, sizeof buffer, "%.3f", v);
    std::string text = buffer;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

MissionRead mission_parse(std::string_view text) {
    static const std::vector<KeyValueKey> keys = {
        {"title"}, {"sim"}, {"scenario"}, {"time"}, {"set", true}, {"goal", true},
        {"describe", true}};
    MissionRead read;
    Mission& m = read.mission;
    KeyValueReader reader(text, keys);
    KeyValueLine line;
    std::vector<int> goal_lines;
    while (true) {
        const bool more = reader.next(line);
        const int number = line.number;
        const auto fail = [&](const std::string& why) {
            read.error_line = number;
            read.error = why;
            return read;
        };
        const std::string key(line.key);
        if (line.fault != KeyValueFault::None) return fail(key_value_fault_reason(line));
        if (!more) break;
        const std::string_view value = line.value;
        if (key == "title") {
            m.title = std::string(value);
        } else if (key == "sim") {
            if (sim_find_shipped(value) == nullptr && !key_value_path_inside(value)) {
                return fail("sim is a shipped preset or a file beside the mission or below it");
            }
            m.sim = std::string(value);
        } else if (key == "scenario") {
            if (!key_value_path_inside(value)) {
                return fail("scenario is a file beside the mission or below it");
            }
            m.scenario = std::string(value);
        } else if (key == "time") {
            double s = 0;
            // The run's time limit is a count of milliseconds on a 32-bit clock.
            if (!parse_number(std::string(value), s) || s <= 0 || s > MAX_TIME_S) {
                return fail("time is a number of seconds above 0, at most " +
                            mission_number(MAX_TIME_S));
            }
            m.time_s = s;
        } else if (key == "set") {
            Channel c = Channel::Count;
            int64_t position = 0;
            if (!parse_sensor_setting(value, c, position)) {
                return fail("bad setting " + key_value_shown(value));
            }
            m.settings.emplace_back(c, position);
        } else if (key == "goal") {
            MissionGoal g;
            std::string why;
            if (!parse_goal(value, g, why)) return fail(why);
            m.goals.push_back(std::move(g));
            goal_lines.push_back(number);
        } else if (key == "describe") {
            if (m.goals.empty()) return fail("describe follows the goal it describes");
            std::string& words = m.goals.back().describe;
            if (!words.empty()) return fail("a goal has one describe");
            words = std::string(value);
        }
    }
    for (size_t k = 0; k < m.goals.size(); ++k) {
        const MissionGoal& g = m.goals[k];
        if (m.sim.empty() && (needs_simulation(g.quantity) || needs_simulation(g.condition))) {
            read.error_line = goal_lines[k];
            read.error = "this goal needs a simulation: give one with sim = PRESET";
            return read;
        }
    }
    if (m.goals.empty()) {
        read.error_line = 1;
        read.error = "a mission has at least one goal";
    }
    return read;
}

// ---- the watch ----

MissionWatch::MissionWatch(const Mission& mission, double station_min_elevation_deg)
    : goals_(std::make_shared<const std::vector<MissionGoal>>(mission.goals)),
      min_elevation_deg_(station_min_elevation_deg),
      time_ms_(std::llround(mission.time_s * 1000)) {
    tracks_.reserve(goals_->size());
    for (const MissionGoal& g : *goals_) {
        Track t;
        t.goal = &g;
        tracks_.push_back(std::move(t));
    }
}

double MissionWatch::value(const MissionQuantity& q, const TraceSnapshot& s) const {
    using Source = MissionQuantity::Source;
    switch (q.source) {
        case Source::Channel:
            return s.channels[q.index];
        case Source::TxActive:
            return s.tx_active ? 1 : 0;
        case Source::Variable:
            return s.variables[q.index];
        case Source::Series:
            return s.simulated ? s.sim[q.index] : 0;
        case Source::StationVisible:
            return s.simulated && s.sim[SIM_ELEVATION] >= min_elevation_deg_ ? 1 : 0;
    }
    return 0;
}

bool MissionWatch::good(const MissionGoal& g, double v) const {
    if (g.kind == MissionGoal::Kind::Between) {
        return v >= g.low - g.tolerance && v <= g.high + g.tolerance;
    }
    // Asked for every goal at every sample: the operator's characters, not a string compare.
    const bool inclusive = g.op.size() == 2;
    if (g.op[0] == '<') {
        const double bound = g.high + g.tolerance;
        return inclusive ? v <= bound : v < bound;
    }
    const double bound = g.low - g.tolerance;
    return inclusive ? v >= bound : v > bound;
}

// How far a value lies beyond the bound it breaks, as a positive number.
double MissionWatch::excess(const MissionGoal& g, double v) const {
    const bool upper = g.kind == MissionGoal::Kind::Between ? v > g.high + g.tolerance
                                                            : g.op[0] == '<';
    return upper ? v - (g.high + g.tolerance) : (g.low - g.tolerance) - v;
}

namespace {

std::string breach_words(const MissionGoal& g, double value, double excess) {
    const bool upper = g.kind == MissionGoal::Kind::Between ? value > g.high + g.tolerance
                                                            : g.op[0] == '<';
    const double bound = upper ? g.high + g.tolerance : g.low - g.tolerance;
    return mission_number(excess) + (upper ? " above " : " below ") + mission_number(bound);
}

}  // namespace

// A goal for some moment that never came: the nearest it came.
std::string MissionWatch::never_words(const MissionGoal& g, const Track& t) const {
    std::string words = g.quantity.name + " never within bounds";
    if (t.first_breach_s >= 0) {
        words += "; nearest " + mission_number(t.worst_value) + " at " + seconds(t.worst_at_s) +
                 ": " + breach_words(g, t.worst_value, t.worst_excess);
    }
    return words;
}

// The value `s` holds over [a, b] (a point when a == b).
void MissionWatch::judge_interval(Track& t, double a, double b, const TraceSnapshot& s) {
    const MissionGoal& g = *t.goal;
    switch (g.kind) {
        case MissionGoal::Kind::OutputContains:
            return;
        case MissionGoal::Kind::OnlyWhile: {
            const bool breach = value(g.quantity, s) != 0 && value(g.condition, s) == 0;
            if (!breach) return;
            if (t.first_breach_s < 0) t.first_breach_s = a;
            t.breach_seconds += b - a;
            // The tolerance is the time in all that may go by in breach.
            if (t.breach_seconds > g.tolerance || g.tolerance == 0) {
                t.decided = true;
                t.met = false;
            }
            return;
        }
        case MissionGoal::Kind::Compare:
        case MissionGoal::Kind::Between:
            break;
    }
    const double v = value(g.quantity, s);
    const bool ok = good(g, v);
    if (g.by) {
        if ((a <= g.by_s && g.by_s < b) || (a == b && a == g.by_s)) {
            t.value_at_by = v;
            t.seen_at_by = true;
        }
        if (ok) {
            if (t.good_since_s < 0) t.good_since_s = a;
            return;
        }
        t.good_since_s = -1;
        // Out of bounds at the deadline or after it: it cannot be met any more.
        if (t.decided || !(b > g.by_s || (a == b && a >= g.by_s))) return;
        t.decided = true;
        t.met = false;
        const std::string beyond = breach_words(g, v, excess(g, v));
        t.figure = a <= g.by_s
                       ? g.quantity.name + " was " + mission_number(v) + " at " + seconds(g.by_s) +
                             ": " + beyond
                       : g.quantity.name + " went back to " + mission_number(v) + " at " +
                             seconds(a) + ": " + beyond;
        return;
    }
    const bool overlaps = a <= g.to_s && (b > g.from_s || (a == b && a >= g.from_s));
    if (g.sometime) {
        if (!overlaps || t.decided) return;
        if (ok) {
            t.decided = true;
            t.met = true;
            t.good_since_s = std::max(a, g.from_s);
            return;
        }
        // The nearest miss, for the report.
        const double e = excess(g, v);
        if (t.first_breach_s < 0 || e < t.worst_excess) {
            t.worst_excess = e;
            t.worst_value = v;
            t.worst_at_s = std::max(a, g.from_s);
        }
        t.first_breach_s = 0;
        return;
    }
    if (!overlaps || ok) return;
    const double e = excess(g, v);
    if (t.first_breach_s < 0 || e > t.worst_excess) {
        t.worst_excess = e;
        t.worst_value = v;
        t.worst_at_s = std::max(a, g.from_s);
    }
    if (t.first_breach_s < 0) t.first_breach_s = std::max(a, g.from_s);
    t.decided = true;
    t.met = false;
}

void MissionWatch::sample(const TraceSnapshot& s) {
    if (finished_) return;
    if (have_sample_) {
        const double a = static_cast<double>(last_.time_ms) / 1000;
        const double b = static_cast<double>(s.time_ms) / 1000;
        for (Track& t : tracks_) judge_interval(t, a, b, last_);
    }
    last_ = s;
    have_sample_ = true;
    const double now = static_cast<double>(s.time_ms) / 1000;
    for (Track& t : tracks_) {
        const MissionGoal& g = *t.goal;
        // The new value at its own moment: what it decides, it decides now, not at the next
        // sample.
        judge_interval(t, now, now, s);
        switch (g.kind) {
            case MissionGoal::Kind::OutputContains:
                break;
            case MissionGoal::Kind::OnlyWhile:
                t.holds_now = !(value(g.quantity, s) != 0 && value(g.condition, s) == 0);
                break;
            default:
                t.holds_now = good(g, value(g.quantity, s));
                // A window that has closed decides the goal.
                if (!g.by && !t.decided && now > g.to_s) {
                    t.decided = true;
                    t.met = !g.sometime;
                    if (g.sometime) t.figure = never_words(g, t);
                }
                break;
        }
    }
}

void MissionWatch::offer(const TraceSnapshot& s) {
    if (have_sample_ && !trace_state_changed(last_, s) &&
        std::equal(std::begin(s.variables), std::end(s.variables), std::begin(last_.variables))) {
        return;
    }
    sample(s);
}

void MissionWatch::output_line(std::string_view line) {
    if (finished_) return;
    for (Track& t : tracks_) {
        if (t.goal->kind != MissionGoal::Kind::OutputContains || t.decided) continue;
        if (line.find(t.goal->needle) == std::string_view::npos) continue;
        t.decided = true;
        t.met = true;
    }
}

void MissionWatch::decide_at_end(Track& t, double end_s, bool reached_time) {
    if (t.decided) return;
    t.decided = true;
    const MissionGoal& g = *t.goal;
    switch (g.kind) {
        case MissionGoal::Kind::OutputContains:
            t.met = false;
            t.figure = "no output line contains \"" + g.needle + "\"";
            return;
        case MissionGoal::Kind::OnlyWhile:
            t.met = true;
            return;
        default:
            break;
    }
    // A moment the run never saw cannot count for the goal: the window's start, and its end
    // unless the run went on to the mission's time (a window may reach past it).
    const double window_end = g.by ? g.by_s : g.to_s;
    double unseen = -1;
    if (end_s < g.from_s) {
        unseen = g.from_s;
    } else if (!reached_time && std::isfinite(window_end) && end_s < window_end) {
        unseen = window_end;
    }
    if (unseen >= 0) {
        t.met = false;
        t.figure = "the run ended at " + seconds(end_s) + ", before " + seconds(unseen);
        return;
    }
    if (g.sometime) {
        t.met = false;
        t.figure = never_words(g, t);
        return;
    }
    if (!g.by) {
        t.met = true;
        return;
    }
    t.met = t.good_since_s >= 0 && t.good_since_s <= g.by_s;
    if (t.met) return;
    if (t.good_since_s >= 0) {
        t.figure = g.quantity.name + " was " + mission_number(t.value_at_by) + " at " +
                   seconds(g.by_s) + ": " + breach_words(g, t.value_at_by, excess(g, t.value_at_by)) +
                   "; within bounds only from " + seconds(t.good_since_s) + " on";
        return;
    }
    // The run ended before the deadline, out of bounds.
    const double v = have_sample_ ? value(g.quantity, last_) : 0;
    t.figure = g.quantity.name + " was " + mission_number(v) + " at the end (" + seconds(end_s) +
               "): " + breach_words(g, v, excess(g, v));
}

void MissionWatch::finish(int64_t end_ms) {
    if (finished_) return;
    const double end_s = static_cast<double>(end_ms) / 1000;
    if (have_sample_) {
        const double a = static_cast<double>(last_.time_ms) / 1000;
        for (Track& t : tracks_) judge_interval(t, a, std::max(a, end_s), last_);
    }
    const bool reached_time = end_ms >= time_ms_;
    for (Track& t : tracks_) decide_at_end(t, end_s, reached_time);
    finished_ = true;
}

MissionWatch::GoalStatus MissionWatch::status(size_t goal) const {
    const Track& t = tracks_[goal];
    const MissionGoal& g = *t.goal;
    GoalStatus s;
    if (!t.decided) {
        s.state = t.holds_now ? State::Holding : State::Pending;
        return s;
    }
    s.state = t.met ? State::Met : State::Missed;
    if (!t.figure.empty()) {
        s.figure = t.figure;
    } else if (g.kind == MissionGoal::Kind::OnlyWhile) {
        s.figure = t.met && t.first_breach_s < 0
                       ? g.quantity.name + " never while " + g.condition.name + " was 0"
                   : t.met ? g.quantity.name + " while " + g.condition.name + " was 0 for " +
                                 seconds(t.breach_seconds) + " in all, within the tolerance"
                         : g.quantity.name + " at " + seconds(t.first_breach_s) + " while " +
                               g.condition.name + " was 0, " + seconds(t.breach_seconds) +
                               " in all";
    } else if (g.kind == MissionGoal::Kind::OutputContains) {
        s.figure = "printed";
    } else if (t.met && g.sometime) {
        s.figure = "within bounds at " + seconds(t.good_since_s);
    } else if (t.met && g.by) {
        s.figure = "within bounds from " + seconds(t.good_since_s) + " on";
    } else if (t.met) {
        s.figure = "within bounds throughout";
    } else {
        s.figure = g.quantity.name + " first out of bounds at " + seconds(t.first_breach_s) +
                   "; worst " + mission_number(t.worst_value) + " at " + seconds(t.worst_at_s) +
                   ": " + breach_words(g, t.worst_value, t.worst_excess);
    }
    return s;
}

std::string MissionWatch::progress(size_t goal) const {
    const MissionGoal& g = (*goals_)[goal];
    if (!have_sample_ || g.kind == MissionGoal::Kind::OutputContains) return {};
    const double v = value(g.quantity, last_);
    if (g.kind == MissionGoal::Kind::OnlyWhile) {
        return "now " + g.quantity.name + " " + mission_number(v) + ", " + g.condition.name + " " +
               mission_number(value(g.condition, last_));
    }
    const double upper = g.kind == MissionGoal::Kind::Between || g.op[0] == '<'
                             ? g.high + g.tolerance
                             : std::numeric_limits<double>::infinity();
    const double lower = g.kind == MissionGoal::Kind::Between || g.op[0] == '>'
                             ? g.low - g.tolerance
                             : -std::numeric_limits<double>::infinity();
    // The bound broken, or the nearer one.
    const double bound = v > upper                ? upper
                         : v < lower              ? lower
                         : upper - v <= v - lower ? upper
                                                  : lower;
    const std::string now = "now " + mission_number(v) + ": ";
    if (v == bound) return now + "at " + mission_number(bound);
    return now + mission_number(std::fabs(v - bound)) + (v > bound ? " above " : " below ") +
           mission_number(bound);
}

size_t MissionWatch::bytes() const {
    size_t n = sizeof *this + tracks_.capacity() * sizeof(Track);
    for (const Track& t : tracks_) n += t.figure.capacity();
    return n;
}

double MissionWatch::met_weight() const {
    double w = 0;
    for (size_t k = 0; k < tracks_.size(); ++k) {
        if (status(k).state == State::Met) w += (*goals_)[k].weight;
    }
    return w;
}

double MissionWatch::total_weight() const {
    double w = 0;
    for (const MissionGoal& g : *goals_) w += g.weight;
    return w;
}

bool MissionWatch::all_met() const {
    for (size_t k = 0; k < tracks_.size(); ++k) {
        if (status(k).state != State::Met) return false;
    }
    return true;
}

std::vector<std::string> MissionWatch::report_lines() const {
    std::vector<std::string> lines;
    for (size_t k = 0; k < goals_->size(); ++k) {
        const GoalStatus s = status(k);
        lines.push_back((s.state == State::Met ? "MET " : "MISSED ") + (*goals_)[k].text + ": " +
                        s.figure);
    }
    const double total = total_weight();
    const double met = met_weight();
    lines.push_back("score " + mission_number(met) + "/" + mission_number(total) + " (" +
                    std::to_string(static_cast<int>(std::lround(100 * met / total))) + " %)");
    return lines;
}

std::vector<std::string> MissionWatch::output_lines() const {
    std::vector<std::string> report = report_lines();
    std::vector<std::string> lines;
    lines.reserve(report.size() + goals_->size());
    for (size_t k = 0; k < report.size(); ++k) {
        lines.push_back(std::move(report[k]));
        if (k < goals_->size() && !(*goals_)[k].describe.empty()) {
            lines.push_back("  " + (*goals_)[k].describe);
        }
    }
    return lines;
}

size_t mission_output_line_count(const Mission& mission) {
    size_t n = mission.goals.size() + 1;
    for (const MissionGoal& g : mission.goals) n += g.describe.empty() ? 0 : 1;
    return n;
}
