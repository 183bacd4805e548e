// The headless runner: reads a program file as LOAD does, prepares it as a fresh RUN does and
// runs it to its end on the same interpreter and device model as the window.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

enum RunnerExit {
    RUNNER_OK = 0,          // the run ended without an error report
    RUNNER_ERROR = 1,       // an error report or an arithmetic fault
    RUNNER_NOT_RUN = 2,     // unreadable file, program too large, or bad arguments
    RUNNER_STEP_LIMIT = 3,  // --max-steps reached
};

// `args` are the command-line arguments without the program name. Program output goes to
// `out`, math errors, the stop line and usage texts to `err`. Starts from a fresh machine.
int runner_main(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
