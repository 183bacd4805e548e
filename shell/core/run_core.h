// The window-independent half of the run controller: a fresh start and one pass of the loop.
#pragma once

#include <string>
#include <vector>

#include "prepare.h"

// Resets the transmitter, prepares the editor lines and starts the interpreter on them. When
// the program cannot run, the interpreter is not started. `foreign_lines` as for
// prepare_program.
PreparedProgram run_fresh_start(const std::vector<std::string>& editor_lines,
                                const std::vector<int>& foreign_lines = {});

// One pass of the run loop: a statement when not paused and the resume time has come, then the
// transmission marked in the next waterfall row. Returns whether a statement ran.
bool run_pass(bool paused);
