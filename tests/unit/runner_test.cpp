// The runner's contract seen from outside: the real executable, its streams and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct Result {
    std::string out;
    int code;
};

// Runs zorvant-run with `args` through the shell, standard error folded into the output when
// `merge` is set (or when `args` redirect it themselves).
Result run(const std::string& args, bool merge = false) {
    const bool redirected = args.find("2>&1") != std::string::npos;
    const std::string command = std::string(ZORVANT_RUN) + " " + args +
                                (redirected ? "" : merge ? " 2>&1" : " 2>/dev/null");
    Result r{"", -1};
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return r;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string write_program(const std::string& name, const std::string& bytes) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(Runner, BadArgumentsShowUsage) {
    const char* bad[] = {"",
                         "--set",
                         "--set magx=1",
                         "--set foo=1 x.bas",
                         "--set magx=abc x.bas",
                         "--max-steps -1 x.bas",
                         "--bogus x.bas",
                         "a.bas b.bas"};
    for (const char* args : bad) {
        const Result r = run(args, true);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.out.find("usage: zorvant-run"), std::string::npos) << args;
    }
}

TEST(Runner, UnreadableFile) {
    for (const std::string& path : {testing::TempDir() + "no-such-file.bas", testing::TempDir()}) {
        const Result r = run(path, true);
        EXPECT_EQ(r.code, 2) << path;
        EXPECT_EQ(r.out, "zorvant-run: cannot read " + path + "\n") << path;
    }
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
    EXPECT_EQ(r.out, "Stop in line: 0\nzorvant-run: cannot write the output\n");
}

TEST(Runner, OutputBytesPassThroughUnchanged) {
    const std::string path = write_program("bytes.bas", "PRINT \"\xE9\xFF\x01\"\n");
    const Result r = run("--no-wait " + path);
    EXPECT_EQ(r.out, "\xE9\xFF\x01\n");
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
