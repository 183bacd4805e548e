#include "grade.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

#include "checker.h"
#include "explain.h"
#include "file_access.h"
#include "mission.h"
#include "mission_setup.h"
#include "program_text.h"
#include "runner.h"
#include "scenario.h"
#include "shown_text.h"
#include "sim_preset.h"
#include "simulation.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr size_t MAX_CASE_FILE_BYTES = 16u * 1024 * 1024;
constexpr const char* REASON_CASE_FILE_TOO_LARGE = "It is larger than 16 MiB";
// Of a run's output the grader keeps the beginning, as far as the expected output reaches and
// this much further, and this much of the end, where --vars and --state print. The rest of a
// long output is read and dropped, so a chatty endless loop costs no memory.
constexpr size_t OUTPUT_MARGIN_BYTES = 64 * 1024;
constexpr size_t OUTPUT_TAIL_BYTES = 64 * 1024;
constexpr size_t ERROR_HEAD_BYTES = 4096;
// A mission's result is read whole; a mission file of at most 64 KiB gives far less than this.
constexpr size_t MISSION_RESULT_BYTES = 4u * 1024 * 1024;
// The descriptor on which a run writes its mission's result.
constexpr int MISSION_RESULT_FD = 3;
// The descriptor on which a run writes its report; a few lines.
constexpr int REPORT_FD = 4;
constexpr size_t REPORT_BYTES = 4096;
// Longest piece of a line that a verdict shows.
constexpr size_t MAX_SHOWN_CHARS = 100;
constexpr int VARIABLE_LINES = 26;
constexpr int STATE_LINES = static_cast<int>(std::size(STATE_LINE_NAMES));

using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------------------------------------
// Case folders

struct ExpectedValue {
    std::string name;  // "A".."Z" or a --state name
    std::string value;
    bool variable;
};

struct Case {
    std::string name;
    std::string path;
    std::string shown_path;  // for messages: the folder's name as \xNN where it is no ASCII
    std::vector<std::string> args;
    bool args_vars = false;
    bool args_state = false;
    bool args_no_wait = false;
    bool args_steps = false;
    long long max_steps = -1;   // the step limit of its runs
    long long timeout_ms = -1;  // the time limit its args give; -1: none
    // The program is meant to run until a limit stops it (a controller sampled at a time):
    // reaching the limit is then no failure.
    bool runs_on = false;
    // A mission file in the case folder: its goals are part of the verdict.
    std::string mission;
    size_t mission_goals = 0;
    size_t mission_lines = 0;  // what the run prints of it: goals, their descriptions, the score
    // Files the mission names beside it: a preset file and a scenario; empty: none.
    std::string mission_sim_file;
    std::string mission_scenario;
    std::string scenario;  // its path; empty: none
    std::string sim_file;  // a preset file that args names, beside the case's files; empty: none
    // The expected output is read again for each verdict, not kept: a grading holds one case's
    // at a time, however many cases there are.
    bool has_expect = false;
    size_t expect_bytes = 0;
    std::vector<ExpectedValue> expect_state;
    bool need_vars = false;
    bool need_state = false;
};

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// A name from a folder or the command line as a line shows it: printable ASCII as itself, every
// other byte as \xNN, so that a name can neither steer the terminal nor start a line of its own.
std::string printable_name(std::string_view name) {
    return printable_ascii(name, name.size());
}

// The files a case folder may hold.
constexpr const char* CASE_FILES[] = {"args",         "scenario", "expect",
                                      "expect-state", "runs-on",  "mission"};

// Reads the case's file NAME when it is there: `present` says whether it is. False, with the
// reason in `problem`, when it is there but cannot be read.
bool read_case_file(const Case& c, const char* name, bool& present, std::string& bytes,
                    std::string& problem) {
    const std::string path = c.path + "/" + name;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 && errno == ENOENT) {
        present = false;
        return true;
    }
    present = true;
    FileRead read = read_regular_file(path, MAX_CASE_FILE_BYTES);
    if (!read.ok || read.truncated) {
        problem = "cannot read " + c.shown_path + "/" + name + ": " +
                  (read.ok ? REASON_CASE_FILE_TOO_LARGE : read.reason);
        return false;
    }
    bytes = std::move(read.bytes);
    return true;
}

bool load_args(Case& c, const std::string& bytes, std::string& problem) {
    std::string word;
    for (const char ch : bytes + ' ') {
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f') {
            if (!word.empty()) c.args.push_back(std::move(word));
            word.clear();
        } else {
            word += ch;
        }
    }
    // The runner's own parser decides what is a good option; a case may not name the program,
    // and nothing that writes a file or reads events from outside the case folder.
    std::vector<std::string> probe = c.args;
    probe.push_back("case.bas");
    RunnerOptions o;
    std::string why;
    if (!runner_parse_args(probe, o, why)) {
        problem = c.shown_path + "/args: " + why;
        return false;
    }
    std::string refused;
    if (std::find(c.args.begin(), c.args.end(), "--") != c.args.end()) {
        refused = "-- does not go in a case: the FILE follows the options there";
    } else if (o.help || o.version || !o.grade_dir.empty()) {
        refused = "--help, --version and --grade do not go in a case";
    } else if (!o.scenario.empty()) {
        refused = "--scenario does not go in a case: its events go in the case's scenario file";
    } else if (!o.trace.empty()) {
        refused = "--trace does not go in a case: the runs of all files would write one file";
    } else if (!o.mission_result.empty()) {
        refused = "--mission-result does not go in a case: the grader reads each run's result";
    } else if (!o.report.empty()) {
        refused = "--report does not go in a case: the grader reads each run's report";
    } else if (!o.replay.empty()) {
        refused = "--replay does not go in a case: the grader judges a run's output";
    } else if (o.sim_list) {
        refused = "--sim list does not go in a case";
    }
    if (!refused.empty()) {
        problem = c.shown_path + "/args: " + refused;
        return false;
    }
    if (!o.sim.empty()) {
        // A preset file named in args lies in the case folder, as the scenario does; a shipped
        // preset is named as it is.
        if (sim_find_shipped(o.sim) == nullptr) {
            c.sim_file = o.sim.front() == '/' ? o.sim : c.path + "/" + o.sim;
            // The last --sim is the one that counts, as on a command line.
            for (size_t i = c.args.size(); i-- > 1;) {
                if (c.args[i - 1] == "--sim") {
                    c.args[i] = c.sim_file;
                    break;
                }
            }
        }
        SimPreset preset;
        if (!runner_load_preset(c.sim_file.empty() ? o.sim : c.sim_file, preset, why)) {
            problem = c.shown_path + "/args: " + why;
            return false;
        }
    }
    c.args_vars = o.vars;
    c.args_state = o.state;
    c.args_no_wait = o.no_wait;
    c.args_steps = o.max_steps >= 0;
    c.max_steps = o.max_steps;
    c.timeout_ms = o.timeout_ms;
    return true;
}

