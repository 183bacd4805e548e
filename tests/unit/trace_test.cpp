// Scenario files and trace rows: read and written on their own, and through the runner.
#include "trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "run_shell.h"
#include "runner.h"
#include "scenario.h"

// An event as a scenario line, for the messages of failed checks.
void PrintTo(const ScenarioEvent& e, std::ostream* os) {
    *os << e.time_ms << " " << info_of(e.channel).name << "=" << e.position;
}

namespace {

TEST(Scenario, ReadsEventsSkippingBlankAndCommentLines) {
    const ScenarioRead r = scenario_parse(
        "# a comment\r\n\r\n0 magx=5\r\n  \t\n 250\tcolr=+7 \n250 rx=-3\n  # indented\n"
        "300 magz=-100\n2147483647 tem=900");
    ASSERT_EQ(r.error_line, 0) << r.error;
    const std::vector<ScenarioEvent> expected = {
        {0, Channel::MagX, 5},      {250, Channel::ColR, 7},
        {250, Channel::Rx, 0},  // clamped into 0..255, as a slider keeps it
        {300, Channel::MagZ, -100}, {2147483647, Channel::Tem, 80},
    };
    EXPECT_EQ(r.events, expected);
    EXPECT_TRUE(scenario_parse("").events.empty());
}

TEST(Scenario, NamesTheFirstBadLineAndWhy) {
    const std::string names = ": NAME is one of magx, magy, magz, colr, colg, colb, tem, rx";
    const std::string times = ": a whole number of milliseconds, 0 to 2147483647";
    const struct {
        const char* text;
        int line;
        std::string error;
    } bad[] = {
        {"0 magx=1\nmagx=1", 2, "expected TIME_MS NAME=POS, got 'magx=1'"},
        {"0 magx=1 # note", 1, "expected TIME_MS NAME=POS, got '0 magx=1 # note'"},
        {"0 magx 1", 1, "expected TIME_MS NAME=POS, got '0 magx 1'"},
        {"100", 1, "expected TIME_MS NAME=POS, got '100'"},
        {"-5 magx=1", 1, "bad time '-5'" + times},
        {"+5 magx=1", 1, "bad time '+5'" + times},
        {"1.5 magx=1", 1, "bad time '1.5'" + times},
        {"2147483648 magx=1", 1, "bad time '2147483648'" + times},
        {"100 magx=1\n# fine\n50 magx=2", 3, "time 50 is earlier than 100 on a line above"},
        {"0 coix=5", 1, "unknown slider 'coix'" + names},
        {"0 MAGX=5", 1, "unknown slider 'MAGX'" + names},
        {"0 magx=", 1, "bad position ''"},
        {"0 magx=0x10", 1, "bad position '0x10'"},
        {"0 magx=99999999999999999999", 1, "bad position '99999999999999999999'"},
        // A byte that could steer a terminal is shown, not sent.
        {"0 magx=\x1b[2J", 1, "bad position '\\x1B[2J'"},
    };
    for (const auto& b : bad) {
        const ScenarioRead r = scenario_parse(b.text);
        EXPECT_EQ(r.error_line, b.line) << b.text;
        EXPECT_EQ(r.error, b.error) << b.text;
        EXPECT_EQ(r.events.size(), b.line == 3 ? 1u : b.line - 1u) << b.text;
    }
}

// What the window records from the sliders is read back as it was moved: times from the run's
// start, in order, a drag's many moves within a millisecond kept as its last position.
TEST(Scenario, RecordedMovesFormatAndReadBackTheSame) {
    ScenarioRecorder recorder;
    recorder.moved(Channel::MagX, 9, 4000);  // before start(): dropped by it
    recorder.start(5000);
    recorder.moved(Channel::MagX, 10, 4990);  // read just before the run's first clock reading
    recorder.moved(Channel::Tem, 20, 5250);
    recorder.moved(Channel::Tem, 21, 5250);
    recorder.moved(Channel::Tem, 22, 5250);
    recorder.moved(Channel::Rx, 300, 5250);   // clamped as the slider keeps it
    recorder.moved(Channel::MagY, -7, 5240);  // a reading older than the last one
    recorder.moved(Channel::CoiX, 5, 5300);   // a coil is no slider of the user's
    recorder.moved(Channel::ColB, 3, int64_t{5000} + INT32_MAX + 10);
    const std::vector<ScenarioEvent> expected = {
        {0, Channel::MagX, 10},       {250, Channel::Tem, 22},
        {250, Channel::Rx, 255},      {250, Channel::MagY, -7},
        {INT32_MAX, Channel::ColB, 3},
    };
    ASSERT_EQ(recorder.events(), expected);

    const std::string text = scenario_format(recorder.events(), "Slider moves\n\nof a run");
    EXPECT_EQ(text,
              "# Slider moves\n#\n# of a run\n0 magx=10\n250 tem=22\n250 rx=255\n250 magy=-7\n"
              "2147483647 colb=3\n");
    const ScenarioRead read = scenario_parse(text);
    EXPECT_EQ(read.error_line, 0) << read.error;
    EXPECT_EQ(read.events, expected);
    EXPECT_EQ(scenario_format({}), "");
}

TEST(Trace, HeaderNamesEveryColumnInRowOrder) {
    EXPECT_EQ(trace_header(),
              "time_ms,line,magx,magy,magz,colr,colg,colb,tem,rx,coix,coiy,coiz,spd,tx_active,"
              "tx_column,tx_symbol,A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z");
}

// "A,B" followed by zeros up to the 26 variables.
std::string vars(const std::string& first) {
    const size_t given = first.empty() ? 0 : std::count(first.begin(), first.end(), ',') + 1;
    std::string s = first;
    for (size_t k = given; k < VARIABLE_COUNT; ++k) s += k == 0 ? "0" : ",0";
    return s;
}

TEST(Trace, RowShowsPositionsTransmitterAndPanelNumbers) {
    TraceSnapshot s;
    s.time_ms = 1500;
    s.line = 7;
    s.channels[static_cast<int>(Channel::MagX)] = -100;
    s.channels[static_cast<int>(Channel::Tem)] = -40;
    s.channels[static_cast<int>(Channel::Rx)] = 255;
    s.channels[static_cast<int>(Channel::CoiZ)] = 33;
    s.channels[static_cast<int>(Channel::Spd)] = 4;
    s.channels[static_cast<int>(Channel::Sys)] = 1000;  // not a column
    s.tx_active = true;
    s.tx_column = 93;
    s.tx_symbol = 7;
    s.variables[0] = 1234567;
    s.variables[1] = 1.0 / 3;
    s.variables[2] = std::nan("");
    s.variables[3] = -0.00001;
    EXPECT_EQ(trace_row(s), "1500,7,-100,0,0,0,0,0,-40,255,0,0,33,4,1,93,7," +
                                vars("1.23457E6,0.333333,NAN,-1E-5"));
}

TEST(Trace, ARowIsDueWhenClockChannelOrTransmitterChange) {
    const TraceSnapshot base;
    std::vector<TraceSnapshot> changed(4 + TRACE_CHANNEL_COUNT, base);
    changed[0].time_ms = 1;
    changed[1].tx_active = true;
    changed[2].tx_column = 3;
    changed[3].tx_symbol = 1;
    for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) changed[4 + c].channels[c] = 1;
    for (const TraceSnapshot& s : changed) EXPECT_TRUE(trace_state_changed(base, s));

