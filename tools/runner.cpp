#include "runner.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <initializer_list>
#include <optional>

#include "channels.h"
#include "checker.h"
#include "file_access.h"
#include "format.h"
#include "grade.h"
#include "interp.h"
#include "math_stmts.h"
#include "mission.h"
#include "mission_setup.h"
#include "program_text.h"
#include "radio.h"
#include "replay.h"
#include "run_session.h"
#include "scenario.h"
#include "simulation.h"
#include "trace.h"

namespace {

const char* const USAGE =
    "usage: zorvant-run [--set NAME=POS]... [--scenario FILE] [--trace FILE] [--vars] [--state]\n"
    "                   [--no-wait] [--max-steps N] [--timeout MS] [--sim PRESET|FILE]\n"
    "                   [--mission FILE [--mission-result FILE]] [--report FILE] [--] FILE\n"
    "       zorvant-run --replay TRACE --at MS [--set NAME=POS]... [--scenario FILE]\n"
    "                   [--max-steps N] [--timeout MS] [--sim PRESET|FILE] [--mission FILE]\n"
    "                   [--] FILE\n"
    "       zorvant-run --grade DIR [--junit REPORT] [--summary CSV] [-j N] [--] FILE...\n"
    "       zorvant-run --sim list\n"
    "       zorvant-run --check [--] FILE\n"
    "  NAME is one of %s\n";

const char* const HELP =
    "Runs a program file without the window, as RUN does, and prints its output.\n"
    "\n"
    "  --set NAME=POS    move a sensor slider before the run; NAME is one of the\n"
    "                    sensors above\n"
    "  --scenario FILE   move sliders during the run: one \"TIME_MS NAME=POS\" a line, times\n"
    "                    never decreasing, each applied before the first statement that runs\n"
    "                    when the clock has reached TIME_MS milliseconds since the start;\n"
    "                    blank lines and lines starting with # are skipped\n"
    "  --trace FILE      write a CSV row of the clock, the next line, the sliders, the\n"
    "                    transmitter and the variables at the start, before each statement\n"
    "                    after the clock, a slider or the transmitter changed, and at the end\n"
    "  --vars            print the variables A to Z after the run\n"
    "  --state           print the coils, the CPU speed and the transmitter after the run\n"
    "  --no-wait         DELAY moves a virtual clock on instead of waiting: the same program\n"
    "                    and scenario give the same output and trace every time\n"
    "  --max-steps N     stop as STOP does after N statements\n"
    "  --timeout MS      stop as STOP does when the clock reaches MS milliseconds\n"
    "  --sim PRESET|FILE the magnetometer, temperature and RX follow a simulated satellite\n"
    "                    that the coils turn and the CPU speed warms, from a shipped preset\n"
    "                    or a preset file; --set and scenario events for those sensors are\n"
    "                    refused, and a trace gets the columns rate_x, rate_y, rate_z, rate\n"
    "                    (deg/s), field (uT), sunlit and elevation (deg) after Z\n"
    "  --sim list        print the shipped presets, one a line, and exit\n"
    "  --mission FILE    run FILE against a mission: its preset, scenario and time (in place\n"
    "                    of --sim, --scenario and --timeout), without real waits; after the\n"
    "                    output, one line a goal (MET or MISSED, with the figure; the\n"
    "                    goal's describe words indented on the next) and the score; exit 0\n"
    "                    when every goal is met, 1 otherwise\n"
    "  --mission-result FILE  with --mission: also write each goal's verdict and the\n"
    "                    weights met and in all to FILE, for a program to read\n"
    "  --report FILE     also write the run's first error report (what it is, the lines it\n"
    "                    names, the tokens or values) to FILE, for a program to read\n"
    "  --replay TRACE --at MS\n"
    "                    do not print the output: run FILE again as the run that wrote\n"
    "                    TRACE ran it (with --no-wait or a mission; give its --set,\n"
    "                    --scenario, --sim or --mission, --max-steps and --timeout again)\n"
    "                    up to MS milliseconds on the program clock, with every statement\n"
    "                    of that moment, and print the machine there: the time, the\n"
    "                    statements run, the next line, open loops and GOSUBs, the variables\n"
    "                    that are not 0, the sensors, coils, CPU speed, transmitter and\n"
    "                    simulation under the trace's column names, and how many lines the\n"
    "                    program printed with the last %zu; or the end of the run, when it\n"
    "                    ended before MS. Each row the replay makes must be the trace's\n"
    "                    next; where they first differ, it says so and exits 1\n"
    "  --check           do not run FILE: print what can be seen wrong in it, one finding\n"
    "                    a line as FILE:LINE:COLUMN: error: message (a run stops there) or\n"
    "                    FILE:LINE:COLUMN: warning: message, lines and columns counted from\n"
    "                    1 (the editor's line 0 is line 1); of more than 200, the first\n"
    "                    200, then FILE: and N more (E errors, W warnings)\n"
    "  --grade DIR       grade each FILE against every case folder in DIR (below)\n"
    "  --junit REPORT    with --grade: also write the verdicts as JUnit XML to REPORT\n"
    "  --summary CSV     with --grade: also write one row per FILE to CSV: cases passed,\n"
    "                    checker findings, the first failure's reason, the findings'\n"
    "                    errors and warnings\n"
    "  -j N              with --grade: run N programs at once (default: one per core)\n"
    "  --help            print this help and exit\n"
    "  --version         print the version and exit\n"
    "  --                every argument after it is a FILE, also one that starts with -\n"
    "\n"
    "Exit status: 0 the run ended without an error report; 1 an error report or an\n"
    "arithmetic fault; 2 the program did not run (bad arguments, unreadable file, bad\n"
    "scenario or preset, program too large) or its output or trace could not be written;\n"
    "3 the step limit or the timeout was reached. With --check: 0 nothing found, 1 findings\n"
    "printed, 2 the file could not be read. With --replay: 0 the machine is printed, 1 the\n"
    "trace is not one of FILE with these options, 2 as for a run, or TRACE cannot be read\n"
    "or is no trace.\n"
    "\n";

// The grading paragraph of the help, with its limits filled in.
const char* const GRADE_HELP =
    "Grading: every folder in DIR is a case, tried in the order of their names. A case\n"
    "holds 'expect' (the expected output) and/or 'expect-state' (lines as --vars and --state\n"
    "print them, such as \"A: 0.5\" or \"tb_coix=20\"; only the lines given are compared), and\n"
    "may hold 'args' (options of the run, such as --set, --timeout or --max-steps, on one\n"
    "line), 'scenario' (events as for --scenario), 'runs-on' (any content: the program is\n"
    "meant to run until a limit stops it) and 'mission' (a mission file: its goals are part\n"
    "of the verdict, and its time ends the run). Each run is a process of its own with\n"
    "--no-wait, and with --max-steps %lld when args gives no step limit; a run still going\n"
    "after %d seconds is ended and fails. A FILE passes a case when its run exits 0 (or 3,\n"
    "reaching a limit, when the case has 'runs-on' or a mission), every goal of a mission is\n"
    "met and everything given matches; a FILE that is a symbolic link or no regular file is\n"
    "not run and fails every case. Prints \"PASS FILE CASE\" or \"FAIL FILE CASE: \" and\n"
    "the first difference for each FILE and case, then how many passed and failed. Output\n"
    "lines are counted from 1 (\"output line 1\"); editor lines from 0, as the editor's gutter\n"
    "shows them (\"editor line 0\"). A line with spaces at its start or end is shown in\n"
    "quotes; other invisible bytes as \\xNN. The summary CSV has the columns file, passed,\n"
    "cases, mission_score (the missions' mean score in per cent), findings and first_failure,\n"
    "its rows in byte order.\n"
    "Exit status 0 when every case passed, 1 when one failed, 2 when grading could not start\n"
    "(bad DIR or case, or a REPORT that is also an input file or the other REPORT), an\n"
    "expect file could no longer be read, or the report could not be written.\n";

bool parse_count(const std::string& text, long long& value) {
    if (text.empty() || text[0] == ' ' || text[0] == '+') return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value >= 0;
}

// Options of a single run, which a grading takes from each case's args file instead.
bool is_run_option(const std::string& a) {
    return a == "--set" || a == "--scenario" || a == "--trace" || a == "--vars" || a == "--state" ||
           a == "--no-wait" || a == "--max-steps" || a == "--timeout" || a == "--sim" ||
           a == "--mission" || a == "--mission-result" || a == "--report" || a == "--replay" ||
           a == "--at";
}

bool takes_value(const std::string& a) {
    return a == "--set" || a == "--scenario" || a == "--trace" || a == "--max-steps" ||
           a == "--timeout" || a == "--grade" || a == "--junit" || a == "-j" || a == "--sim" ||
           a == "--summary" || a == "--mission" || a == "--mission-result" || a == "--report" ||
           a == "--replay" || a == "--at";
}

// Takes the value given after option `a`.
bool take_value(const std::string& a, const std::string& value, RunnerOptions& options,
                std::string& problem) {
    if (a == "--set") {
        Channel channel = Channel::Count;
        int64_t position = 0;
        if (!parse_sensor_setting(value, channel, position)) {
            problem = "bad setting '" + value + "'";
            return false;
        }
        options.settings.emplace_back(channel, position);
    } else if (a == "--max-steps") {
        if (!parse_count(value, options.max_steps)) {
            problem = "bad step count '" + value + "'";
            return false;
        }
    } else if (a == "--timeout") {
        if (!parse_count(value, options.timeout_ms) || options.timeout_ms > INT32_MAX) {
            problem =
                "bad timeout '" + value + "': milliseconds, 0 to " + std::to_string(INT32_MAX);
            return false;
        }
    } else if (a == "--at") {
        if (!parse_count(value, options.at_ms) || options.at_ms > INT32_MAX) {
            problem = "bad moment '" + value + "': milliseconds, 0 to " + std::to_string(INT32_MAX);
            return false;
        }
    } else if (a == "-j") {
        long long jobs = 0;
        if (!parse_count(value, jobs) || jobs < 1 || jobs > MAX_GRADE_JOBS) {
            problem = "bad job count '" + value + "': 1 to " + std::to_string(MAX_GRADE_JOBS);
            return false;
        }
        options.jobs = static_cast<int>(jobs);
    } else {
        if (value.empty()) {
            problem = a + " needs a value";
            return false;
        }
        (a == "--scenario" ? options.scenario
         : a == "--trace"  ? options.trace
         : a == "--grade"  ? options.grade_dir
         : a == "--sim"     ? options.sim
         : a == "--summary" ? options.summary
         : a == "--mission" ? options.mission
         : a == "--mission-result" ? options.mission_result
         : a == "--report"  ? options.report
         : a == "--replay"  ? options.replay
                            : options.junit) = value;
    }
    return true;
}

}  // namespace

