// The headless runner: reads a program file as LOAD does, prepares it as a fresh RUN does and
// runs it to its end on the same interpreter and device model as the window.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "channels.h"

enum RunnerExit {
    RUNNER_OK = 0,          // the run ended without an error report
    RUNNER_ERROR = 1,       // an error report or an arithmetic fault
    RUNNER_NOT_RUN = 2,     // unreadable file, program too large, or bad arguments
    RUNNER_STEP_LIMIT = 3,  // --max-steps reached
};

// `args` are the command-line arguments without the program name. Program output goes to
// `out`, math errors, the stop line and usage texts to `err`. Starts from a fresh machine.
int runner_main(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// What the command line asks for.
struct RunnerOptions {
    // Sensor positions to set before the run, in the order given; a later one for the same
    // channel wins.
    std::vector<std::pair<Channel, long long>> settings;
    bool vars = false;
    bool state = false;
    bool no_wait = false;
    long long max_steps = -1;  // -1: no limit
    bool help = false;     // --help: print the usage and what each option does
    bool version = false;  // --version
    std::string file;
};

// Reads the arguments without the program name. On failure `problem` says what is wrong, in
// the words the usage message shows; `options` may then be partly filled.
bool runner_parse_args(const std::vector<std::string>& args, RunnerOptions& options,
                       std::string& problem);
