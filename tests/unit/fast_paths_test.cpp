// The comparison of the differential fuzz target, run over a fixed set of programs: the golden
// programs, the fuzz regressions and the training programs of the profiled build, each with the
// interpreter's shortcuts and without them, must end with the same output, variables, memory,
// stop line and end position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fast_paths_check.h"

namespace fs = std::filesystem;

namespace {

const char* const corpus_dirs[] = {"tests/programs", "fuzz/regressions", "bench/training"};

std::vector<std::string> corpus() {
    std::vector<std::string> paths;
    for (const char* dir : corpus_dirs) {
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(ZORVANT_SOURCE_DIR) / dir)) {
            if (entry.is_regular_file() && entry.path().extension() == ".bas") {
                paths.push_back(fs::relative(entry.path(), ZORVANT_SOURCE_DIR).string());
            }
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class FastAndPlain : public testing::TestWithParam<std::string> {};

TEST_P(FastAndPlain, RunAlike) {
    std::ifstream in(fs::path(ZORVANT_SOURCE_DIR) / GetParam(), std::ios::binary);
    ASSERT_TRUE(in) << GetParam();
    std::ostringstream text;
    text << in.rdbuf();
    const char* difference = fast_plain_difference(text.str());
    EXPECT_EQ(difference, nullptr) << "fast and plain paths differ: " << difference;
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, FastAndPlain, testing::ValuesIn(corpus()), test_name);

}  // namespace