bool runner_parse_args(const std::vector<std::string>& args, RunnerOptions& options,
                       std::string& problem) {
    std::string run_option;  // the first option of a single run, for a clash with --grade
    bool grade_option = false;
    bool options_ended = false;  // after "--" every argument is a FILE
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options_ended || a == "-" || a.empty() || a[0] != '-') {
            if (a.empty()) {
                problem = "an empty FILE name";
                return false;
            }
            options.files.push_back(a);
            continue;
        }
        if (a == "--") {
            options_ended = true;
            continue;
        }
        if (a == "--help" || a == "--version") {
            // Asked for on its own terms: the rest of the line does not matter.
            (a == "--help" ? options.help : options.version) = true;
            return true;
        }
        if (a == "--sim" && i + 1 < args.size() && args[i + 1] == "list") {
            options.sim_list = true;
            return true;
        }
        if (is_run_option(a) && run_option.empty()) run_option = a;
        grade_option = grade_option || a == "--junit" || a == "-j" || a == "--summary";
        if (a == "--check") {
            options.check = true;
        } else if (a == "--vars") {
            options.vars = true;
        } else if (a == "--state") {
            options.state = true;
        } else if (a == "--no-wait") {
            options.no_wait = true;
        } else if (takes_value(a)) {
            if (i + 1 >= args.size()) {
                problem = a + " needs a value";
                return false;
            }
            if (!take_value(a, args[++i], options, problem)) return false;
        } else {
            problem = "unknown option '" + a + "'";
            return false;
        }
    }
    if (options.check && (!options.grade_dir.empty() || grade_option)) {
        problem = "--check does not go with --grade, --junit, --summary or -j";
    } else if (options.check && !run_option.empty()) {
        problem = run_option + " does not go with --check: the program does not run";
    } else if (!options.grade_dir.empty() && !run_option.empty()) {
        problem = run_option + " does not go with --grade: a case gives it in its args file";
    } else if (options.grade_dir.empty() && grade_option) {
        problem = "--junit, --summary and -j go with --grade only";
    } else if (options.files.empty()) {
        problem = "no FILE given";
    } else if (options.grade_dir.empty() && options.files.size() > 1) {
        problem = "more than one FILE";
    } else if (!options.mission_result.empty() && options.mission.empty()) {
        problem = "--mission-result goes with --mission only";
    } else if (!options.mission.empty() &&
               (!options.sim.empty() || !options.scenario.empty() || options.timeout_ms >= 0)) {
        problem = std::string(!options.sim.empty()        ? "--sim"
                              : !options.scenario.empty() ? "--scenario"
                                                          : "--timeout") +
                  " does not go with --mission: the mission gives it";
    } else if (options.replay.empty() != (options.at_ms < 0)) {
        problem = options.replay.empty() ? "--at goes with --replay only" : "--replay needs --at MS";
    } else if (!options.replay.empty() &&
               (options.vars || options.state || !options.trace.empty() ||
                !options.report.empty() || !options.mission_result.empty())) {
        problem = std::string(options.vars              ? "--vars"
                              : options.state           ? "--state"
                              : !options.trace.empty()  ? "--trace"
                              : !options.report.empty() ? "--report"
                                                        : "--mission-result") +
                  " does not go with --replay: it prints the machine at MS instead";
    } else if (!options.sim.empty()) {
        for (const auto& [channel, position] : options.settings) {
            if (sim_drives(channel)) {
                const std::string name = info_of(channel).name;
                problem =
                    "--set " + name + " does not go with --sim: the simulation drives " + name;
                break;
            }
        }
    }
    if (!problem.empty()) return false;
    if (options.grade_dir.empty()) {
        options.file = options.files.front();
        options.files.clear();
    }
    return true;
}