bool load_expect_state(Case& c, const std::string& bytes, std::string& problem) {
    size_t pos = 0;
    std::string_view line;
    for (size_t i = 0; next_line(bytes, pos, line); ++i) {
        const std::string_view t = trim(line);
        if (t.empty()) continue;
        ExpectedValue v;
        if (t.size() >= 2 && t[0] >= 'A' && t[0] <= 'Z' && t[1] == ':') {
            v = {std::string(1, t[0]), std::string(trim(t.substr(2))), true};
        } else if (const size_t eq = t.find('='); eq != std::string_view::npos) {
            v = {std::string(trim(t.substr(0, eq))), std::string(trim(t.substr(eq + 1))), false};
            if (std::find_if(std::begin(STATE_LINE_NAMES), std::end(STATE_LINE_NAMES),
                             [&](const char* n) { return v.name == n; }) ==
                std::end(STATE_LINE_NAMES)) {
                v.name.clear();
            }
        }
        if (v.name.empty() || v.value.empty()) {
            problem = c.shown_path + "/expect-state:" + std::to_string(i + 1) +
                      ": not a line of --vars or --state, such as \"A: 0.5\" or \"tb_coix=20\"";
            return false;
        }
        (v.variable ? c.need_vars : c.need_state) = true;
        c.expect_state.push_back(std::move(v));
    }
    return true;
}

bool load_case(Case& c, std::string& problem) {
    bool present = false;
    std::string bytes;
    if (!read_case_file(c, "args", present, bytes, problem)) return false;
    if (present && !load_args(c, bytes, problem)) return false;
    if (!c.args_steps) c.max_steps = GRADE_DEFAULT_STEPS;
    if (!read_case_file(c, "runs-on", c.runs_on, bytes, problem)) return false;

    if (!read_case_file(c, "scenario", present, bytes, problem)) return false;
    if (present) {
        // Checked here once, so that a bad line stops the grading instead of failing every run.
        const ScenarioRead read = scenario_parse(bytes);
        if (read.error_line != 0) {
            problem =
                c.shown_path + "/scenario:" + std::to_string(read.error_line) + ": " + read.error;
            return false;
        }
        const bool simulated = std::find(c.args.begin(), c.args.end(), "--sim") != c.args.end();
        const std::string clash =
            simulated ? runner_sim_scenario_clash(c.shown_path + "/scenario", read) : "";
        if (!clash.empty()) {
            problem = clash;
            return false;
        }
        c.scenario = c.path + "/scenario";
    }

    if (!read_case_file(c, "mission", present, bytes, problem)) return false;
    if (present) {
        // The mission is set up here as the runner will set it up, so that what would stop
        // every run of the case stops the grading instead.
        MissionSetup setup;
        MissionSetupProblem why;
        if (!mission_setup(c.path + "/mission", bytes, setup, why)) {
            const std::string shown = c.shown_path + "/mission";
            problem = why.file.empty() ? why.text(shown)
                                       : shown + ": " + printable_name(why.text(""));
            return false;
        }
        for (const char* option : {"--sim", "--timeout"}) {
            if (std::find(c.args.begin(), c.args.end(), option) != c.args.end()) {
                problem = c.shown_path + "/args: " + option +
                          " does not go with a mission: the mission gives it";
                return false;
            }
        }
        if (!c.scenario.empty()) {
            problem = c.shown_path + ": a case with a mission takes its scenario from the mission";
            return false;
        }
        c.mission_sim_file = setup.sim_file;
        c.mission_scenario = setup.scenario_file;
        c.mission = c.path + "/mission";
        c.mission_goals = setup.mission.goals.size();
        c.mission_lines = mission_output_line_count(setup.mission);
        // The mission's time ends the run: reaching it is no failure.
        c.runs_on = true;
    }

    // Read here only to know that it can be, and how long it is.
    if (!read_case_file(c, "expect", c.has_expect, bytes, problem)) return false;
    c.expect_bytes = c.has_expect ? bytes.size() : 0;
    bool has_state = false;
    if (!read_case_file(c, "expect-state", has_state, bytes, problem)) return false;
    if (has_state && !load_expect_state(c, bytes, problem)) return false;
    if (!c.has_expect && !has_state && c.mission.empty()) {
        problem = c.shown_path + ": holds neither expect, expect-state nor mission";
        return false;
    }
    return true;
}

// The expected output of a case, read again for a verdict.
bool read_expect(const Case& c, std::string& bytes, std::string& problem) {
    bool present = false;
    if (!read_case_file(c, "expect", present, bytes, problem)) return false;
    if (!present) problem = "cannot read " + c.shown_path + "/expect: " + errno_reason(ENOENT);
    return present;
}

