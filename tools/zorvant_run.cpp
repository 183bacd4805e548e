// zorvant-run: runs a program file without the window, for grading and for scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "runner.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return runner_main(args, stdout, stderr);
}
