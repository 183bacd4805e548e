// Runs every program under tests/programs through the headless runner and compares its output
// with the expectations written beside the code:
//   // expect: TEXT   one line of standard output, in order
//   // args: OPTIONS  runner options before the file (--no-wait is always added); {dir} stands
//                    for the program's folder, where files such as scenarios lie beside it
//   // exit: N        the exit code, 0 when not given
//   // stderr: TEXT   when given, the whole standard error, line by line
// Every program runs twice: with the interpreter's shortcuts (Fast/...) and without them
// (Plain/...), so the plain scan, number conversion and label lookup are held to the same
// expectations as the fast ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "program_text.h"
#include "runner.h"
#include "tokenizer.h"

namespace fs = std::filesystem;

namespace {

struct Expectation {
    std::vector<std::string> args{"--no-wait"};
    std::string out;
    std::string err;
    bool check_err = false;
    int exit_code = 0;
};

std::string read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool take_directive(const std::string& line, const std::string& name, std::string& value) {
    const std::string prefix = "// " + name + ":";
    if (line.compare(0, prefix.size(), prefix) != 0) return false;
    value = line.substr(prefix.size());
    if (!value.empty() && value[0] == ' ') value.erase(0, 1);
    return true;
}

Expectation read_expectation(const fs::path& path) {
    const std::string dir = path.parent_path().string();
    Expectation e;
    for (const std::string& line : split_lines(read_bytes(path))) {
        std::string value;
        if (take_directive(line, "expect", value)) {
            e.out += value + "\n";
        } else if (take_directive(line, "stderr", value)) {
            e.err += value + "\n";
            e.check_err = true;
        } else if (take_directive(line, "exit", value)) {
            e.exit_code = std::atoi(value.c_str());
        } else if (take_directive(line, "args", value)) {
            std::istringstream words(value);
            for (std::string w; words >> w;) {
                for (size_t at; (at = w.find("{dir}")) != std::string::npos;) w.replace(at, 5, dir);
                e.args.push_back(w);
            }
        }
    }
    return e;
}

struct Captured {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&data, &size);
    ~Captured() { std::free(data); }
    std::string text() {
        std::fflush(file);
        std::string s(data, size);
        return s;
    }
};

std::vector<std::string> all_programs() {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(GOLDEN_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".bas") {
            paths.push_back(fs::relative(entry.path(), GOLDEN_DIR).string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

struct GoldenRun {
    std::string program;
    bool fast;
};

// How ctest and a failure name the run.
void PrintTo(const GoldenRun& run, std::ostream* os) {
    *os << run.program << (run.fast ? "" : " (plain)");
}

std::vector<GoldenRun> all_runs(bool fast) {
    std::vector<GoldenRun> runs;
    for (std::string& p : all_programs()) runs.push_back({std::move(p), fast});
    return runs;
}

// The shortcuts as the run asks, and on again afterwards, whatever the test's outcome.
struct FastPaths {
    explicit FastPaths(bool on) { tok_set_fast_paths(on); }
    ~FastPaths() { tok_set_fast_paths(true); }
};

class Golden : public testing::TestWithParam<GoldenRun> {};

TEST_P(Golden, Program) {
    const fs::path path = fs::path(GOLDEN_DIR) / GetParam().program;
    const FastPaths shortcuts(GetParam().fast);
    Expectation e = read_expectation(path);
    e.args.push_back(path.string());
    Captured out;
    Captured err;
    const int code = runner_main(e.args, out.file, err.file);
    const std::string stdout_text = out.text();
    const std::string stderr_text = err.text();
    std::fclose(out.file);
    std::fclose(err.file);
    EXPECT_EQ(stdout_text, e.out);
    EXPECT_EQ(code, e.exit_code) << "stderr:\n" << stderr_text;
    if (e.check_err) {
        EXPECT_EQ(stderr_text, e.err);
    }
}

std::string test_name(const testing::TestParamInfo<GoldenRun>& info) {
    std::string name;
    for (char c : info.param.program) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Fast, Golden, testing::ValuesIn(all_runs(true)), test_name);
INSTANTIATE_TEST_SUITE_P(Plain, Golden, testing::ValuesIn(all_runs(false)), test_name);

}  // namespace