namespace {

// Program output. A write that fails ends the run at once: a program printing without end to
// a full disk or a closed pipe would otherwise spin for ever.
struct OutputStream {
    std::FILE* file;
    int error = 0;  // errno of the first write that failed
    MissionWatch* mission = nullptr;  // reads the program's lines for "output contains"

    void write_line(std::string_view line) {
        if (error != 0) return;
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
            std::fputc('\n', file) == EOF) {
            error = errno != 0 ? errno : EIO;
        }
    }
    bool flush() {
        errno = 0;
        if (error == 0 && std::fflush(file) != 0) error = errno != 0 ? errno : EIO;
        return error == 0;
    }
};

void write_line(std::FILE* f, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
}

void output_to_stream(std::string_view line, void* context) {
    auto* stream = static_cast<OutputStream*>(context);
    stream->write_line(line);
    if (stream->mission != nullptr) stream->mission->output_line(line);
    // Output that cannot be written ends the run as END would: nothing after it can arrive.
    if (stream->error != 0) interp.run_stopped = 1;
}

void math_error_to_file(std::string_view text, void* context) {
    auto* f = static_cast<std::FILE*>(context);
    write_line(f, text);
    std::fflush(f);
}

void print_vars(OutputStream& out) {
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        char text[FORMAT_BUFFER_SIZE];
        format_value(var_get(k), text);
        out.write_line(std::string(1, static_cast<char>('A' + k)) + ": " + text);
    }
}