bool load_cases(const std::string& dir, std::vector<Case>& cases, std::string& problem) {
    std::error_code ec;
    std::vector<std::string> names;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code status_ec;
        if (name.empty() || name[0] == '.' || !it->is_directory(status_ec)) continue;
        names.push_back(name);
    }
    if (ec) {
        problem = "cannot read " + dir + ": " + ec.message();
        return false;
    }
    if (names.empty()) {
        problem = dir + " holds no case folders";
        return false;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        Case c;
        c.name = name;
        c.path = dir + (dir.back() == '/' ? "" : "/") + name;
        c.shown_path = dir + (dir.back() == '/' ? "" : "/") + printable_name(name);
        if (!load_case(c, problem)) return false;
        cases.push_back(std::move(c));
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// A run's output as the grader keeps it

struct Capture {
    size_t head_limit = 0;
    size_t tail_limit = 0;
    std::string head;
    std::string tail;
    uint64_t total = 0;
    uint64_t newlines = 0;

    void add(const char* p, size_t n) {
        total += n;
        newlines += static_cast<uint64_t>(std::count(p, p + n, '\n'));
        const size_t h = std::min(n, head_limit - head.size());
        head.append(p, h);
        if (n > h && tail_limit > 0) {
            tail.append(p + h, n - h);
            if (tail.size() > 2 * tail_limit) tail.erase(0, tail.size() - tail_limit);
        }
    }
    bool complete() const { return total == head.size() + tail.size(); }
};

std::vector<std::string> split_at_newlines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string_view::npos; start = nl + 1) {
        lines.emplace_back(text.substr(start, nl - start));
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

// Lines read in place, without a table of where each begins: the line last asked for is kept in
// mind, and the next one is found from there. Asked for in order, the lines cost one pass over
// the text and no memory, however many there are.
class LinePiece {
   public:
    explicit LinePiece(std::string_view text = {}) : text_(text) {
        size_ = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) +
                (text.empty() || text.back() == '\n' ? 0 : 1);
    }
    size_t size() const { return size_; }
    // Line `i`, below size().
    std::string_view operator[](size_t i) const {
        for (; at_ < i; ++at_) at_start_ = text_.find('\n', at_start_) + 1;
        // Back over the break that ends the line before, to the break before that one.
        for (; at_ > i; --at_)
            at_start_ = at_start_ >= 2 ? text_.rfind('\n', at_start_ - 2) + 1 : 0;
        return text_.substr(at_start_, text_.find('\n', at_start_) - at_start_);
    }

   private:
    std::string_view text_;
    size_t size_ = 0;
    mutable size_t at_ = 0;        // the line last asked for
    mutable size_t at_start_ = 0;  // where it begins
};

// The lines of a run's output: all of them, or those of its beginning and its end. It reads
// them where the capture holds them, which must outlive it.
struct OutputLines {
    LinePiece head;
    LinePiece tail;
    uint64_t count = 0;

    explicit OutputLines(const Capture& c) {
        if (c.complete()) {
            if (!c.tail.empty()) joined_ = c.head + c.tail;
            head = LinePiece(c.tail.empty() ? std::string_view(c.head) : joined_);
            count = head.size();
            return;
        }
        // Only whole lines: the last piece of the beginning and the first of the end are cut.
        head = LinePiece(std::string_view(c.head).substr(0, c.head.rfind('\n') + 1));
        const size_t first = c.tail.find('\n');
        tail = LinePiece(first == std::string::npos ? std::string_view()
                                                    : std::string_view(c.tail).substr(first + 1));
        count = c.newlines + (c.tail.empty() || c.tail.back() == '\n' ? 0 : 1);
    }
    OutputLines(const OutputLines&) = delete;
    OutputLines& operator=(const OutputLines&) = delete;

    std::optional<std::string_view> at(uint64_t i) const {
        if (i < head.size()) return head[i];
        if (i < count && i >= count - tail.size()) return tail[i - (count - tail.size())];
        return std::nullopt;
    }

   private:
    std::string joined_;
};

// A line of output in a verdict: printable ASCII as itself, every other byte as \xNN, so that
// a program cannot send control sequences to the teacher's terminal or break the report.
// Spaces at a line's start or end cannot be seen: such a line is shown in quotes, with them
// counted.
std::string shown(std::string_view line) {
    if (line.empty()) return "an empty line";
    const size_t first = line.find_first_not_of(' ');
    const auto spaces = [](size_t n) { return std::to_string(n) + (n == 1 ? " space" : " spaces"); };
    if (first == std::string_view::npos) return "a line of " + spaces(line.size());
    const size_t lead = first;
    const size_t trail = line.size() - 1 - line.find_last_not_of(' ');
    std::string text = printable_ascii(line, MAX_SHOWN_CHARS);
    if (lead == 0 && trail == 0) return text;
    std::string counted;
    if (lead > 0) counted = spaces(lead) + " at the start";
    if (trail > 0) counted += (counted.empty() ? "" : " and ") + spaces(trail) + " at the end";
    return "\"" + text + "\" (" + counted + ")";
}

// 10000000 as "10,000,000".
std::string grouped(long long n) {
    std::string digits = std::to_string(n);
    for (size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
    return digits;
}

constexpr const char* END_OF_OUTPUT = "the end of the output";

// ---------------------------------------------------------------------------------------------
// Verdicts

struct Verdict {
    bool pass = false;
    std::string words;   // the first difference, when failed
    std::string output;  // what the run printed, shortened, when failed
    // The mission's score: the weight of the goals met over that of all goals; -1: no mission,
    // or the run gave no result.
    double mission_score = -1;
};

struct Finished {
    bool timed_out = false;
    int status = 0;
    Capture out;
    Capture err;
    Capture result;  // the mission's result, when the case has a mission
    Capture report;  // the run's report, as RUN_REPORT_HEADER describes it
};

// Why a run that did not end well ended: the runner's own complaint, else the run's report
// (read from its report, never from its output, where a program can print anything), else the
// first line of its errors.
// The cause of a report as the window words it. The statement is quoted from the program's
// file: its line, from where the statement began, stands in for the program text.
std::string report_cause(const RunReport& first, const std::string& file) {
    if (first.statement_line < 0 || first.statement_column < 0) return explain_cause(first, "");
    const FileRead read = read_regular_file(file, MAX_PROGRAM_FILE_BYTES);
    if (!read.ok || read.truncated) return explain_cause(first, "");
    const std::vector<std::string> lines = split_lines(read.bytes);
    const auto at = static_cast<size_t>(first.statement_line);
    if (at >= lines.size() || static_cast<size_t>(first.statement_column) > lines[at].size()) {
        return explain_cause(first, "");
    }
    RunReport in_line = first;
    in_line.statement_offset = first.statement_column;
    in_line.fault_offset = -1;
    return explain_cause(in_line, lines[at] + ":");
}

std::string exit_reason(const Capture& report, const Capture& err, const std::string& file) {
    const std::vector<std::string> err_lines = split_at_newlines(err.head);
    const std::string_view prefix = "zorvant-run: ";
    for (const std::string& line : err_lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) return shown(line.substr(prefix.size()));
    }
    long long count = 0;
    RunReport first;
    if (report.complete() && runner_report_parse(report.head, count, first) && count > 0) {
        // The cause in the window's words, and the report's own lines beside it for whoever
        // knows them. A report of a program that did not start says what it is in its cause.
        const ReportLines lines = report_lines(first);
        std::string raw;
        for (int i = 0; i < lines.count; ++i) raw += (i > 0 ? ", " : "") + shown(lines[i]);
        const std::string cause = shown(report_cause(first, file)) + " (" + raw + ")";
        return first.statement_line < 0 ? cause : shown(report_message(first)) + ": " + cause;
    }
    return err_lines.empty() ? std::string() : shown(err_lines.front());
}