    // What a row shows besides, or does not show at all, makes no row of its own.
    std::vector<TraceSnapshot> same(4, base);
    same[0].variables[25] = 1;
    same[1].line = 12;
    same[2].channels[static_cast<int>(Channel::Sys)] = 500;
    same[3].channels[static_cast<int>(Channel::Timer)] = 9;
    for (const TraceSnapshot& s : same) EXPECT_FALSE(trace_state_changed(base, s));
}

// ---------------------------------------------------------------------------------------------
// Through the runner

struct Captured {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&data, &size);
    ~Captured() {
        std::fclose(file);
        std::free(data);
    }
    std::string text() {
        std::fflush(file);
        return std::string(data, size);
    }
};

TEST(RunnerTrace, RowsAtStartBeforeStatementsAfterAChangeAndAtEnd) {
    const std::string program = write_temp_file("traced.bas",
                                                "A=1\n"
                                                "DELAY 100\n"
                                                "B=2\n"
                                                "COIL 0.25,0,0\n"
                                                "C=3\n"
                                                "TX 2,5\n"
                                                "D=4\n"
                                                "E=5\n");
    const std::string events = write_temp_file("traced.events", "100 magx=30\n");
    const std::string trace = testing::TempDir() + "traced.csv";
    Captured out;
    Captured err;
    const int code = runner_main(
        {"--no-wait", "--set", "colr=10", "--scenario", events, "--trace", trace, program},
        out.file, err.file);
    EXPECT_EQ(code, RUNNER_OK) << err.text();
    EXPECT_EQ(out.text(), "");
    // The start shows the --set slider; the event at 100 ms comes with the clock, before line
    // 2; the coil and the transmitter each make a row before the next statement; the end shows
    // every variable. Statements that change nothing of a row make none.
    EXPECT_EQ(read_file(trace),
              trace_header() + "\n" +                                         //
                  "0,-1,0,0,0,10,0,0,0,0,0,0,0,4,0,0,0," + vars("") + "\n" +  //
                  "100,2,30,0,0,10,0,0,0,0,0,0,0,4,0,0,0," + vars("1") + "\n" +
                  "100,4,30,0,0,10,0,0,0,0,25,0,0,4,0,0,0," + vars("1,2") + "\n" +
                  "100,6,30,0,0,10,0,0,0,0,25,0,0,4,1,6,5," + vars("1,2,3") + "\n" +
                  "100,-1,30,0,0,10,0,0,0,0,25,0,0,4,1,6,5," + vars("1,2,3,4,5") + "\n");
}

