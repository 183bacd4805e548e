// zorvant-run --replay: a traced run made again up to a moment, held against its trace, and the
// machine it shows there held against what a run stopped at that moment leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "run_shell.h"

namespace {

const std::string SAMPLES = ZORVANT_SOURCE_DIR "/samples/";

ShellResult runner(const std::string& args, const char* streams = " 2>&1") {
    return run_shell(std::string(ZORVANT_RUN) + " " + args + streams);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

// The "name=value" pairs and "  A: value" variable lines of a replay's state, by name.
std::map<std::string, std::string> state_values(const std::string& state) {
    std::map<std::string, std::string> values;
    for (const std::string& line : split(state, '\n')) {
        if (line.size() > 5 && line[0] == ' ' && line[3] == ':' && line[2] >= 'A' &&
            line[2] <= 'Z') {
            values[line.substr(2, 1)] = line.substr(5);
        } else if (line.starts_with("sensors:") || line.starts_with("set by the program:") ||
                   line.starts_with("transmitter:") || line.starts_with("simulation:")) {
            for (const std::string& word : split(line, ' ')) {
                const size_t equals = word.find('=');
                if (equals == std::string::npos) continue;
                std::string value = word.substr(equals + 1);
                if (!value.empty() && value.back() == ',') value.pop_back();
                values[word.substr(0, equals)] = value;
            }
        }
    }
    return values;
}

// Every column of `row` but the time and the line is what the state shows; a variable it
// leaves out is 0.
void expect_state_is_row(const std::string& state, const std::string& header,
                         const std::string& row) {
    const std::map<std::string, std::string> shown = state_values(state);
    const std::vector<std::string> names = split(header, ',');
    const std::vector<std::string> cells = split(row, ',');
    ASSERT_EQ(names.size(), cells.size());
    for (size_t k = 2; k < names.size(); ++k) {
        const auto it = shown.find(names[k]);
        const bool variable = names[k].size() == 1;
        EXPECT_EQ(it == shown.end() && variable ? "0"
                  : it == shown.end()           ? "(none)"
                                                : it->second,
                  cells[k])
            << names[k] << "\n"
            << state;
    }
}

struct Moment {
    long long ms;
    // No statement runs at that moment: a run stopped there by its time limit leaves the
    // machine the replay shows.
    bool inside_wait;
    const char* second_line;  // how the state's second line starts
};

struct LessonReplay {
    const char* lesson;
    const char* mission;
    const char* preset;
    std::vector<Moment> moments;
};

std::string rows_agree(size_t rows, bool ended) {
    return "(the trace's " + std::to_string(rows) + (rows == 1 ? " row" : " rows") +
           (ended ? "" : " up to here") + (rows == 1 ? " agrees)" : " agree)");
}

// Each lesson that flies a simulation, traced under its mission and replayed at moments inside
// a wait, just after the statements of a moment, at the end and past it. A replay holds every
// row up to the moment; the machine inside a wait is the one a run stopped there by its time
// limit leaves, and at the end the one of the trace's last row.
TEST(Replay, TheLessonsAgreeWithTheirTraces) {
    const LessonReplay lessons[] = {
        {"09_detumbling_in_orbit",
         "detumble",
         "tumbling_1u",
         {{312500, true, "waiting in a DELAY until 313000 ms; next: editor line 34: MGET X,Y,Z"},
          {312000, false, "waiting in a DELAY until 313000 ms"},
          {900000, false, "stopped by the time limit before editor line 34"},
          {2000000, false, "stopped by the time limit before editor line 34"}}},
        {"10_thermostat_hot_case",
         "hot_case",
         "hot_case",
         {{61234, true, "waiting in a DELAY until 62000 ms"},
          {0, false, "waiting in a DELAY until 1000 ms"}}},
        {"11_beacon_pass",
         "beacon_pass",
         "ground_pass",
         {{61234, true, "waiting in a DELAY until 61260 ms; next: editor line 50: B=B*2&255"},
          {60000, false, "waiting"},
          {200000, false, "stopped at editor line 59: END"}}},
    };
    for (const LessonReplay& l : lessons) {
        SCOPED_TRACE(l.lesson);
        const std::string program = SAMPLES + l.lesson + ".bas";
        const std::string mission = " --mission " + SAMPLES + "missions/" + l.mission + ".mission ";
        const std::string trace = testing::TempDir() + "replayed.csv";
        runner("--trace " + trace + mission + program, " >/dev/null 2>&1");
        const std::vector<std::string> rows = split(read_file(trace), '\n');
        ASSERT_GT(rows.size(), 10u);
        const std::string end_ms = std::to_string(std::stoll(rows.back()));
        for (const Moment& m : l.moments) {
            SCOPED_TRACE(m.ms);
            const std::string at = std::to_string(m.ms);
            const ShellResult r = runner("--replay " + trace + " --at " + at + mission + program);
            ASSERT_EQ(r.code, 0) << r.out;
            const std::vector<std::string> lines = split(r.out, '\n');
            size_t agreed = 0;
            for (size_t i = 1; i < rows.size() && std::stoll(rows[i]) <= m.ms; ++i) ++agreed;
            const bool ended = agreed == rows.size() - 1;
            const std::string start =
                !ended         ? "at " + at + " ms, after "
                : end_ms == at ? "at " + at + " ms the run ended, after "
                               : "the run ended at " + end_ms + " ms, before " + at + " ms, after ";
            EXPECT_TRUE(lines[0].starts_with(start)) << lines[0];
            EXPECT_TRUE(lines[0].ends_with(rows_agree(agreed, ended))) << lines[0];
            EXPECT_TRUE(lines[1].starts_with(m.second_line)) << lines[1];
            if (ended) expect_state_is_row(r.out, rows[0], rows.back());
            if (m.inside_wait) {
                const std::string stopped = testing::TempDir() + "stopped.csv";
                runner("--no-wait --sim " + std::string(l.preset) + " --timeout " + at +
                           " --trace " + stopped + " " + program,
                       " >/dev/null 2>&1");
                expect_state_is_row(r.out, rows[0], split(read_file(stopped), '\n').back());
            }
        }
    }
}

// A replay that leaves its trace says where and exits 1; a trace that is none, 2. Either way
// no state is printed.
TEST(Replay, TellsAnotherRunAndWhatIsNoTrace) {
    const std::string lesson = SAMPLES + "09_detumbling_in_orbit.bas";
    const std::string mission = "--mission " + SAMPLES + "missions/detumble.mission ";
    const std::string trace = testing::TempDir() + "lesson_9.csv";
    runner("--trace " + trace + " " + mission + lesson, " >/dev/null 2>&1");
    const std::string text = read_file(trace);
    std::string gain = read_file(lesson);
    gain.replace(gain.find("\nK=7\n"), 5, "\nK=5\n");
    const std::string gain_5 = write_temp_file("gain_5.bas", gain);
    const std::string plain = ZORVANT_SOURCE_DIR "/tests/programs/runner/replay_at_a_moment";
    const std::string header = text.substr(0, text.find('\n') + 1);
    // The trace up to its first row at 8000 ms, and a short row put before its first at 3000.
    const std::string cut = text.substr(0, text.find("\n8000,"));
    const size_t before_3000 = text.find("\n3000,") + 1;
    // `before`, the count of lines in `bytes`, `after`.
    const auto with_lines = [](const char* before, const std::string& bytes, const char* after) {
        std::string message = before;
        message += std::to_string(std::count(bytes.begin(), bytes.end(), '\n'));
        message += after;
        return message;
    };
    struct Case {
        std::string trace_bytes;  // written to a file; empty: the lesson's trace as it is
        std::string args;         // after --replay's file
        int code;
        std::string message;  // after "zorvant-run: " and the trace's name
    };
    const Case cases[] = {
        {"", "--at 312000 " + mission + gain_5, 1,
         ":3: not a trace of this program with these options: at 1000 ms, K is 7 in the trace "
         "but 5 in the replay"},
        {"", "--at 312000 " + lesson, 1,
         ":1: the trace has the simulation's columns: give the --sim or --mission of its run"},
        {"", "--at 312000 --sim tumbling_1u --set colr=5 " + lesson, 1,
         ":2: not a trace of this program with these options: at 0 ms, colr is 0 in the trace "
         "but 5 in the replay"},
        {read_file(plain + ".csv"), "--at 0 --sim tumbling_1u " + plain + ".bas", 1,
         ":1: the trace has no simulation's columns: its run had no --sim or --mission"},
        {cut, "--at 312000 " + mission + lesson, 1,
         with_lines(": the trace ends after line ", cut + "\n",
                    ", but the replay goes on with a row at 8000 ms: it was cut short, or it is "
                    "not a trace of this program with these options")},
        {text.substr(0, before_3000) + "3000,34\n" + text.substr(before_3000),
         "--at 312000 " + mission + lesson, 2,
         with_lines(":", text.substr(0, before_3000) + "\n",
                    ": not a row of a trace: 2 columns where its header has 50")},
        {std::string("tim\0_ms,line\n", 13), "--at 0 " + mission + lesson, 2,
         ":1: not a trace: its first line is not a trace's header"},
        {header + std::string(5000, '7') + "\n", "--at 0 " + mission + lesson, 2,
         ":2: not a trace: a line longer than 4096 bytes"},
        {"\n", "--at 0 " + mission + lesson, 2, ": empty: no trace"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string file =
            c.trace_bytes.empty() ? trace : write_temp_file("case.csv", c.trace_bytes);
        const ShellResult r = runner("--replay " + file + " " + c.args, " 2>&1 >/dev/null");
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(split(r.out, '\n').at(0), "zorvant-run: " + file + c.message);
        // Where the trace is another run's, what a replay needs follows.
        EXPECT_EQ(r.out.find("\nzorvant-run: a replay needs a trace made with --no-wait or a "
                             "mission, and the options of its run again (--set, --scenario, "
                             "--sim or --mission, --max-steps, --timeout)\n") != std::string::npos,
                  c.code == 1);
        EXPECT_EQ(runner("--replay " + file + " " + c.args, " 2>/dev/null").out, "");
    }
    // A folder is read as no program file is.
    const std::string folder = testing::TempDir();
    EXPECT_EQ(runner("--replay " + folder + " --at 0 " + lesson).out,
              "zorvant-run: cannot read " + folder + ": It is not a regular file\n");
    // A trace saved again with CR LF line ends is the same trace.
    std::string crlf;
    for (const std::string& line : split(read_file(plain + ".csv"), '\n')) crlf += line + "\r\n";
    const ShellResult r = runner("--replay " + write_temp_file("crlf.csv", crlf) +
                                 " --at 2500 --set magx=50 " + plain + ".bas");
    EXPECT_EQ(r.code, 0) << r.out;
}

}  // namespace
