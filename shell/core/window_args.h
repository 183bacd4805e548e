// The editor's command line: `zorvant [FILE]`, `--help`, `--version`.
#pragma once

#include <string>
#include <vector>

struct WindowArgs {
    enum class Action { OpenWindow, Help, Version, Usage };
    Action action = Action::OpenWindow;
    std::string file;     // the program to open, empty for an empty editor
    std::string problem;  // what is wrong when the action is Usage
};

// `args` without the program name. Options the toolkit reads itself ("-platform", "-style" and
// the like, with one dash) are left to it and not reported.
WindowArgs parse_window_args(const std::vector<std::string>& args);

// "usage: zorvant [FILE]" and a line on each option.
const char* window_usage();
const char* window_help();
