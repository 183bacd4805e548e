// A mission: what a satellite should achieve under a student's program, and a watch that tells
// from the run's samples whether it did. A mission file is text, "key = value" a line, read as
// key_value.h says (comments, quotes, keys given once):
//
//   title = Detumble within ten minutes
//   sim = tumbling_1u          # a shipped preset, or a preset file beside the mission
//   time = 900                 # seconds of program time; the run ends there
//   goal = rate < 1 by 600
//   goal = output contains "DETUMBLED"
//
// Optional keys: scenario (a scenario file beside the mission), set (a sensor's starting
// position, as --set takes it; again for more), describe (the author's words on the goal just
// before it, once a goal: the panel shows them beside the goal, the runner after its line).
// Goals, each on a line of its own:
//
//   QUANTITY < V | > V | <= V | >= V | between LOW HIGH   [WINDOW] [tolerance T] [weight W]
//       WINDOW: by S (reached by S seconds and kept to the end), from S1 to S2, from S1, to S2;
//       none: the whole run. "sometime" before a window: at some moment of it instead of
//       throughout. A tolerance moves the bounds outwards by T.
//   QUANTITY only while CONDITION                          [tolerance T] [weight W]
//       QUANTITY is never non-zero while CONDITION is zero (for T seconds in all at most).
//   output contains "TEXT"                                  [weight W]
//
// Quantities are the columns of a trace (magx .. spd, tx_active, A .. Z, and with a simulation
// rate_x .. elevation) and the names temperature (tem), rate_deg_s (rate), tx (tx_active) and
// station_visible (1 while the station sees the satellite). Times count in seconds of program
// time from the start of the run.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "channels.h"
#include "trace.h"

// Where a quantity's value comes from in a sample.
struct MissionQuantity {
    enum class Source { Channel, TxActive, Variable, Series, StationVisible };
    Source source = Source::Channel;
    int index = 0;  // the channel, variable or series
    std::string name;
};

struct MissionGoal {
    enum class Kind { Compare, Between, OnlyWhile, OutputContains };
    Kind kind = Kind::Compare;
    std::string text;  // as written, for the report
    MissionQuantity quantity;
    MissionQuantity condition;  // OnlyWhile
    std::string op;             // Compare: "<", ">", "<=" or ">="
    double low = 0;             // Between; Compare ">" and ">="
    double high = 0;            // Between; Compare "<" and "<="
    double tolerance = 0;
    // by: reached at or before by_s and kept until the end. Otherwise the bound must hold
    // throughout [from_s, to_s].
    bool by = false;
    double by_s = 0;
    // sometime: the bound holds at some moment of [from_s, to_s].
    bool sometime = false;
    double from_s = 0;
    double to_s = std::numeric_limits<double>::infinity();
    double weight = 1;
    std::string needle;  // OutputContains
    std::string describe;  // the author's words on it; empty: none
};

struct Mission {
    std::string title;
    std::string sim;       // as written: a shipped preset's name or a file; empty: none
    std::string scenario;  // as written; empty: none
    double time_s = 600;
    std::vector<std::pair<Channel, int64_t>> settings;
    std::vector<MissionGoal> goals;
};

struct MissionRead {
    Mission mission;
    int error_line = 0;  // the first bad line, counted from 1; 0 when all are good
    std::string error;
};

MissionRead mission_parse(std::string_view text);

inline constexpr size_t MAX_MISSION_FILE_BYTES = 64 * 1024;

// Follows a run: samples in time order (each holds until the next), the output's lines, and the
// end. Tells each goal's state while the run goes on and the verdict at its end.
class MissionWatch {
   public:
    enum class State {
        Pending,  // nothing decided yet, and the goal does not hold now
        Holding,  // holds now, and would be met if the run ended here
        Met,      // met for good
        Missed,   // missed for good
    };
    struct GoalStatus {
        State state = State::Pending;
        std::string figure;  // when missed: when and by how much; when met: how
    };

    // `station_min_elevation_deg`: from the simulation's preset, for station_visible.
    MissionWatch(const Mission& mission, double station_min_elevation_deg);

    void sample(const TraceSnapshot& s);
    // A sample taken before each statement: passed on only when something a goal may read
    // changed since the last one, variables included.
    void offer(const TraceSnapshot& s);
    void output_line(std::string_view line);
    // The run ended at `end_ms`; every goal is decided. A goal whose window the run did not see
    // is missed: the run ended before the window's start, or before its end without reaching
    // the mission's time.
    void finish(int64_t end_ms);
    bool finished() const { return finished_; }

    size_t goal_count() const { return goals_->size(); }
    GoalStatus status(size_t goal) const;
    // Weights of the goals met, and of all goals.
    double met_weight() const;
    double total_weight() const;
    bool all_met() const;
    // "MET goal: figure" and "MISSED goal: figure", one a goal, then "score M/T (P %)".
    std::vector<std::string> report_lines() const;
    // What the runner prints: report_lines with each described goal's words on a line after
    // it, indented by two spaces.
    std::vector<std::string> output_lines() const;
    // Where a goal's quantity stands at the last sample: "now 3.2: 2.2 above 1" (how far from
    // the bound it must keep, or, between two, the nearer one; "only while" goals name both
    // quantities). Empty before the first sample and for an output goal.
    std::string progress(size_t goal) const;
    // The memory a copy of the watch holds (the goals themselves are shared by copies).
    size_t bytes() const;

   private:
    struct Track {
        const MissionGoal* goal = nullptr;
        bool decided = false;
        bool met = false;
        std::string figure;
        // by: the start of the stretch in which the bound holds up to now; -1: it does not hold.
        double good_since_s = -1;
        double value_at_by = 0;
        bool seen_at_by = false;
        // Throughout and only-while: the first and worst breach.
        double first_breach_s = -1;
        double worst_excess = 0;
        double worst_at_s = 0;
        double worst_value = 0;
        double breach_seconds = 0;
        bool holds_now = false;
    };
    void judge_interval(Track& t, double from_s, double to_s, const TraceSnapshot& s);
    void decide_at_end(Track& t, double end_s, bool reached_time);
    double value(const MissionQuantity& q, const TraceSnapshot& s) const;
    bool good(const MissionGoal& g, double v) const;
    double excess(const MissionGoal& g, double v) const;
    std::string never_words(const MissionGoal& g, const Track& t) const;

    // Shared by the watch's copies, which the tracks' goal pointers may then outlive the
    // original of: a copy is a moment of the run to go back to.
    std::shared_ptr<const std::vector<MissionGoal>> goals_;
    std::vector<Track> tracks_;
    double min_elevation_deg_;
    int64_t time_ms_;  // the mission's time
    bool have_sample_ = false;
    TraceSnapshot last_;
    bool finished_ = false;
};

// The lines output_lines() makes for this mission: a line a goal, one a description, the score.
size_t mission_output_line_count(const Mission& mission);

// A number as a report shows it: at most three decimals, no trailing zeros; from 1e15 on, the
// shortest text that reads back as the number ("1e+299").
std::string mission_number(double v);