using Result = ShellResult;

Result runner(const std::string& args) {
    return run_shell(std::string(ZORVANT_RUN) + " " + args + " 2>&1");
}

TEST(RunnerTrace, ATraceThatCannotBeWrittenIsNoSuccess) {
    const std::string program = write_temp_file("trace_fail.bas", "PRINT 1\nTX 1,1\nPRINT 2\n");
    // Cannot even be opened: nothing runs.
    const std::string nowhere = testing::TempDir() + "no-such-folder/t.csv";
    Result r = runner("--no-wait --trace " + nowhere + " " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "zorvant-run: cannot write " + nowhere + ": No such file or directory\n");
    // Opened, but the rows never reach the disk.
    r = runner("--no-wait --trace /dev/full " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out.substr(r.out.find("zorvant-run")),
              "zorvant-run: cannot write /dev/full: No space left on device\n");
}

TEST(RunnerScenario, ABadLineStopsTheRunBeforeItStarts) {
    const std::string program = write_temp_file("scenario_bad.bas", "PRINT 1\n");
    const std::string events = write_temp_file("bad.events", "0 magx=1\n\n20 magx=2 3\n");
    Result r = runner("--no-wait --scenario " + events + " " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out,
              "zorvant-run: " + events + ":3: expected TIME_MS NAME=POS, got '20 magx=2 3'\n");
    const std::string missing = testing::TempDir() + "missing.events";
    r = runner("--no-wait --scenario " + missing + " " + program);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "zorvant-run: cannot read " + missing + ": No such file or directory\n");
}

// Without real waits, the same program and scenario give the same bytes every time: output,
// stop line and trace.
TEST(RunnerScenario, RunsAreDeterministic) {
    std::string events;
    for (int t = 0; t < 3000; t += 100) {
        events += std::to_string(t) + " magx=" + std::to_string(t / 50) + "\n";
        events += std::to_string(t + 50) + " magy=-" + std::to_string(t / 40) + "\n";
    }
    const std::string args = "--no-wait --vars --state --scenario " +
                             write_temp_file("turning.events", events) + " " + ZORVANT_SOURCE_DIR +
                             "/samples/05_detumbling.bas";
    const std::string first = testing::TempDir() + "first.csv";
    const std::string second = testing::TempDir() + "second.csv";
    const Result a = runner("--trace " + first + " " + args);
    const Result b = runner("--trace " + second + " " + args);
    EXPECT_EQ(a.code, 0);
    EXPECT_EQ(a.out, b.out);
    const std::string trace = read_file(first);
    EXPECT_EQ(trace, read_file(second));
    // Long enough to mean something: a row for every look at the turning field.
    EXPECT_GT(std::count(trace.begin(), trace.end(), '\n'), 600);
}

}  // namespace
