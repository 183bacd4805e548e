// The editor's command line, read before any window or display exists.
#include <gtest/gtest.h>

#include "window_args.h"

namespace {

using Action = WindowArgs::Action;

TEST(WindowArgs, FileHelpVersionAndMistakes) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string file_or_problem;
    };
    const Case cases[] = {
        {{}, Action::OpenWindow, ""},
        {{"prog.bas"}, Action::OpenWindow, "prog.bas"},
        {{"--", "--help"}, Action::OpenWindow, "--help"},
        // The toolkit's own options and their values are not files.
        {{"-platform", "offscreen", "prog.bas", "-reverse"}, Action::OpenWindow, "prog.bas"},
        {{"prog.bas", "--help"}, Action::Help, ""},
        {{"--version", "--bogus"}, Action::Version, ""},
        {{"--bogus"}, Action::Usage, "unknown option '--bogus'"},
        {{"-x"}, Action::Usage, "unknown option '-x'"},
        {{"a.bas", "b.bas"}, Action::Usage, "more than one FILE"},
    };
    for (const Case& c : cases) {
        const WindowArgs a = parse_window_args(c.args);
        const std::string seen = a.action == Action::Usage ? a.problem : a.file;
        EXPECT_EQ(a.action, c.action) << testing::PrintToString(c.args);
        EXPECT_EQ(seen, c.file_or_problem) << testing::PrintToString(c.args);
    }
}

}  // namespace
