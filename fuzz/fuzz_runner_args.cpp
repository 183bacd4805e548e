// Fuzz target: the runner's command line. The input is the argument vector, each NUL byte
// ending one argument, so empty arguments and arguments of any bytes are reachable. Only the
// parser runs: nothing here opens a file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "channels.h"
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
    check(!options.file.empty());
    // The file is one of the arguments as given, not a piece of one.
    bool given = false;
    for (const std::string& a : args) given = given || a == options.file;
    check(given);
    // Only the eight sensors are inputs of a run; coils, bars and the timer are not.
    for (const auto& [channel, position] : options.settings) {
        (void)position;
        const int c = static_cast<int>(channel);
        check(c >= static_cast<int>(Channel::MagX) && c <= static_cast<int>(Channel::Rx));
    }
    check(options.max_steps >= -1);
    return 0;
}