// Where the lines of --vars and --state begin: they close the output, in this order.
struct EndLines {
    uint64_t vars_start;
    uint64_t state_start;
};

// The first line where the output differs from the expected output, in words; empty when none
// does. Lines that only the grader asked for (`removed`) are not part of the output.
std::string output_difference(std::string_view expect, const OutputLines& out,
                              const std::vector<std::pair<uint64_t, uint64_t>>& removed) {
    uint64_t visible = out.count;
    for (const auto& [start, size] : removed) visible -= size;
    const auto line = [&](uint64_t i) {
        for (const auto& [start, size] : removed) {
            if (i >= start) i += size;
        }
        return out.at(i);
    };
    size_t pos = 0;
    std::string_view wanted;
    for (uint64_t i = 0;; ++i) {
        const bool more_expected = next_line(expect, pos, wanted);
        const auto where = [i] {
            return "output line " + std::to_string(i + 1) + " (from 1): ";
        };
        if (i == visible) {
            if (!more_expected) return {};
            return where() + "got " + END_OF_OUTPUT + ", expected " + shown(wanted);
        }
        const std::optional<std::string_view> got = line(i);
        if (!more_expected) {
            return where() + "got " + (got ? shown(*got) : "more") + ", expected " + END_OF_OUTPUT;
        }
        if (!got) return where() + "too far into a long output to compare";
        if (*got != wanted) {
            return where() + "got " + shown(*got) + ", expected " + shown(wanted);
        }
    }
}

// The first line of expect-state that the run's variables or state do not match, in words;
// empty when all do.
std::string state_difference(const Case& c, const OutputLines& out, const EndLines& end) {
    for (const ExpectedValue& v : c.expect_state) {
        // "A: 0.5" or "tb_coix=20": the value follows the name and two characters or one.
        uint64_t index = 0;
        size_t skip = 0;
        if (v.variable) {
            index = end.vars_start + static_cast<uint64_t>(v.name[0] - 'A');
            skip = 3;
        } else {
            const auto name = std::find(std::begin(STATE_LINE_NAMES), std::end(STATE_LINE_NAMES),
                                        std::string_view(v.name));
            index = end.state_start + static_cast<uint64_t>(name - std::begin(STATE_LINE_NAMES));
            skip = v.name.size() + 1;
        }
        const std::optional<std::string_view> line = out.at(index);
        const std::string_view got =
            line && line->size() >= skip ? line->substr(skip) : std::string_view();
        if (got != v.value) {
            return (v.variable ? "variable " : "state ") + v.name + ": got " + shown(got) +
                   ", expected " + shown(v.value);
        }
    }
    return {};
}

// `expect`: the bytes of the case's expect file, when it has one.
// What a run printed, for a report of its failure: its beginning and its end, at most a few
// kilobytes, in the bytes the program wrote.
std::string output_excerpt(const Capture& out) {
    constexpr size_t HEAD = 8 * 1024;
    constexpr size_t TAIL = 2 * 1024;
    const auto left_out = [](uint64_t n) {
        return "\n[... " + grouped(static_cast<long long>(n)) + " bytes left out ...]\n";
    };
    if (out.complete()) {
        const std::string all = out.head + out.tail;
        if (all.size() <= HEAD + TAIL) return all;
        return all.substr(0, HEAD) + left_out(all.size() - HEAD - TAIL) +
               all.substr(all.size() - TAIL);
    }
    // The capture dropped the middle: its beginning and its end are not next to each other.
    const std::string first = out.head.substr(0, HEAD);
    const std::string last = out.tail.substr(out.tail.size() - std::min(TAIL, out.tail.size()));
    return first + left_out(out.total - first.size() - last.size()) + last;
}

// The limit a run reached, in words, from the line the runner ends it with.
std::string limit_reached(const Case& c, const Capture& err) {
    if (err.head.find("zorvant-run: stopped at the time limit") != std::string::npos) {
        return grouped(c.timeout_ms) + " ms";
    }
    return grouped(c.max_steps) + " steps";
}

struct MissionResult {
    std::string first_missed;  // "goal: figure" of the first goal missed; empty: all were met
    double met_weight = 0;
    double total_weight = 0;
};

// A run's mission result, as MISSION_RESULT_HEADER describes it; nothing when it is cut short,
// malformed or holds another number of goals.
std::optional<MissionResult> read_mission_result(const Capture& bytes, size_t goals) {
    if (!bytes.complete()) return std::nullopt;
    MissionResult r;
    size_t pos = 0;
    std::string_view line;
    if (!next_line(bytes.head, pos, line) || line != MISSION_RESULT_HEADER) return std::nullopt;
    for (size_t k = 0; k < goals; ++k) {
        if (!next_line(bytes.head, pos, line)) return std::nullopt;
        if (line.starts_with("MISSED ")) {
            if (r.first_missed.empty()) r.first_missed = line.substr(7);
            if (r.first_missed.empty()) return std::nullopt;
        } else if (!line.starts_with("MET ")) {
            return std::nullopt;
        }
    }
    if (!next_line(bytes.head, pos, line) || !line.starts_with("weights ")) return std::nullopt;
    const std::string weights(line.substr(8));
    char* end = nullptr;
    r.met_weight = std::strtod(weights.c_str(), &end);
    const char* second = end;
    r.total_weight = std::strtod(second, &end);
    if (second == weights.c_str() || *second != ' ' || end == second || *end != '\0' ||
        !(r.total_weight > 0) || !(r.met_weight >= 0) || r.met_weight > r.total_weight) {
        return std::nullopt;
    }
    if (!next_line(bytes.head, pos, line) || line != "end" || next_line(bytes.head, pos, line)) {
        return std::nullopt;
    }
    return r;
}

