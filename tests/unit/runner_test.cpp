// The runner's contract seen from outside: the real executable, its streams and exit codes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "run_shell.h"

namespace {

using Result = ShellResult;

// Runs zorvant-run with `args` through the shell, standard error folded into the output when
// `merge` is set (or when `args` redirect it themselves).
Result run(const std::string& args, bool merge = false) {
    const bool redirected = args.find("2>&1") != std::string::npos;
    return run_shell(std::string(ZORVANT_RUN) + " " + args +
                     (redirected ? ""
                      : merge    ? " 2>&1"
                                 : " 2>/dev/null"));
}

std::string write_program(const std::string& name, const std::string& bytes) {
    return write_temp_file(name, bytes);
}

TEST(Runner, BadArgumentsShowUsage) {
    const char* bad[] = {"",
                         "--set",
                         "--set magx=1",
                         "--set foo=1 x.bas",
                         "--set magx=abc x.bas",
                         "--max-steps -1 x.bas",
                         "--bogus x.bas",
                         "a.bas b.bas",
                         "--set coix=5 x.bas",
                         "--timeout -5 x.bas",
                         "--timeout 2147483648 x.bas",
                         "--scenario",
                         "--trace '' x.bas",
                         "--grade cases",
                         "--junit r.xml x.bas",
                         "-j 2 x.bas",
                         "--grade cases -j 0 x.bas",
                         "--grade cases --no-wait x.bas",
                         "--no-wait ''",
                         "--",
                         "-- x.bas --vars",
                         "--mission-result r.txt x.bas",
                         "--replay t.csv x.bas",
                         "--at 5 x.bas",
                         "--replay t.csv --at 1.5 x.bas",
                         "--replay t.csv --at 5 --vars x.bas",
                         "--grade cases --replay t.csv --at 5 x.bas"};
    for (const char* args : bad) {
        const Result r = run(args, true);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.out.find("usage: zorvant-run"), std::string::npos) << args;
    }
}

// Help and version go to standard output, so `zorvant-run --help | less` works, and succeed.
TEST(Runner, HelpAndVersionPrintToStandardOutput) {
    Result r = run("--help");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("usage: zorvant-run", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("--max-steps N"), std::string::npos);
    EXPECT_NE(r.out.find("Exit status"), std::string::npos);
    // Grading's own limits are named, so a teacher knows what an endless program meets.
    EXPECT_NE(r.out.find("--max-steps 10000000 when args gives no step limit"), std::string::npos);
    r = run("--no-wait --version no-such-file.bas");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, std::string("zorvant-run ") + ZORVANT_VERSION + "\n");
}

TEST(Runner, UnreadableFile) {
    const std::string missing = testing::TempDir() + "no-such-file.bas";
    Result r = run(missing, true);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "zorvant-run: cannot read " + missing + ": No such file or directory\n");

    // A FIFO would hold the runner up for ever, a device feed it without end: neither is read.
    const std::string fifo = testing::TempDir() + "fifo.bas";
    const std::string zero = testing::TempDir() + "zero.bas";
    unlink(fifo.c_str());
    unlink(zero.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    for (const std::string& path : {fifo, zero, testing::TempDir()}) {
        r = run("--no-wait " + path, true);
        EXPECT_EQ(r.code, 2) << path;
        EXPECT_EQ(r.out, "zorvant-run: cannot read " + path + ": It is not a regular file\n");
    }

    // Over 16 MiB: refused after reading one byte more than that, whatever it holds.
    const std::string big = testing::TempDir() + "big.bas";
    ASSERT_EQ(truncate(write_program("big.bas", "").c_str(), 100 << 20), 0);
    r = run("--no-wait " + big, true);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "zorvant-run: cannot read " + big + ": It is larger than 16 MiB\n");
    unlink(big.c_str());
}

TEST(Runner, ANulInAProgramLineStopsItBeforeItRuns) {
    const std::string program =
        std::string("PRINT 1\n// a ") + '\0' + " in a comment is no matter\nPRINT 2" + '\0' + "\n";
    const Result r = run("--no-wait " + write_program("nul.bas", program), true);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "ERROR in line: 2\nERROR: Line holds a NUL character\n");
}

// A trace is emptied when it is opened: over the program or the scenario it would destroy what
// it traces. Refused before anything is opened, through a link too.
TEST(Runner, TraceIsNeverAnInputFile) {
    const std::string program = write_program("self.bas", "PRINT 1\n");
    const std::string events = write_program("self.events", "0 magx=1\n");
    const std::string mission = write_program("self.mission", "goal = A < 5\n");
    const std::string link = testing::TempDir() + "self-link.csv";
    unlink(link.c_str());
    ASSERT_EQ(symlink(program.c_str(), link.c_str()), 0);
    const struct {
        std::string trace;
        std::string args;
    } cases[] = {
        {program, program},
        {link, program},
        {events, "--scenario " + events + " " + program},
        {mission, "--mission " + mission + " " + program},
        {mission, "--mission " + mission + " --mission-result " + mission + " " + program}};
    for (const auto& c : cases) {
        const std::string trace = c.args.find("--mission-result") == std::string::npos
                                      ? "--no-wait --trace " + c.trace + " "
                                      : "";
        const Result r = run(trace + c.args, true);
        EXPECT_EQ(r.code, 2) << c.trace;
        EXPECT_EQ(r.out, "zorvant-run: " + c.trace + " is also an input file\n");
    }
    EXPECT_EQ(read_file(program), "PRINT 1\n");
    EXPECT_EQ(read_file(events), "0 magx=1\n");
    EXPECT_EQ(read_file(mission), "goal = A < 5\n");
}