void print_state(OutputStream& out) {
    std::array<int, STATE_LINE_NAMES.size()> values{};
    size_t n = 0;
    for (Channel c : program_channels()) values[n++] = channel_position(c);
    for (int tx : {radio.tx_active ? 1 : 0, radio.tx_column, radio.tx_symbol}) values[n++] = tx;
    for (size_t i = 0; i < values.size(); ++i) {
        out.write_line(std::string(STATE_LINE_NAMES[i]) + "=" + std::to_string(values[i]));
    }
}

// The trace file, written as the run goes: a long run's trace need not fit in memory. A row
// that cannot be written ends the run, as lost output does.
struct TraceFile {
    std::FILE* file = nullptr;
    int error = 0;  // errno of the first failure

    bool open(const std::string& path) {
        errno = 0;
        file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) error = errno != 0 ? errno : EIO;
        return file != nullptr;
    }
    void write_line(const std::string& line) {
        if (error != 0) return;
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
            std::fputc('\n', file) == EOF) {
            error = errno != 0 ? errno : EIO;
            interp.run_stopped = 1;
        }
    }
    // Closes the file; true when every row reached it.
    bool close() {
        if (file == nullptr) return error == 0;
        errno = 0;
        if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
        file = nullptr;
        return error == 0;
    }
};

// What the runner does before each statement: the scenario's events that are due, then a trace
// row when something a row shows has changed.
struct RunWatch {
    int32_t start_ms = 0;  // the program clock when the run started
    const std::vector<ScenarioEvent>* events = nullptr;
    size_t next_event = 0;
    TraceFile* trace = nullptr;
    TraceCheck* check = nullptr;  // --replay: each row is held against the trace's instead
    TraceSnapshot last_row;
    MissionWatch* mission = nullptr;

    int64_t now() const { return int64_t{clock_ms()} - start_ms; }
    bool rows() const { return trace != nullptr || check != nullptr; }
    void row(const TraceSnapshot& s) {
        const std::string text = trace_row(s);
        if (trace != nullptr) trace->write_line(text);
        if (check != nullptr) check->row(text, s.time_ms);
        last_row = s;
    }
};

HookAction before_statement(const char*, int editor_line, void* context) {
    auto* watch = static_cast<RunWatch*>(context);
    const int64_t now = watch->now();
    if (watch->events != nullptr) {
        const std::vector<ScenarioEvent>& events = *watch->events;
        while (watch->next_event < events.size() && events[watch->next_event].time_ms <= now) {
            const ScenarioEvent& e = events[watch->next_event++];
            channel_set(e.channel, e.position);
        }
    }
    if (watch->rows() || watch->mission != nullptr) {
        const TraceSnapshot s = trace_snapshot(now, editor_line);
        if (watch->rows() && trace_state_changed(watch->last_row, s)) watch->row(s);
        if (watch->mission != nullptr) watch->mission->offer(s);
    }
    // A replay that has left its trace shows nothing more: it goes no further.
    return watch->check != nullptr && watch->check->failed() ? HookAction::Hold : HookAction::Go;
}

// The reports of a run: how many, and the first.
struct RunReports {
    long long count = 0;
    RunReport first;

    static void take(const RunReport& report, void* self) {
        auto* reports = static_cast<RunReports*>(self);
        if (reports->count++ == 0) reports->first = report;
    }
};

