// How every host runs programs: the window, the headless runner, the tests, the benchmark and
// the fuzz targets. A host installs its sinks and clock once; a fresh machine is one call; a
// run session starts a program and makes passes, one statement a pass, until something stops
// it, and says what did.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clock.h"
#include "interp.h"
#include "math_stmts.h"
#include "prepare.h"

struct RunHost {
    OutputSink output = nullptr;
    void* output_context = nullptr;
    MathErrorSink math_error = nullptr;
    void* math_error_context = nullptr;
    // nullptr: real time from the steady clock, and a DELAY is waited out. Otherwise a clock
    // that stands still but for a DELAY, which moves it on at once.
    VirtualClock* virtual_clock = nullptr;
    // Told of each report of a run as it is made, before its lines reach `output`; nullptr:
    // nobody. The run's last report stays in RunSession::last_report().
    ReportSink report = nullptr;
    void* report_context = nullptr;
};

// Installs the host's sinks and clock, and the device's statements in the dispatch table.
void session_install(const RunHost& host);
// Output and math errors go nowhere again, and the steady clock is back.
void session_uninstall();
// A fresh machine: interpreter, variables and memory, labels, device panel, radio and the
// preparation's line map, as at start-up, with no simulation on.
void session_reset_machine();

// Resets the transmitter, prepares the editor lines and starts the interpreter on them. When
// the program cannot run, the interpreter is not started. `foreign_lines` as for
// prepare_program.
PreparedProgram run_fresh_start(const LineList& editor_lines,
                                const std::vector<int>& foreign_lines = {});

// What the hook before a statement decides.
enum class HookAction { Go, Hold };
// Called before each statement with its text position and its editor line.
using StatementHook = HookAction (*)(const char* position, int editor_line, void* context);

// Statements between two looks at the clock for a simulation while they run at full speed:
// a few microseconds of the program's time, a tiny part of the 10 ms a simulation step is.
inline constexpr long long SIM_FOLLOW_STATEMENTS = 1000;

// Why a run of passes ended.
enum class PassStop {
    Finished,   // END, an error, or the end of the text
    StepLimit,  // the session's step limit or time limit is reached
    Waiting,    // real time: a DELAY holds the program for wait_ms() more
    Held,       // the hook held the program before a statement
    Budget,     // the statements asked for have run
};

class RunSession {
   public:
    explicit RunSession(VirtualClock* virtual_clock = nullptr);

    // run_fresh_start, and the step count starts again. A simulation that is on starts again
    // from its preset, its clock from now.
    PreparedProgram start(const LineList& editor_lines, const std::vector<int>& foreign_lines = {});
    // Runs at most `budget` statements. After each one the transmission goes into the next
    // waterfall row. A statement the hook held at is run without asking again when the next
    // call starts there: that is how a run resumes past a breakpoint.
    PassStop run(long long budget);
    // Runs to the end or a limit, sleeping through the waits of real time.
    PassStop run_to_end();
    // Ends the current run() after the statement now running: for a STOP or PAUSE that comes
    // from inside a statement, through a box the statement shows.
    void interrupt() { budget_ = 0; }
    // Milliseconds of the program clock until the program may go on; 0 when it may now.
    int64_t wait_ms() const;

    // The clock the run's waits pass on: nullptr, real time, a DELAY waited out; otherwise a
    // clock that stands still while statements run, which a DELAY moves on at once when `jump`
    // is set (the runner's --no-wait) or which the host moves on meanwhile (pass_time). A host
    // may change it between two passes; the clock reads on from where it stood.
    void set_clock(VirtualClock* clock, bool jump = true);
    VirtualClock* virtual_clock() const { return clock_; }
    bool jumps_waits() const { return clock_ != nullptr && jump_; }
    // Where the current wait ends on the program clock: the resume time, or the time limit when
    // that comes first.
    int32_t wait_end() const;
    // On a clock that does not jump, while the program waits: moves it on by `program_ms`, no
    // further than wait_end(), and the simulation with it. The next run() goes on from there,
    // so a wait passed in many small moves leaves the run where one jump would.
    void pass_time(int64_t program_ms);
    // Moves a simulation that was on at start() on to the program clock now. run() does it at
    // its start, every SIM_FOLLOW_STATEMENTS statements and when a DELAY's wait ends; a window
    // calls it from a timer too while a DELAY waits, so that the sensors move meanwhile.
    void follow_simulation();

    long long steps() const { return steps_; }
    // The current (or last) run's last report; kind None when it made none.
    const RunReport& last_report() const { return interp.report; }
    // Statements after which the run stops as STOP would; -1 for no limit.
    long long step_limit = -1;
    // The program clock value at which the run stops as at the step limit, before the next
    // statement. A virtual clock jumps no further than this, so a DELAY across the limit ends
    // the run at the limit in either kind of time.
    std::optional<int32_t> time_limit;
    StatementHook hook = nullptr;
    void* hook_context = nullptr;

    // For a recorder that keeps the machine as statements find it (a trace's rows): `hook` is
    // called with `moved` true where the clock may have moved (the start of each run(), before
    // the simulation follows the clock, and the end of a DELAY's wait), and before a statement
    // runs while `*due` is set, with its editor line. The recorder sets the flag when something
    // it shows has changed; a stretch of statements at full speed ends there.
    using RowHook = void (*)(bool moved, int editor_line, void* context);
    void set_row_hook(RowHook hook, void* context, const bool* due);
    struct RowHookSetting {
        RowHook hook;
        void* context;
        const bool* due;
    };
    RowHookSetting row_hook_setting() const { return {row_hook_, row_context_, row_due_}; }
    // Told when a DELAY's wait ends with the clock where it ends, before the next statement:
    // for a history that keeps every move of the clock (run_history.h). nullptr: nobody.
    using ClockWatch = void (*)(void* context);
    void set_clock_watch(ClockWatch watch, void* context) {
        clock_watch_ = watch;
        clock_watch_context_ = context;
    }

    // What decides the passes to come besides the machine: the count of statements, when the
    // simulation is next followed, the statement held at and the resume time known reached.
    // A snapshot of the machine (machine_state.h) keeps it and puts it back.
    struct Progress {
        long long steps = 0;
        long long next_follow = 0;
        const char* held_at = nullptr;
        bool simulating = false;
        bool resume_known = false;
        int32_t resume_reached = 0;
    };
    Progress progress() const {
        return {steps_, next_follow_, held_at_, simulating_, resume_known_, resume_reached_};
    }
    void restore_progress(const Progress& p);

   private:
    bool resume_time_reached();
    bool time_limit_reached() const { return time_limit && clock_ms() >= *time_limit; }

    VirtualClock* clock_;
    bool jump_ = true;
    RowHook row_hook_ = nullptr;
    ClockWatch clock_watch_ = nullptr;
    void* clock_watch_context_ = nullptr;
    void* row_context_ = nullptr;
    const bool* row_due_;
    // A simulation was on at start(): the passes move it on with the clock.
    bool simulating_ = false;
    long long next_follow_ = 0;  // the step count at which a statement-by-statement run looks
    long long steps_ = 0;
    long long budget_ = 0;
    const char* held_at_ = nullptr;
    // The resume time last seen reached: the clock only moves forward, so it stays reached
    // and the clock is read again only when a DELAY sets a new one. Reading it on every pass
    // would cost a running program a good part of its speed.
    bool resume_known_ = false;
    int32_t resume_reached_ = 0;
};
