// The runner's --replay: a traced run made again up to a moment of its program clock, each row
// the new run makes held against the trace's, and the machine at that moment as a teacher
// reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "program_text.h"

// Longer lines are no rows: a row with every column at its widest is well under a kilobyte.
inline constexpr size_t MAX_TRACE_LINE_BYTES = 4096;
// The program's output lines the state shows, the last ones printed.
inline constexpr size_t REPLAY_OUTPUT_LINES = 10;

// A trace file read line by line while the new run writes its own rows: the header first,
// then every row in turn. The first line that differs ends the check, with what differs.
class TraceCheck {
   public:
    enum class Verdict {
        Agrees,
        Differs,     // a well-formed trace of another program, other options or another clock
        Unreadable,  // no file, no trace, or a row that is no row of one
    };

    TraceCheck() = default;
    TraceCheck(const TraceCheck&) = delete;
    TraceCheck& operator=(const TraceCheck&) = delete;
    ~TraceCheck();

    // Opens the regular file at `path`; false when it cannot be read.
    bool open(const std::string& path);
    // The header the new run would write, then each of its rows (with its time) in order.
    // False once anything differed.
    bool header(const std::string& expected);
    bool row(const std::string& expected, int64_t time_ms);
    // After the new run's last row: when `ended`, the trace must end there too; otherwise it
    // may go on only after `at_ms`, where the new run stopped.
    bool finish(bool ended, int64_t at_ms);

    bool failed() const { return verdict_ != Verdict::Agrees; }
    Verdict verdict() const { return verdict_; }
    // What differs or why the trace is unreadable, after "zorvant-run: ".
    const std::string& problem() const { return problem_; }
    // The rows (header not counted) that agreed.
    long long rows() const { return rows_; }

   private:
    enum class Read { Line, End, Fault };
    Read next(std::string& line);
    bool fail(Verdict verdict, const std::string& problem);
    std::string at_line() const;

    std::FILE* file_ = nullptr;
    std::string name_;
    long long line_number_ = 0;
    long long rows_ = 0;
    std::vector<std::string> columns_;
    Verdict verdict_ = Verdict::Agrees;
    std::string problem_;
};

// The program's output during a replay: how many lines, and the last ones.
struct ReplayOutput {
    long long count = 0;
    std::deque<std::string> last;
    long long math_errors = 0;

    static void take_line(std::string_view line, void* self);
    static void take_math_error(std::string_view text, void* self);
};

// Where a replay stopped, for the lines that show the machine there.
struct ReplayMoment {
    std::string program;
    std::string trace;
    long long rows = 0;  // the trace's rows that agreed
    int64_t at_ms = 0;   // the moment asked for
    int64_t now_ms = 0;  // the program clock where the new run stopped
    bool ended = false;  // the run ended at now_ms, at or before at_ms
    // How it ended, before the line it names: "stopped at", "stopped by the time limit
    // before", ...
    std::string stopped = "stopped at";
    int64_t wait_until_ms = 0;  // where a DELAY that holds the program ends
    long long steps = 0;
};

// The machine as it stands now, after the moment's facts: the next line (its text from
// `lines`), the open loops and GOSUBs, the variables that are not 0, the channels, the
// transmitter and the simulation's series under the trace's column names, and the output.
std::vector<std::string> replay_state_lines(const ReplayMoment& moment, const LineList& lines,
                                            const ReplayOutput& output);
