// The headless runner: reads a program file as LOAD does, prepares it as a fresh RUN does and
// runs it to its end on the same interpreter and device model as the window. With --grade it
// runs student programs against a folder of cases instead.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "channels.h"
#include "checker.h"
#include "run_report.h"
#include "scenario.h"
#include "sim_preset.h"

enum RunnerExit {
    RUNNER_OK = 0,          // the run ended without an error report; grading: all passed;
                            // --replay: the trace agrees and the machine is shown
    RUNNER_ERROR = 1,       // an error report or an arithmetic fault; grading: a case failed;
                            // --replay: the trace is not one of this program with these options
    RUNNER_NOT_RUN = 2,     // unreadable file, program too large, bad arguments, lost output;
                            // --replay: an unreadable or malformed trace
    RUNNER_STEP_LIMIT = 3,  // --max-steps or --timeout reached
};

// The lines --state prints after the run, in this order, each as NAME=VALUE: the controls of
// the channels a program sets, then the transmitter.
constexpr std::array<const char*, PROGRAM_CHANNEL_COUNT + 3> state_line_names() {
    std::array<const char*, PROGRAM_CHANNEL_COUNT + 3> names{};
    size_t n = 0;
    for (Channel c : program_channels()) names[n++] = info_of(c).control;
    for (const char* tx : {"tx_active", "tx_column", "tx_symbol"}) names[n++] = tx;
    return names;
}
inline constexpr auto STATE_LINE_NAMES = state_line_names();

// `args` are the command-line arguments without the program name. Program output goes to
// `out`, math errors, the stop line and usage texts to `err`. Starts from a fresh machine.
// Grading starts each run as a new process of the executable `self`.
int runner_main(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                const char* self = "/proc/self/exe");

// What the command line asks for.
struct RunnerOptions {
    // Sensor positions to set before the run, in the order given; a later one for the same
    // channel wins.
    std::vector<std::pair<Channel, int64_t>> settings;
    bool vars = false;
    bool state = false;
    bool no_wait = false;
    long long max_steps = -1;   // -1: no limit
    long long timeout_ms = -1;  // -1: no limit
    std::string scenario;       // empty: none
    std::string trace;          // empty: none
    // --sim: a shipped preset's name or a preset file; empty: no simulation.
    std::string sim;
    // --mission: a mission file; its preset, scenario and time replace --sim, --scenario and
    // --timeout, and the run goes without real waits.
    std::string mission;
    // --mission-result: where the mission's result goes, as MISSION_RESULT_HEADER describes;
    // empty: nowhere.
    std::string mission_result;
    // --report: where the run's report goes, as RUN_REPORT_HEADER describes; empty: nowhere.
    std::string report;
    // --replay: a trace of an earlier run of FILE with these options; the run goes again up to
    // the program clock's `at_ms` (--at), holding its rows against the trace's, and prints the
    // machine there instead of the output.
    std::string replay;
    long long at_ms = -1;  // -1: not given
    bool sim_list = false;  // --sim list: print the shipped presets
    bool check = false;     // --check: print the checker's findings instead of running FILE
    bool help = false;      // --help: print the usage and what each option does
    bool version = false;   // --version
    std::string file;

    // --grade: the folder of cases; the programs are in `files` and `file` stays empty.
    std::string grade_dir;
    std::string junit;  // empty: no report
    std::string summary;  // empty: no summary
    int jobs = 0;       // 0: one per core
    std::vector<std::string> files;
};

// The mission's result as --mission-result writes it, for a reader that must not take it from
// the output: this line, then one line a goal ("MET goal: figure" or "MISSED goal: figure", as
// the run prints them), "weights MET TOTAL" (the weights of the goals met and of all goals, as
// exact decimal numbers) and "end".
inline constexpr const char* MISSION_RESULT_HEADER = "zorvant-run mission result 1";

// The run's report as --report writes it, for a reader that must not take it from the output
// (a program can print anything): this line, "reports N" (how many the run made, or 1 for a
// program that could not start), and for N > 0 the facts of the first report, the one to fix
// first: "kind NAME" (report_kind_name), "line L", "statement LINE COLUMN OFFSET",
// "tokens EXPECTED GOT", "operands LEFT RIGHT" (exact decimal numbers, or inf and nan),
// "amount AMOUNT LIMIT"; then "end".
inline constexpr const char* RUN_REPORT_HEADER = "zorvant-run report 1";
std::string runner_report_text(long long count, const RunReport& first);
// Reads that text. False when it is cut short or malformed; `count` is then 0.
bool runner_report_parse(std::string_view text, long long& count, RunReport& first);

// --sim's value: a shipped preset by its name, or else a preset file. False, with the message
// after "zorvant-run: " in `problem`, when it cannot be read or holds a bad line.
bool runner_load_preset(const std::string& value, SimPreset& preset, std::string& problem);
inline constexpr const char* REASON_SIM_PRESET_TOO_LARGE = "It is larger than 64 KiB";
// The message for the first event of a scenario that moves a channel the simulation drives, or
// "" when none does.
std::string runner_sim_scenario_clash(const std::string& scenario_name, const ScenarioRead& read);

// Reads the arguments without the program name. On failure `problem` says what is wrong, in
// the words the usage message shows; `options` may then be partly filled.
bool runner_parse_args(const std::vector<std::string>& args, RunnerOptions& options,
                       std::string& problem);

// A finding's severity as --check and the grader's reports write it: "error" or "warning".
const char* severity_word(Severity severity);
// "2 errors, 1 warning": the counts of findings by severity, a count of 0 left out (both 0:
// "0 errors").
std::string severity_counts(size_t errors, size_t warnings);
