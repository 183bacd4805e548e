// Fuzz target: the runner's command line. The input is the argument vector, each NUL byte
// ending one argument, so empty arguments and arguments of any bytes are reachable. Only the
// parser runs: nothing here opens a file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "channels.h"
#include "grade.h"
#include "runner.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args;
    if (size > 0) {
        args.emplace_back();
        for (size_t i = 0; i < size; ++i) {
            if (data[i] == 0) {
                args.emplace_back();
            } else {
                args.back() += static_cast<char>(data[i]);
            }
        }
    }

    RunnerOptions options;
    std::string problem;
    const bool ok = runner_parse_args(args, options, problem);
    if (!ok) {
        check(!problem.empty());
        return 0;
    }
    check(problem.empty());
    if (options.help || options.version) return 0;
    // The files are arguments as given, not pieces of them: one to run, or some to grade.
    const auto given = [&](const std::string& file) {
        bool found = false;
        for (const std::string& a : args) found = found || a == file;
        return found;
    };
    if (options.grade_dir.empty()) {
        check(!options.file.empty() && given(options.file));
        check(options.files.empty() && options.junit.empty() && options.jobs == 0);
    } else {
        check(options.file.empty() && !options.files.empty());
        for (const std::string& file : options.files) check(given(file));
        check(options.settings.empty() && options.scenario.empty() && options.trace.empty());
        check(options.jobs >= 0 && options.jobs <= MAX_GRADE_JOBS);
    }
    // Only the eight sensors are inputs of a run; coils, bars and the timer are not.
    for (const auto& [channel, position] : options.settings) {
        (void)position;
        check(channel != Channel::Count && info_of(channel).mover == Mover::User);
    }
    check(options.max_steps >= -1);
    check(options.timeout_ms >= -1 && options.timeout_ms <= INT32_MAX);
    return 0;
}