Verdict judge_run(const Case& c, const std::string& file, std::string_view expect,
                  bool vars_added, bool state_added, const Finished& run) {
    if (run.timed_out) {
        return {false,
                "did not end within " + std::to_string(GRADE_CASE_SECONDS) +
                    " seconds: the run was ended",
                {}};
    }
    const OutputLines out(run.out);
    if (WIFSIGNALED(run.status)) {
        const int sig = WTERMSIG(run.status);
        return {false, "ended by signal " + std::to_string(sig) + " (" + strsignal(sig) + ")", {}};
    }
    const int code = WEXITSTATUS(run.status);
    // With a mission, exit 1 may only say that a goal was missed: the goals' lines tell.
    const bool mission = c.mission_goals > 0;
    if (code != RUNNER_OK && code != RUNNER_STEP_LIMIT && !(mission && code == RUNNER_ERROR)) {
        const std::string reason = exit_reason(run.report, run.err, file);
        return {false, "exit " + std::to_string(code) + (reason.empty() ? "" : ": " + reason),
                {}};
    }
    // An endless loop after the right output is no answer, unless the case samples a program
    // that is meant to run on.
    if (code == RUNNER_STEP_LIMIT && !c.runs_on) {
        return {false, "did not end within " + limit_reached(c, run.err), {}};
    }

    const uint64_t vars_lines = c.args_vars || c.need_vars ? VARIABLE_LINES : 0;
    const uint64_t state_lines = c.args_state || c.need_state ? STATE_LINES : 0;
    const uint64_t mission_lines = mission ? c.mission_lines : 0;
    if (out.count < vars_lines + state_lines + mission_lines) {
        return {false, "the run printed no variables or state", {}};
    }
    EndLines end;
    const uint64_t mission_start = out.count - mission_lines;
    end.state_start = mission_start - state_lines;
    end.vars_start = end.state_start - vars_lines;
    std::vector<std::pair<uint64_t, uint64_t>> removed;
    if (vars_added) removed.emplace_back(end.vars_start, vars_lines);
    if (state_added) removed.emplace_back(end.state_start, state_lines);
    if (mission) removed.emplace_back(mission_start, mission_lines);

    std::string words = c.has_expect ? output_difference(expect, out, removed) : "";
    if (words.empty()) words = state_difference(c, out, end);
    Verdict v{words.empty(), words, {}};
    if (!mission) return v;
    // The goals' verdicts come from the run's mission result, never from its output: a goal
    // only counts as met when the result says so.
    const std::optional<MissionResult> result = read_mission_result(run.result, c.mission_goals);
    if (!result) {
        if (v.pass) v = {false, "the run gave no complete mission result", {}};
        return v;
    }
    v.mission_score = result->met_weight / result->total_weight;
    if (v.pass && !result->first_missed.empty()) {
        v.pass = false;
        v.words = "mission goal missed: " + shown(result->first_missed);
    }
    return v;
}

Verdict judge(const Case& c, const std::string& file, std::string_view expect, bool vars_added,
              bool state_added, const Finished& run) {
    Verdict v = judge_run(c, file, expect, vars_added, state_added, run);
    if (!v.pass) v.output = output_excerpt(run.out);
    return v;
}

// ---------------------------------------------------------------------------------------------
// Runs

struct Job {
    size_t file;
    size_t case_index;
};

struct Child {
    size_t job;
    pid_t pid = -1;
    int out_fd = -1;
    int err_fd = -1;
    int result_fd = -1;  // the mission's result; -1: none, or read to its end
    int report_fd = -1;  // the run's report; -1: read to its end
    Clock::time_point deadline;
    bool vars_added = false;
    bool state_added = false;
    Finished run;
};

int default_jobs() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int>(n) : 1;
}

// Starts the runner on one file and case, its output and errors into pipes. Returns 0 or the
// errno of what failed.
int spawn_run(const GradeOptions& options, const std::string& shown_name, const std::string& file,
              const Case& c, Child& child) {
    std::vector<std::string> args{shown_name};
    args.insert(args.end(), c.args.begin(), c.args.end());
    if (!c.args_no_wait) args.push_back("--no-wait");
    if (!c.args_steps) {
        args.push_back("--max-steps");
        args.push_back(std::to_string(GRADE_DEFAULT_STEPS));
    }
    if (!c.scenario.empty()) {
        args.push_back("--scenario");
        args.push_back(c.scenario);
    }
    if (!c.mission.empty()) {
        args.push_back("--mission");
        args.push_back(c.mission);
        args.push_back("--mission-result");
        args.push_back("/dev/fd/" + std::to_string(MISSION_RESULT_FD));
    }
    args.push_back("--report");
    args.push_back("/dev/fd/" + std::to_string(REPORT_FD));
    child.vars_added = c.need_vars && !c.args_vars;
    child.state_added = c.need_state && !c.args_state;
    if (child.vars_added) args.push_back("--vars");
    if (child.state_added) args.push_back("--state");
    args.push_back("--");  // a file named "-x.bas" is a file all the same
    args.push_back(file);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    // Standard output, standard error, the mission's result (with a mission) and the report.
    // The pipes are made in this order, so the write ends of the result and the report are
    // never MISSION_RESULT_FD or REPORT_FD themselves (a dup2 onto itself would leave it closed
    // on exec), nor the one dup2'd over before it is dup2'd away.
    int pipes[4][2] = {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}};
    const bool with_result = !c.mission.empty();
    const auto close_all = [&] {
        for (auto& p : pipes) {
            for (int& fd : p) {
                if (fd >= 0) close(fd);
                fd = -1;
            }
        }
    };
    for (int i = 0; i < 4; ++i) {
        if (i == 2 && !with_result) continue;
        if (pipe2(pipes[i], O_CLOEXEC) != 0) {
            const int e = errno;
            close_all();
            return e;
        }
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipes[0][1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipes[1][1], 2);
    if (with_result) posix_spawn_file_actions_adddup2(&actions, pipes[2][1], MISSION_RESULT_FD);
    posix_spawn_file_actions_adddup2(&actions, pipes[3][1], REPORT_FD);
    const int e = posix_spawn(&child.pid, options.runner, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    for (auto& p : pipes) {
        if (p[1] >= 0) close(p[1]);
        p[1] = -1;
    }
    if (e != 0) {
        close_all();
        return e;
    }
    child.out_fd = pipes[0][0];
    child.err_fd = pipes[1][0];
    child.result_fd = pipes[2][0];
    child.report_fd = pipes[3][0];
    for (const int fd : {child.out_fd, child.err_fd, child.result_fd, child.report_fd}) {
        if (fd >= 0) fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    child.deadline = Clock::now() + std::chrono::seconds(GRADE_CASE_SECONDS);
    child.run.out.head_limit = c.has_expect ? c.expect_bytes + OUTPUT_MARGIN_BYTES : 0;
    child.run.out.tail_limit = OUTPUT_TAIL_BYTES;
    child.run.err.head_limit = ERROR_HEAD_BYTES;
    child.run.result.head_limit = MISSION_RESULT_BYTES;
    child.run.report.head_limit = REPORT_BYTES;
    return 0;
}

// Reads what the pipe holds; closes it at its end.
void drain(int& fd, Capture& capture) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            capture.add(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        close(fd);
        fd = -1;
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// JUnit report

// Text for an XML attribute or element: markup characters as entities; UTF-8 kept; control
// characters and bytes that are no UTF-8 as \xNN, since XML cannot hold them at all.
// `keep_lines`: an element's text of many lines keeps its line breaks and tabs.
std::string xml_text(std::string_view s, bool keep_lines = false) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (keep_lines && (c == '\n' || c == '\t')) {
            out += static_cast<char>(c);
            continue;
        }
        switch (c) {
            case '&':
                out += "&amp;";
                continue;
            case '<':
                out += "&lt;";
                continue;
            case '>':
                out += "&gt;";
                continue;
            case '"':
                out += "&quot;";
                continue;
            case '\'':
                out += "&apos;";
                continue;
            default:
                break;
        }
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
            continue;
        }
        // A whole UTF-8 sequence: a lead byte and its continuation bytes, no overlong form.
        const int length = c >= 0xC2 && c <= 0xDF   ? 2
                           : c >= 0xE0 && c <= 0xEF ? 3
                           : c >= 0xF0 && c <= 0xF4 ? 4
                                                    : 0;
        bool whole = length > 0 && i + length <= s.size();
        for (int k = 1; whole && k < length; ++k) {
            whole = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        }
        if (whole && length == 3) {
            // Neither a surrogate nor U+FFFE or U+FFFF: XML has no such characters.
            const unsigned char c1 = static_cast<unsigned char>(s[i + 1]);
            const unsigned char c2 = static_cast<unsigned char>(s[i + 2]);
            whole = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0) &&
                    !(c == 0xEF && c1 == 0xBF && c2 >= 0xBE);
        } else if (whole && length == 4) {
            const unsigned char c1 = static_cast<unsigned char>(s[i + 1]);
            whole = !(c == 0xF0 && c1 < 0x90) && !(c == 0xF4 && c1 >= 0x90);
        }
        if (whole) {
            out.append(s.substr(i, static_cast<size_t>(length)));
            i += static_cast<size_t>(length) - 1;
        } else {
            out += shown(std::string_view(s.substr(i, 1)));
        }
    }
    return out;
}