// Writes `text` as the whole of the file at `path`. Returns 0 or the errno of what failed.
int write_whole_file(const std::string& path, const std::string& text) {
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return errno != 0 ? errno : EIO;
    int error = 0;
    if (std::fwrite(text.data(), 1, text.size(), f) != text.size()) error = errno != 0 ? errno : EIO;
    if (std::fclose(f) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    return error;
}

// --mission-result: the goals' verdicts and the weights, as MISSION_RESULT_HEADER describes.
// Returns 0 or the errno of what failed.
int write_mission_result(const std::string& path, const MissionWatch& watch,
                         const std::vector<std::string>& report_lines) {
    std::string text = std::string(MISSION_RESULT_HEADER) + "\n";
    for (size_t k = 0; k < watch.goal_count(); ++k) text += report_lines[k] + "\n";
    char weights[80];
    std::snprintf(weights, sizeof weights, "weights %.17g %.17g\n", watch.met_weight(),
                  watch.total_weight());
    text += std::string(weights) + "end\n";
    return write_whole_file(path, text);
}

int not_run(std::FILE* err, const std::string& message) {
    std::fprintf(err, "zorvant-run: %s\n", message.c_str());
    return RUNNER_NOT_RUN;
}

// --replay: the run again as the trace's ran, up to the moment asked for and every statement of
// that moment, each row it makes held against the trace's; then the machine there.
int replay_run(RunSession& session, const RunnerOptions& options, const ScenarioRead& scenario,
               TraceCheck& check, const LineList& lines, const ReplayOutput& captured,
               OutputStream& output, std::FILE* err) {
    RunWatch watch;
    watch.start_ms = clock_ms();
    const auto program_clock = [&](long long ms) {
        return static_cast<int32_t>(std::min<int64_t>(int64_t{watch.start_ms} + ms, INT32_MAX));
    };
    const int32_t at = program_clock(options.at_ms);
    std::optional<int32_t> run_limit;
    if (options.timeout_ms >= 0) run_limit = program_clock(options.timeout_ms);
    const bool limit_first = run_limit && *run_limit <= at;
    session.time_limit = limit_first ? *run_limit : at;
    if (!scenario.events.empty()) watch.events = &scenario.events;
    watch.check = &check;
    if (check.header(trace_header(simulation.on))) watch.row(trace_snapshot(0, -1));
    session.hook = before_statement;
    session.hook_context = &watch;
    const auto out_of_steps = [&] {
        return options.max_steps >= 0 && session.steps() >= options.max_steps;
    };
    if (!check.failed() && session.run_to_end() == PassStop::StepLimit && !limit_first &&
        !out_of_steps()) {
        // The clock stands at the moment: what runs at that very moment runs too, up to a
        // statement that has to wait past it.
        session.time_limit = run_limit;
        while (!check.failed() && interp.resume_time <= clock_ms() &&
               session.run(1) == PassStop::Budget) {
        }
    }
    session.follow_simulation();
    const bool ended =
        interp_finished() || out_of_steps() || (run_limit && clock_ms() >= *run_limit);
    if (!check.failed() && ended) watch.row(trace_snapshot(watch.now(), -1));
    check.finish(ended, options.at_ms);
    if (check.verdict() == TraceCheck::Verdict::Unreadable) return not_run(err, check.problem());
    if (check.failed()) {
        std::fprintf(err,
                     "zorvant-run: %s\n"
                     "zorvant-run: a replay needs a trace made with --no-wait or a mission, and "
                     "the options of its run again (--set, --scenario, --sim or --mission, "
                     "--max-steps, --timeout)\n",
                     check.problem().c_str());
        return RUNNER_ERROR;
    }
    ReplayMoment moment;
    moment.rows = check.rows();
    moment.at_ms = options.at_ms;
    moment.now_ms = watch.now();
    moment.ended = ended;
    if (ended && session.last_report().kind != ReportKind::None) {
        moment.stopped = "stopped by an error in";
    } else if (ended && !interp_finished()) {
        moment.stopped = std::string("stopped by the ") + (out_of_steps() ? "step" : "time") +
                         " limit before";
    }
    moment.wait_until_ms = int64_t{interp.resume_time} - watch.start_ms;
    moment.steps = session.steps();
    for (const std::string& line : replay_state_lines(moment, lines, captured)) {
        output.write_line(line);
    }
    return RUNNER_OK;
}

// --sim list: each shipped preset's name, two spaces and its description.
void print_presets(std::FILE* out) {
    for (const ShippedPreset& p : sim_shipped_presets()) {
        std::fprintf(out, "%s  %s\n", p.name, sim_preset_parse(p.text).preset.description.c_str());
    }
}

}  // namespace