// After "--" every argument is a file, one that looks like an option too.
TEST(Runner, DoubleDashEndsTheOptions) {
    write_program("-dash.bas", "PRINT 1\n");
    const std::string in_temp = "cd " + testing::TempDir() + " && " + ZORVANT_RUN + " --no-wait ";
    Result r = run_shell(in_temp + "-- -dash.bas 2>&1");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "1\nStop in line: 0\n");
    r = run_shell(in_temp + "-dash.bas 2>&1");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out.rfind("zorvant-run: unknown option '-dash.bas'\n", 0), 0u) << r.out;
}

TEST(Runner, StreamsAndExitCodes) {
    const std::string ok = write_program("ok.bas", "PRINT \"A\"\r\nX=1\rEND\n");
    Result r = run("--no-wait " + ok);
    EXPECT_EQ(r.out, "A\n");
    EXPECT_EQ(r.code, 0);
    r = run("--no-wait " + ok, true);
    EXPECT_EQ(r.out, "A\nStop in line: 2\n");

    const std::string bad = write_program("bad.bas", "SQRT -1,A\nPRINT A\nRETURN\n");
    r = run("--no-wait " + bad, true);
    EXPECT_EQ(r.out,
              "sqrt: DOMAIN error\nNAN\nERROR in line: 2\nERROR: RETURN does not match\n"
              "Stop in line: 2\n");
    EXPECT_EQ(r.code, 1);

    const std::string loop = write_program("loop.bas", "LABEL 1\nGOTO 1\n");
    r = run("--max-steps 5 --no-wait " + loop);
    EXPECT_EQ(r.code, 3);
}

TEST(Runner, LostOutputIsNoSuccess) {
    const std::string path = write_program("full.bas", "PRINT 1\n");
    // Standard error to the pipe, standard output to a device that is always full.
    const Result r = run("--no-wait " + path + " 2>&1 >/dev/full", false);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out,
              "Stop in line: 0\nzorvant-run: cannot write the output: No space left on device\n");
}

TEST(Runner, StopsAtTheFirstOutputThatCannotBeWritten) {
    const std::string path = write_program("endless.bas", "LABEL 1\nPRINT 1\nGOTO 1\n");
    const std::string endless = "timeout 20 " + std::string(ZORVANT_RUN) + " --no-wait " + path;
    const auto last_line = [](const std::string& text) {
        const size_t start = text.rfind('\n', text.size() - 2);
        return start == std::string::npos ? text : text.substr(start + 1);
    };
    // `timeout` turns an endless spin into a failure instead of a test that hangs.
    Result r = run_shell(endless + " 2>&1 >/dev/full");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(last_line(r.out), "zorvant-run: cannot write the output: No space left on device\n");

    // A reader that goes away, with SIGPIPE ignored as some shells and services do.
    const std::string err = testing::TempDir() + "pipe.err";
    r = run_shell("bash -c 'trap \"\" PIPE; " + endless + " 2>" + err +
                  " | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}'");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(last_line(run_shell("cat " + err).out),
              "zorvant-run: cannot write the output: Broken pipe\n");
}

TEST(Runner, OutputBytesPassThroughUnchanged) {
    const std::string path = write_program("bytes.bas", "PRINT \"\xE9\xFF\x01\"\n");
    const Result r = run("--no-wait " + path);
    EXPECT_EQ(r.out, "\xE9\xFF\x01\n");
}

// In real time a DELAY that reaches past --timeout is cut short there: the run does not sit out
// the rest of it. `timeout` turns a wait of 1000 seconds into a failure.
TEST(Runner, TimeoutEndsARealTimeDelay) {
    const std::string path = write_program("long_delay.bas", "PRINT 1\nDELAY 1000000\nPRINT 2\n");
    const Result r =
        run_shell("timeout 20 " + std::string(ZORVANT_RUN) + " --timeout 100 " + path + " 2>&1");
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "1\nStop in line: 2\nzorvant-run: stopped at the time limit (--timeout 100)\n");
}

TEST(Runner, DelayWaitsInRealTimeUnlessToldNot) {
    const std::string path = write_program("delay.bas", "DELAY 300\nPRINT 1\n");
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    EXPECT_EQ(run(path).out, "1\n");
    // A lower bound only: a wait that never happened is the fault looked for, not a slow one.
    EXPECT_GE(clock::now() - start, std::chrono::milliseconds(300));
}

}  // namespace