// True when both name one file, an existing one through links, or one yet to be made.
bool same_path(const std::string& a, const std::string& b) {
    if (same_existing_file(a, b)) return true;
    std::error_code ea;
    std::error_code eb;
    // Absolute first: of a relative path with no part that exists, the canonical form would
    // stay relative.
    const fs::path pa = fs::weakly_canonical(fs::absolute(a, ea), ea);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b, eb), eb);
    return a == b || (!ea && !eb && pa == pb);
}

// The checker's first findings in a program file and how many more there are; nothing when it
// cannot be read (its runs say why). However many a file holds, the reports stay small.
std::optional<BoundedFindings> findings_in(const std::string& file) {
    const FileRead read = read_regular_file(file, MAX_PROGRAM_FILE_BYTES);
    if (!read.ok || read.truncated) return std::nullopt;
    return check_program_bounded(file_bytes_to_text(read.bytes), MAX_REPORTED_FINDINGS);
}

// Under a failed case, what the checker sees in the program: often the reason in plain words.
std::string findings_text(const std::string& file, const BoundedFindings& found) {
    std::string text = "The checker's findings in " + printable_name(file) +
                       " (editor lines and columns, from 0):\n";
    for (const Finding& f : found.findings) {
        text += std::to_string(f.line) + ":" + std::to_string(f.column) + ": " +
                severity_word(f.severity) + ": " + f.message + "\n";
    }
    if (found.more > 0) {
        text += "and " + std::to_string(found.more) + " more (" +
                severity_counts(found.more - found.more_warnings, found.more_warnings) + ")\n";
    }
    return text;
}

// The checker's findings in each file, read once for both reports.
using FileFindings = std::vector<std::optional<BoundedFindings>>;

std::string junit_report(const GradeOptions& options, const std::vector<Case>& cases,
                         const std::vector<std::optional<Verdict>>& verdicts,
                         const FileFindings& found_in) {
    size_t failures = 0;
    for (const auto& v : verdicts) failures += v->pass ? 0 : 1;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites name=\"zorvant-run --grade\" tests=\"" + std::to_string(verdicts.size()) +
           "\" failures=\"" + std::to_string(failures) + "\">\n";
    for (size_t f = 0; f < options.files.size(); ++f) {
        const std::string file = xml_text(options.files[f]);
        size_t failed = 0;
        for (size_t k = 0; k < cases.size(); ++k)
            failed += verdicts[f * cases.size() + k]->pass ? 0 : 1;
        xml += "  <testsuite name=\"" + file + "\" tests=\"" + std::to_string(cases.size()) +
               "\" failures=\"" + std::to_string(failed) + "\">\n";
        std::string findings;
        const auto& found = found_in[f];
        if (failed > 0 && found && !found->findings.empty()) {
            findings = findings_text(options.files[f], *found);
        }
        for (size_t k = 0; k < cases.size(); ++k) {
            const Verdict& v = *verdicts[f * cases.size() + k];
            xml +=
                "    <testcase classname=\"" + file + "\" name=\"" + xml_text(cases[k].name) + "\"";
            if (v.pass) {
                xml += "/>\n";
            } else {
                const std::string words = xml_text(v.words);
                xml += ">\n      <failure message=\"" + words + "\">" + words + "</failure>\n";
                if (!v.output.empty()) {
                    xml += "      <system-out>" + xml_text(v.output, true) + "</system-out>\n";
                }
                if (!findings.empty()) {
                    xml += "      <system-err>" + xml_text(findings, true) + "</system-err>\n";
                }
                xml += "    </testcase>\n";
            }
        }
        xml += "  </testsuite>\n";
    }
    xml += "</testsuites>\n";
    return xml;
}