bool runner_load_preset(const std::string& value, SimPreset& preset, std::string& problem) {
    std::string text;
    if (const ShippedPreset* shipped = sim_find_shipped(value)) {
        text = shipped->text;
    } else {
        const FileRead file = read_regular_file(value, MAX_SIM_PRESET_BYTES);
        if (!file.ok || file.truncated) {
            problem = "cannot read " + value + ": " +
                      (file.ok ? std::string(REASON_SIM_PRESET_TOO_LARGE) : file.reason) +
                      " (nor is it a shipped preset: see --sim list)";
            return false;
        }
        text = file.bytes;
    }
    const SimPresetRead read = sim_preset_parse(text);
    if (read.error_line != 0) {
        problem = value + ":" + std::to_string(read.error_line) + ": " + read.error;
        return false;
    }
    preset = read.preset;
    return true;
}

std::string runner_sim_scenario_clash(const std::string& scenario_name, const ScenarioRead& read) {
    for (size_t i = 0; i < read.events.size(); ++i) {
        const Channel c = read.events[i].channel;
        if (sim_drives(c)) {
            return scenario_name + ":" + std::to_string(read.event_lines[i]) + ": " +
                   info_of(c).name + " is driven by the simulation (--sim): no event can move it";
        }
    }
    return "";
}

namespace {

// The numbers of a line of the report file after its key: exactly as many as there are `out`.
template <typename T>
bool take_numbers(std::string_view line, std::string_view key, std::initializer_list<T*> out) {
    if (!line.starts_with(key)) return false;
    line.remove_prefix(key.size());
    for (T* value : out) {
        if (!line.starts_with(' ')) return false;
        line.remove_prefix(1);
        const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), *value);
        if (ec != std::errc() || end == line.data()) return false;
        line.remove_prefix(static_cast<size_t>(end - line.data()));
    }
    return line.empty();
}

}  // namespace

std::string runner_report_text(long long count, const RunReport& first) {
    std::string text = std::string(RUN_REPORT_HEADER) + "\nreports " + std::to_string(count) + "\n";
    if (count > 0) {
        char facts[400];
        std::snprintf(facts, sizeof facts,
                      "kind %s\nline %d\nstatement %d %d %d\ntokens %d %d\noperands %.17g %.17g\n"
                      "amount %lld %lld\n",
                      report_kind_name(first.kind), first.line, first.statement_line,
                      first.statement_column, first.statement_offset, first.expected, first.got,
                      first.left, first.right, first.amount, first.limit);
        text += facts;
    }
    return text + "end\n";
}

bool runner_report_parse(std::string_view text, long long& count, RunReport& first) {
    count = 0;
    first = RunReport{};
    RunReport r;
    long long n = 0;
    size_t pos = 0;
    std::string_view line;
    const auto next = [&] { return next_line(text, pos, line); };
    if (!next() || line != RUN_REPORT_HEADER || !next() ||
        !take_numbers<long long>(line, "reports", {&n}) || n < 0) {
        return false;
    }
    if (n > 0) {
        if (!next() || !line.starts_with("kind ") ||
            !report_kind_from_name(line.substr(5), r.kind) || r.kind == ReportKind::None ||
            !next() || !take_numbers<int>(line, "line", {&r.line}) || !next() ||
            !take_numbers<int>(line, "statement",
                               {&r.statement_line, &r.statement_column, &r.statement_offset}) ||
            !next() || !take_numbers<int>(line, "tokens", {&r.expected, &r.got}) || !next() ||
            !take_numbers<double>(line, "operands", {&r.left, &r.right}) || !next() ||
            !take_numbers<long long>(line, "amount", {&r.amount, &r.limit})) {
            return false;
        }
    }
    if (!next() || line != "end" || next()) return false;
    count = n;
    first = r;
    return true;
}

const char* severity_word(Severity severity) {
    return severity == Severity::Warning ? "warning" : "error";
}

