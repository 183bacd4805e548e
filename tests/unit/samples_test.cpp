// The lesson programs in samples/ run through the headless runner without an error report or
// a math box, to their end or for a good while.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_text.h"
#include "runner.h"

namespace fs = std::filesystem;

namespace {

const fs::path samples_dir = fs::path(ZORVANT_SOURCE_DIR) / "samples";

struct Captured {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&data, &size);
    ~Captured() { std::free(data); }
    std::vector<std::string> lines() {
        std::fclose(file);
        file = nullptr;
        return split_lines(std::string(data, size));
    }
};

std::vector<std::string> sample_names() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(samples_dir)) {
        if (entry.path().extension() == ".bas") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Sample : public testing::TestWithParam<std::string> {};

TEST_P(Sample, RunsWithoutAnError) {
    const fs::path path = samples_dir / GetParam();
    Captured out;
    Captured err;
    const int code =
        runner_main({"--no-wait", "--max-steps", "200000", path.string()}, out.file, err.file);
    const std::vector<std::string> output = out.lines();
    const std::vector<std::string> errors = err.lines();
    EXPECT_TRUE(code == RUNNER_OK || code == RUNNER_STEP_LIMIT) << "exit " << code;
    for (const std::string& line : output) EXPECT_FALSE(line.starts_with("ERROR")) << line;
    // Standard error holds math boxes and the stop line; only the stop line may be there.
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.size(), 1u) << errors.front();
    EXPECT_TRUE(errors.back().starts_with("Stop in line: ")) << errors.back();
}

// A lesson starts with comment lines: its title, what it teaches, what to try.
TEST_P(Sample, StartsWithAHeader) {
    std::ifstream in(samples_dir / GetParam(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    const std::vector<std::string> lines = split_lines(s.str());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("//")) << lines[0];
    if (!GetParam().starts_with("0")) return;  // the older demo has a shorter header
    bool teaches = false;
    bool try_line = false;
    for (size_t i = 0; i < lines.size() && lines[i].starts_with("//"); ++i) {
        teaches = teaches || lines[i].starts_with("// Teaches:");
        try_line = try_line || lines[i].starts_with("// Try:");
    }
    EXPECT_TRUE(teaches && try_line) << GetParam();
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param.substr(0, info.param.find('.'));
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Lessons, Sample, testing::ValuesIn(sample_names()), test_name);

}  // namespace