// One field of a CSV row: in quotes, with quotes doubled, when it holds a comma or a quote. A
// field that a spreadsheet would take for a formula (one starting with =, +, -, @, a tab or a
// carriage return) gets a single quote in front, and quotes around it.
std::string csv_field(const std::string& text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string::npos;
    if (!formula && text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = formula ? "\"'" : "\"";
    for (const char ch : text) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

// One row per file: its name, cases passed, cases, the checker's findings, the first failure,
// then the findings' errors and warnings. The rows are in byte order, so that summaries of
// parts of a class merged by sorting their rows equal the summary of the whole class. Every
// field is one line of printable ASCII.
std::string summary_csv(const GradeOptions& options, const std::vector<Case>& cases,
                        const std::vector<std::optional<Verdict>>& verdicts,
                        const FileFindings& found_in) {
    std::vector<std::string> rows;
    for (size_t f = 0; f < options.files.size(); ++f) {
        size_t passed = 0;
        std::string first_failure;
        int mission_cases = 0;
        double mission_scores = 0;
        for (size_t k = 0; k < cases.size(); ++k) {
            const Verdict& v = *verdicts[f * cases.size() + k];
            passed += v.pass ? 1 : 0;
            if (!cases[k].mission.empty()) {
                ++mission_cases;
                mission_scores += std::max(v.mission_score, 0.0);
            }
            if (!v.pass && first_failure.empty()) {
                first_failure = printable_name(cases[k].name) + ": " + v.words;
            }
        }
        // The missions' mean score in per cent, rounded; empty when no case has a mission. 100
        // only when every goal of every mission was met, 0 only when none was.
        std::string score;
        if (mission_cases > 0) {
            const double mean = 100 * mission_scores / mission_cases;
            score = std::to_string(std::clamp<long long>(std::llround(mean), mean > 0 ? 1 : 0,
                                                         mean < 100 ? 99 : 100));
        }
        // The findings, then of them the errors and the warnings; all empty for a file that
        // could not be read.
        std::string findings;
        std::string by_severity = ",";
        if (const auto& found = found_in[f]) {
            size_t warnings = found->more_warnings;
            for (const Finding& k : found->findings)
                warnings += k.severity == Severity::Warning ? 1 : 0;
            const size_t all = found->findings.size() + found->more;
            findings = std::to_string(all);
            by_severity = std::to_string(all - warnings) + "," + std::to_string(warnings);
        }
        rows.push_back(csv_field(printable_name(options.files[f])) + "," + std::to_string(passed) +
                       "," + std::to_string(cases.size()) + "," + score + "," + findings + "," +
                       csv_field(first_failure) + "," + by_severity + "\n");
    }
    std::sort(rows.begin(), rows.end());
    std::string csv = "file,passed,cases,mission_score,findings,first_failure,errors,warnings\n";
    for (const std::string& row : rows) csv += row;
    return csv;
}

}  // namespace

namespace {

// Runs every file against every case, at most `jobs` runs at a time, and prints each verdict
// as soon as those before it are printed: the order is the queue's, whatever finishes first.
class Grader {
   public:
    // `refused`: for each file, why it is not run; empty: it is.
    Grader(const GradeOptions& options, const std::vector<Case>& cases,
           const std::vector<std::string>& refused, std::FILE* out)
        : options_(options), cases_(cases), refused_(refused), out_(out) {
        for (size_t f = 0; f < options.files.size(); ++f) {
            for (size_t k = 0; k < cases.size(); ++k) queue_.push_back({f, k});
        }
        verdicts_.resize(queue_.size());
        jobs_ = std::min(options.jobs > 0 ? options.jobs : default_jobs(), MAX_GRADE_JOBS);
        // The runs start `options.runner`; a process list shows them under the name it
        // stands for.
        runner_name_ = options.runner;
        char target[4096];
        const ssize_t n = readlink(options.runner, target, sizeof target);
        if (n > 0 && static_cast<size_t>(n) < sizeof target) {
            runner_name_.assign(target, static_cast<size_t>(n));
        }
    }

    // False, with the reason in `problem`, when the system refused to start or watch a run.
    bool run_all(std::string& problem) {
        while (next_print_ < queue_.size()) {
            if (!start_runs(problem) || !wait_for_output(problem) || !collect_finished(problem)) {
                end_all();
                return false;
            }
            print_ready();
        }
        return true;
    }

    size_t passed() const { return passed_; }
    size_t total() const { return queue_.size(); }
    const std::vector<std::optional<Verdict>>& verdicts() const { return verdicts_; }

   private:
    bool start_runs(std::string& problem) {
        while (next_job_ < queue_.size() && static_cast<int>(running_.size()) < jobs_) {
            const Job& job = queue_[next_job_];
            if (!refused_[job.file].empty()) {
                verdicts_[next_job_++] = Verdict{false, refused_[job.file], {}};
                continue;
            }
            Child child;
            child.job = next_job_;
            const int e = spawn_run(options_, runner_name_, options_.files[job.file],
                                    cases_[job.case_index], child);
            if (e != 0) {
                problem = "cannot start a run: " + errno_reason(e);
                return false;
            }
            running_.push_back(std::move(child));
            ++next_job_;
        }
        return true;
    }

    // Waits until a run has written something or ended, or the first time limit is due.
    bool wait_for_output(std::string& problem) {
        std::vector<pollfd> fds;
        Clock::time_point first_deadline = Clock::time_point::max();
        for (const Child& c : running_) {
            if (c.out_fd >= 0) fds.push_back({c.out_fd, POLLIN, 0});
            if (c.err_fd >= 0) fds.push_back({c.err_fd, POLLIN, 0});
            if (c.result_fd >= 0) fds.push_back({c.result_fd, POLLIN, 0});
            if (c.report_fd >= 0) fds.push_back({c.report_fd, POLLIN, 0});
            if (!c.run.timed_out) first_deadline = std::min(first_deadline, c.deadline);
        }
        int timeout = -1;
        if (first_deadline != Clock::time_point::max()) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(first_deadline - Clock::now());
            timeout = static_cast<int>(std::clamp<int64_t>(left.count(), 0, INT32_MAX));
        }
        if (!fds.empty() && poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            problem = "cannot wait for the runs: " + errno_reason(errno);
            return false;
        }
        return true;
    }

    // Reads what the runs wrote, kills those past their time, and judges those that ended. False,
    // with the reason in `problem`, when an expect file can no longer be read.
    bool collect_finished(std::string& problem) {
        const Clock::time_point now = Clock::now();
        for (auto it = running_.begin(); it != running_.end();) {
            Child& c = *it;
            if (c.out_fd >= 0) drain(c.out_fd, c.run.out);
            if (c.err_fd >= 0) drain(c.err_fd, c.run.err);
            if (c.result_fd >= 0) drain(c.result_fd, c.run.result);
            if (c.report_fd >= 0) drain(c.report_fd, c.run.report);
            if (!c.run.timed_out && now >= c.deadline) {
                kill(c.pid, SIGKILL);
                c.run.timed_out = true;
            }
            if (c.out_fd >= 0 || c.err_fd >= 0 || c.result_fd >= 0 || c.report_fd >= 0) {
                ++it;
                continue;
            }
            while (waitpid(c.pid, &c.run.status, 0) < 0 && errno == EINTR) {
            }
            const Child child = std::move(c);
            it = running_.erase(it);
            const Case& k = cases_[queue_[child.job].case_index];
            std::string expect;
            if (k.has_expect && !read_expect(k, expect, problem)) return false;
            verdicts_[child.job] = judge(k, options_.files[queue_[child.job].file], expect,
                                         child.vars_added, child.state_added, child.run);
        }
        return true;
    }

    void print_ready() {
        for (; next_print_ < queue_.size() && verdicts_[next_print_]; ++next_print_) {
            const Verdict& v = *verdicts_[next_print_];
            const Job& job = queue_[next_print_];
            const std::string who = printable_name(options_.files[job.file]) + " " +
                                    printable_name(cases_[job.case_index].name);
            passed_ += v.pass ? 1 : 0;
            if (v.pass) {
                std::fprintf(out_, "PASS %s\n", who.c_str());
            } else {
                std::fprintf(out_, "FAIL %s: %s\n", who.c_str(), v.words.c_str());
            }
            std::fflush(out_);
        }
    }

    void end_all() {
        for (Child& c : running_) {
            kill(c.pid, SIGKILL);
            if (c.out_fd >= 0) close(c.out_fd);
            if (c.err_fd >= 0) close(c.err_fd);
            if (c.result_fd >= 0) close(c.result_fd);
            if (c.report_fd >= 0) close(c.report_fd);
            while (waitpid(c.pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        running_.clear();
    }

    const GradeOptions& options_;
    const std::vector<Case>& cases_;
    const std::vector<std::string>& refused_;
    std::FILE* out_;
    std::string runner_name_;
    int jobs_ = 1;
    std::vector<Job> queue_;
    std::vector<std::optional<Verdict>> verdicts_;
    std::vector<Child> running_;
    size_t next_job_ = 0;
    size_t next_print_ = 0;
    size_t passed_ = 0;
};

}  // namespace

int grade_main(const GradeOptions& options, std::FILE* out, std::FILE* err) {
    std::vector<Case> cases;
    std::string problem;
    if (!load_cases(options.dir, cases, problem)) {
        std::fprintf(err, "zorvant-run: %s\n", problem.c_str());
        return RUNNER_NOT_RUN;
    }
    // The reports replace their files only at the end, but they must not replace what was
    // graded, nor each other.
    for (const std::string* report : {&options.junit, &options.summary}) {
        if (report->empty()) continue;
        bool input = false;
        for (const std::string& file : options.files) {
            input = input || same_existing_file(*report, file);
        }
        for (const Case& c : cases) {
            for (const char* name : CASE_FILES) {
                input = input || same_existing_file(*report, c.path + "/" + name);
            }
            for (const std::string* named : {&c.sim_file, &c.mission_sim_file, &c.mission_scenario}) {
                input = input || (!named->empty() && same_existing_file(*report, *named));
            }
        }
        if (input) {
            std::fprintf(err, "zorvant-run: %s is also an input file\n",
                         printable_name(*report).c_str());
            return RUNNER_NOT_RUN;
        }
    }
    if (!options.junit.empty() && !options.summary.empty() &&
        same_path(options.junit, options.summary)) {
        std::fprintf(err, "zorvant-run: --junit and --summary both name %s\n",
                     printable_name(options.summary).c_str());
        return RUNNER_NOT_RUN;
    }
    // Only a regular file is graded: through a link or from a device, a run would read what
    // the submission does not hold, and the reports would show it.
    std::vector<std::string> refused;
    for (const std::string& file : options.files) {
        struct stat st {};
        std::string why;
        if (lstat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            why = std::string("not run: ") +
                  (S_ISLNK(st.st_mode) ? REASON_SYMBOLIC_LINK : REASON_NOT_REGULAR);
        }
        refused.push_back(std::move(why));
    }
    Grader grader(options, cases, refused, out);
    if (!grader.run_all(problem)) {
        std::fprintf(err, "zorvant-run: %s\n", problem.c_str());
        return RUNNER_NOT_RUN;
    }
    std::fprintf(out, "%zu passed, %zu failed\n", grader.passed(),
                 grader.total() - grader.passed());
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fprintf(err, "zorvant-run: cannot write the output: %s\n",
                     errno_reason(errno).c_str());
        return RUNNER_NOT_RUN;
    }
    FileFindings findings;
    if (!options.junit.empty() || !options.summary.empty()) {
        for (size_t f = 0; f < options.files.size(); ++f) {
            findings.push_back(refused[f].empty() ? findings_in(options.files[f]) : std::nullopt);
        }
    }
    for (const std::string* report : {&options.junit, &options.summary}) {
        if (report->empty()) continue;
        const std::string text = report == &options.junit
                                     ? junit_report(options, cases, grader.verdicts(), findings)
                                     : summary_csv(options, cases, grader.verdicts(), findings);
        const FileWrite w = write_file_atomically(*report, text, LinkPolicy::WriteTarget);
        if (!w.ok) {
            std::fprintf(err, "zorvant-run: cannot write %s: %s\n", report->c_str(),
                         w.reason.c_str());
            return RUNNER_NOT_RUN;
        }
    }
    return grader.passed() == grader.total() ? RUNNER_OK : RUNNER_ERROR;
}