std::string severity_counts(size_t errors, size_t warnings) {
    const auto count = [](size_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    if (warnings == 0) return count(errors, "error");
    if (errors == 0) return count(warnings, "warning");
    return count(errors, "error") + ", " + count(warnings, "warning");
}

namespace {

// --check: the findings of the checker, one a line after the file's name and their place.
int check_file(const std::string& name, std::FILE* out, std::FILE* err) {
    const FileRead file = read_regular_file(name, MAX_PROGRAM_FILE_BYTES);
    if (!file.ok || file.truncated) {
        return not_run(err, "cannot read " + name + ": " +
                                (file.ok ? REASON_PROGRAM_FILE_TOO_LARGE : file.reason));
    }
    const BoundedFindings found =
        check_program_bounded(file_bytes_to_text(file.bytes), MAX_REPORTED_FINDINGS);
    OutputStream output{out};
    // As compilers write them, which editors and CI annotators read: lines and columns from 1.
    for (const Finding& f : found.findings) {
        output.write_line(name + ":" + std::to_string(f.line + 1) + ":" +
                          std::to_string(f.column + 1) + ": " + severity_word(f.severity) + ": " +
                          f.message);
    }
    if (found.more > 0) {
        output.write_line(name + ": and " + std::to_string(found.more) + " more (" +
                          severity_counts(found.more - found.more_warnings, found.more_warnings) +
                          ")");
    }
    if (!output.flush()) {
        return not_run(err, "cannot write the output: " + errno_reason(output.error));
    }
    return found.findings.empty() ? RUNNER_OK : RUNNER_ERROR;
}

}  // namespace

int runner_main(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                const char* self) {
    RunnerOptions options;
    std::string problem;
    if (!runner_parse_args(args, options, problem)) {
        std::fprintf(err, "zorvant-run: %s\n", problem.c_str());
        std::fprintf(err, USAGE, sensor_name_list());
        return RUNNER_NOT_RUN;
    }
    if (options.help) {
        std::fprintf(out, USAGE, sensor_name_list());
        std::fprintf(out, HELP, REPLAY_OUTPUT_LINES);
        std::fprintf(out, GRADE_HELP, GRADE_DEFAULT_STEPS, GRADE_CASE_SECONDS);
        return RUNNER_OK;
    }
    if (options.version) {
        std::fprintf(out, "zorvant-run %s\n", ZORVANT_VERSION);
        return RUNNER_OK;
    }
    if (options.sim_list) {
        print_presets(out);
        return RUNNER_OK;
    }
    if (options.check) return check_file(options.file, out, err);
    if (!options.grade_dir.empty()) {
        return grade_main({options.grade_dir, options.junit, options.summary, options.jobs, options.files, self},
                          out, err);
    }
    if (!options.replay.empty()) options.no_wait = true;  // a replay runs on the program clock
    MissionSetup mission;
    if (!options.mission.empty()) {
        MissionSetupProblem mission_problem;
        if (!mission_setup_file(options.mission, mission, mission_problem)) {
            return not_run(err, mission_problem.text(options.mission));
        }
        options.sim = !mission.simulated        ? ""
                      : mission.sim_file.empty() ? mission.mission.sim
                                                 : mission.sim_file;
        options.scenario = mission.scenario_file;
        options.timeout_ms = mission.time_ms;
        options.no_wait = true;
        options.settings.insert(options.settings.begin(), mission.mission.settings.begin(),
                                mission.mission.settings.end());
    }
    // The trace, the mission's result and the report are made empty when they are opened: none
    // may be an input, the files the mission names included, nor another of them.
    const bool sim_file = !options.sim.empty() && sim_find_shipped(options.sim) == nullptr;
    for (const std::string* output : {&options.trace, &options.mission_result, &options.report}) {
        if (output->empty()) continue;
        for (const std::string* input :
             {&options.file, &options.scenario, &options.sim, &options.mission}) {
            if (input == &options.sim && !sim_file) continue;
            if (!input->empty() && same_existing_file(*output, *input)) {
                return not_run(err, *output + " is also an input file");
            }
        }
    }
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--trace", &options.trace},
        {"--mission-result", &options.mission_result},
        {"--report", &options.report}};
    for (size_t i = 0; i < std::size(outputs); ++i) {
        for (size_t j = i + 1; j < std::size(outputs); ++j) {
            const std::string& a = *outputs[i].second;
            const std::string& b = *outputs[j].second;
            if (!a.empty() && !b.empty() && (a == b || same_existing_file(a, b))) {
                return not_run(err, std::string(outputs[i].first) + " and " + outputs[j].first +
                                        " both name " + a);
            }
        }
    }
    FileRead file = read_regular_file(options.file, MAX_PROGRAM_FILE_BYTES);
    if (!file.ok || file.truncated) {
        return not_run(err, "cannot read " + options.file + ": " +
                                (file.ok ? REASON_PROGRAM_FILE_TOO_LARGE : file.reason));
    }
    // A mission's preset and scenario are read already.
    ScenarioRead scenario;
    scenario.events = mission.events;
    if (options.mission.empty() && !options.scenario.empty()) {
        const FileRead events = read_regular_file(options.scenario, MAX_SCENARIO_FILE_BYTES);
        if (!events.ok || events.truncated) {
            return not_run(err, "cannot read " + options.scenario + ": " +
                                    (events.ok ? REASON_SCENARIO_FILE_TOO_LARGE : events.reason));
        }
        scenario = scenario_parse(events.bytes);
        if (scenario.error_line != 0) {
            return not_run(err, options.scenario + ":" + std::to_string(scenario.error_line) +
                                    ": " + scenario.error);
        }
    }
    SimPreset preset = mission.preset;
    if (options.mission.empty() && !options.sim.empty()) {
        if (!runner_load_preset(options.sim, preset, problem)) return not_run(err, problem);
        const std::string clash = runner_sim_scenario_clash(options.scenario, scenario);
        if (!clash.empty()) return not_run(err, clash);
    }
    TraceCheck check;
    if (!options.replay.empty() && !check.open(options.replay)) return not_run(err, check.problem());

    session_reset_machine();
    if (!options.sim.empty()) sim_reset(preset);
    for (const auto& [channel, position] : options.settings) channel_set(channel, position);
    OutputStream output{out};
    VirtualClock virtual_clock;
    RunReports reports;
    RunHost host{output_to_stream, &output, math_error_to_file, err,
                 options.no_wait ? &virtual_clock : nullptr, RunReports::take, &reports};
    ReplayOutput replay_output;
    if (!options.replay.empty()) {
        // A replay shows the output's count and last lines with the machine, and counts the
        // math errors: none of them is printed as it comes.
        host.output = ReplayOutput::take_line;
        host.output_context = &replay_output;
        host.math_error = ReplayOutput::take_math_error;
        host.math_error_context = &replay_output;
    }
    session_install(host);

    RunSession session(options.no_wait ? &virtual_clock : nullptr);
    session.step_limit = options.max_steps;
    const LineList lines = split_line_list(std::move(file.bytes));
    const PreparedProgram prepared = session.start(lines);
    int code = RUNNER_NOT_RUN;
    int result_error = 0;  // errno of a mission result that could not be written
    TraceFile trace;
    if (!prepared.ok) {
        output.write_line(prepared.error);
        reports = {1, prepared.report};
    } else if (!options.trace.empty() && !trace.open(options.trace)) {
        session_uninstall();
        return not_run(err, "cannot write " + options.trace + ": " + errno_reason(trace.error));
    } else if (!options.replay.empty()) {
        code = replay_run(session, options, scenario, check, lines, replay_output, output, err);
    } else {
        RunWatch watch;
        watch.start_ms = clock_ms();
        if (options.timeout_ms >= 0) {
            session.time_limit = static_cast<int32_t>(
                std::min<int64_t>(int64_t{watch.start_ms} + options.timeout_ms, INT32_MAX));
        }
        if (!scenario.events.empty()) watch.events = &scenario.events;
        if (!options.trace.empty()) {
            watch.trace = &trace;
            trace.write_line(trace_header(simulation.on));
            watch.row(trace_snapshot(0, -1));
        }
        std::optional<MissionWatch> mission_watch;
        if (!options.mission.empty()) {
            mission_watch.emplace(mission.mission, preset.station_min_elevation_deg);
            watch.mission = &*mission_watch;
            output.mission = &*mission_watch;
            mission_watch->sample(trace_snapshot(0, -1));
        }
        if (watch.events != nullptr || watch.trace != nullptr || watch.mission != nullptr) {
            session.hook = before_statement;
            session.hook_context = &watch;
        }
        const PassStop stop = session.run_to_end();
        session.follow_simulation();
        if (watch.trace != nullptr) watch.row(trace_snapshot(watch.now(), -1));
        code = stop == PassStop::StepLimit ? RUNNER_STEP_LIMIT
               : interp.error_reported     ? RUNNER_ERROR
                                           : RUNNER_OK;
        if (options.vars) print_vars(output);
        if (options.state) print_state(output);
        if (mission_watch) {
            // The goals' lines come last, after anything the program printed.
            output.mission = nullptr;
            mission_watch->offer(trace_snapshot(watch.now(), -1));
            mission_watch->finish(watch.now());
            const std::vector<std::string> lines = mission_watch->report_lines();
            for (const std::string& line : mission_watch->output_lines()) output.write_line(line);
            code = mission_watch->all_met() ? RUNNER_OK : RUNNER_ERROR;
            if (!options.mission_result.empty()) {
                result_error = write_mission_result(options.mission_result, *mission_watch, lines);
            }
        }
        output.flush();
        std::fprintf(err, "Stop in line: %d\n", current_line());
        // Which limit ended it: a grader tells "ran on for ever" from "took too long" by it.
        if (stop == PassStop::StepLimit) {
            const bool steps =
                options.max_steps >= 0 && session.steps() >= options.max_steps;
            if (!steps && !options.mission.empty()) {
                std::fprintf(err, "zorvant-run: the mission's time is up (%s s)\n",
                             mission_number(mission.mission.time_s).c_str());
            } else {
                std::fprintf(err, "zorvant-run: stopped at the %s limit (%s %lld)\n",
                             steps ? "step" : "time", steps ? "--max-steps" : "--timeout",
                             steps ? options.max_steps : options.timeout_ms);
            }
        }
    }
    session_uninstall();
    // Output that never arrived is no successful run, whatever the program did.
    if (!output.flush()) {
        trace.close();
        return not_run(err, "cannot write the output: " + errno_reason(output.error));
    }
    if (!trace.close()) {
        return not_run(err, "cannot write " + options.trace + ": " + errno_reason(trace.error));
    }
    if (result_error != 0) {
        return not_run(err,
                       "cannot write " + options.mission_result + ": " + errno_reason(result_error));
    }
    if (!options.report.empty()) {
        const int written =
            write_whole_file(options.report, runner_report_text(reports.count, reports.first));
        if (written != 0) {
            return not_run(err, "cannot write " + options.report + ": " + errno_reason(written));
        }
    }
    return code;
}
