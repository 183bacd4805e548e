// The checker. Every program under tests/checks, tests/programs and samples gives exactly the
// findings its "// finding: LINE:COLUMN: message" lines list, in order: the check programs one
// kind of finding each (those in tests/checks/clean, correct classroom programs, none), the golden
// programs none unless they hold a trap on purpose, the lessons and examples none at all. Then what
// a file cannot show (characters without an 8-bit form, line breaks, the statements the interpreter
// knows) and zorvant-run --check.
#include "checker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "device_stmts.h"
#include "interp.h"
#include "program_text.h"
#include "run_shell.h"
#include "tokens.h"

namespace fs = std::filesystem;

namespace {

const fs::path source_dir = ZORVANT_SOURCE_DIR;

std::vector<std::string> listed_findings(const std::string& bytes) {
    const std::string prefix = "// finding: ";
    std::vector<std::string> listed;
    for (const std::string& line : split_lines(bytes)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            listed.push_back(line.substr(prefix.size()));
    }
    return listed;
}

std::vector<std::string> findings_of(const std::string& text) {
    std::vector<std::string> texts;
    for (const Finding& f : check_program(text)) texts.push_back(finding_text(f));
    return texts;
}

// Relative to the source folder: tests/checks/..., tests/programs/..., samples/...
std::vector<std::string> checked_programs() {
    std::vector<std::string> paths;
    for (const char* dir : {"tests/checks", "tests/programs", "samples"}) {
        for (const auto& entry : fs::recursive_directory_iterator(source_dir / dir)) {
            if (entry.is_regular_file() && entry.path().extension() == ".bas") {
                paths.push_back(fs::relative(entry.path(), source_dir).string());
            }
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class CheckedProgram : public testing::TestWithParam<std::string> {};

TEST_P(CheckedProgram, GivesTheFindingsItLists) {
    const std::string& path = GetParam();
    const std::string bytes = read_file((source_dir / path).string());
    const std::vector<std::string> listed = listed_findings(bytes);
    if (path.rfind("samples/", 0) == 0 || path.rfind("tests/checks/clean/", 0) == 0) {
        EXPECT_TRUE(listed.empty()) << "a lesson, an example or a correct program checks clean";
    } else if (path.rfind("tests/checks/", 0) == 0) {
        EXPECT_FALSE(listed.empty()) << "a check program lists what it must find";
    }
    EXPECT_EQ(findings_of(file_bytes_to_text(bytes)), listed);
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, CheckedProgram, testing::ValuesIn(checked_programs()),
                         test_name);

// Every finding marks characters of its line and names a page of the language reference.
TEST(Checker, FindingsMarkTheirLineAndNameAHelpPage) {
    for (const std::string& path : checked_programs()) {
        const std::string text = file_bytes_to_text(read_file((source_dir / path).string()));
        const std::vector<std::string> lines = split_lines(text);
        for (const Finding& f : check_program(text)) {
            ASSERT_LT(static_cast<size_t>(f.line), lines.size()) << path;
            EXPECT_GE(f.length, 1) << path << ":" << finding_text(f);
            EXPECT_LE(static_cast<size_t>(f.column + f.length),
                      std::max<size_t>(lines[static_cast<size_t>(f.line)].size(), 1))
                << path << ":" << finding_text(f);
            const size_t hash = f.help_page.find('#');
            const fs::path page = source_dir / "shell/window/help" / f.help_page.substr(0, hash);
            EXPECT_TRUE(fs::exists(page)) << path << ": " << f.help_page;
            // A section of a page is an anchor of it.
            if (hash != std::string::npos) {
                const std::string anchor = "<a name=\"" + f.help_page.substr(hash + 1) + "\">";
                EXPECT_NE(read_file(page.string()).find(anchor), std::string::npos) << f.help_page;
            }
        }
    }
}

TEST(Checker, ErrorsStopARunWarningsDoNot) {
    const std::vector<Finding> both = check_program("IF 1<2 THEN PRINT 1 ELSE PRINT 2");
    ASSERT_EQ(both.size(), 1u);
    EXPECT_EQ(both[0].severity, Severity::Warning);
    EXPECT_EQ(both[0].help_page, "traps.html#if-then-else");

    const std::vector<Finding> stops = check_program("IF 1<2 THEN B=1 ELSE B=2");
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].severity, Severity::Error);
    EXPECT_EQ(stops[0].column, 16);
    EXPECT_EQ(stops[0].length, 4);  // ELSE

    const std::vector<Finding> lower = check_program("A=1\n  print A");
    ASSERT_EQ(lower.size(), 1u);
    EXPECT_EQ(lower[0].line, 1);
    EXPECT_EQ(lower[0].column, 2);
    EXPECT_EQ(lower[0].length, 5);
}

// An Error means a run that gets there stops. Each program with an Error finding is run: it
// stops with an error report on a line the checker marked red (a jump to no label where the
// search ends, further down), or RUN does not start it. The few listed take another way: a
// condition that is always true or false skips the statement, or a loop left by GOTO stops the
// run first, which a warning says.
TEST(Checker, AnErrorIsWhereTheRunStops) {
    const std::vector<std::string> elsewhere = {
        "tests/checks/jumps_out_of_loops.bas",
        "tests/programs/control/if_branches.bas",
        "tests/programs/control/if_jumps_else.bas",
        "tests/programs/control/if_nested_else.bas",
    };
    for (const std::string& path : checked_programs()) {
        if (path.rfind("samples/", 0) == 0) continue;
        const std::string text = file_bytes_to_text(read_file((source_dir / path).string()));
        std::vector<int> red;
        int search_from = INT_MAX;  // a jump to no label stops the run where its search ends
        for (const Finding& f : check_program(text)) {
            if (f.severity != Severity::Error) continue;
            red.push_back(f.line);
            if (f.message.rfind("There is no LABEL", 0) == 0) {
                search_from = std::min(search_from, f.line);
            }
        }
        if (red.empty()) continue;
        const ShellResult r =
            run_shell(std::string(ZORVANT_RUN) + " --no-wait --max-steps 100000 " +
                      (source_dir / path).string() + " 2>&1");
        const size_t at = r.out.find("ERROR in line: ");
        const int line = at == std::string::npos ? -1 : std::atoi(r.out.c_str() + at + 15);
        const bool stopped =
            at != std::string::npos &&
            (std::find(red.begin(), red.end(), line) != red.end() || line >= search_from);
        const bool not_started = r.out.find("ERROR: Program too large") != std::string::npos;
        const bool listed = std::find(elsewhere.begin(), elsewhere.end(), path) != elsewhere.end();
        EXPECT_TRUE(stopped || not_started || listed) << path << "\n" << r.out;
        EXPECT_FALSE(listed && stopped) << path << " is listed but stops where the checker says";
    }
}

// A few messages as a student reads them, word for word.
TEST(Checker, WordsAStudentKnows) {
    const auto first = [](const char* text) {
        const std::vector<Finding> found = check_program(text);
        return found.empty() ? std::string() : finding_text(found[0]);
    };
    EXPECT_EQ(first("INPUT A"),
              "0:0: There is no INPUT: a program reads the satellite's sensors with MGET, CGET, "
              "TGET and RX. A run stops here with an error.");
    EXPECT_EQ(first("PRNT \"HI\""),
              "0:0: \"PRNT\" is not a word of the language: did you mean PRINT? As it stands, a "
              "run stops here with an error.");
    EXPECT_EQ(first("A=SQRT(16)"),
              "0:2: SQRT is a statement, not a function: it stores its result in the variable "
              "named last. Write SQRT 16,A on a line of its own. A run stops here with an "
              "error.");
    EXPECT_EQ(first("MGET X"),
              "0:5: MGET needs \",\" here, not the end of the line: a run stops here with an "
              "error. The form is MGET X,Y,Z.");
    // STEP is no second statement: no advice about a ":".
    EXPECT_EQ(first("FOR I=0 TO 10 STEP 2\nNEXT I").find("\":\""), std::string::npos);
    // A word close to none stays a bad name.
    EXPECT_NE(first("XYZZY=1").find("is no variable"), std::string::npos);

    // What runs but not as written is amber.
    for (const char* amber : {"PRINT 1E5", "DELAY 0.5", "COIL 50,0,0", "FOR I=10 TO 1\nNEXT I",
                              "END // DONE", "GOSUB 1\nEND\nLABEL 1\nEND"}) {
        const std::vector<Finding> found = check_program(amber);
        ASSERT_EQ(found.size(), 1u) << amber;
        EXPECT_EQ(found[0].severity, Severity::Warning) << amber;
    }
    EXPECT_EQ(first("PRINT 1E5"),
              "0:6: PRINT 1E5 prints 100000 and then 5 (E5 is read once more, as E+5, with E at "
              "0): numbers have no E in this language. Write 100000.");
    EXPECT_TRUE(check_program("END\t").empty());
}

// The window's text is not 8-bit: a character without an 8-bit form reaches the checker as a
// stand-in and its place. A NUL can be in the text itself. Either keeps RUN from starting.
TEST(Checker, CharactersRunCannotStartWith) {
    const std::string text = std::string("PRINT \"A?B\"\n// ?\nA=1") + '\0' + "\n";
    const TextPoint foreign[] = {{0, 8}, {1, 3}};
    const std::vector<Finding> found = check_program(text, foreign);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].line, 0);
    EXPECT_EQ(found[0].column, 8);
    EXPECT_EQ(found[1].line, 2);
    EXPECT_EQ(found[1].column, 3);
    for (const Finding& f : found) {
        EXPECT_EQ(f.severity, Severity::Error);
        EXPECT_NE(f.message.find("RUN does not start"), std::string::npos) << f.message;
    }
    // The stand-in itself is not reported a second time where the scanner meets it.
    EXPECT_EQ(check_program("A=?", std::vector<TextPoint>{{0, 2}}).size(), 1u);
}

// Lines end as LOAD splits them, so line numbers agree with the editor's.
TEST(Checker, LineBreaksOfEveryKind) {
    const std::vector<Finding> found = check_program("A=1\r\nPRINT A\rGOTO 5\n");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(finding_text(found[0]),
              "2:5: There is no LABEL 5: a run looks for it through the whole program and stops "
              "at the last line. Put LABEL 5 where the GOTO should go, or GOTO a label that "
              "exists.");
}

// The checker knows the form of every statement the interpreter runs, the device's included,
// and takes every other word for an unknown command, as a run does.
TEST(Checker, KnowsEveryStatementTheInterpreterRuns) {
    device_register_statements();
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        bool said_unknown = false;
        for (const Finding& f : check_program(k->keyword)) {
            said_unknown = said_unknown || f.message.find("Unknown command") != std::string::npos;
        }
        EXPECT_EQ(said_unknown, !interp_has_executor(k->token)) << k->keyword;
    }
}

// A bounded check keeps the first findings by line and column, whichever pass found them, and
// counts the rest; the findings of later passes (labels, loops) come in out of line order.
TEST(Checker, BoundedKeepsTheFirstAndCountsTheRest) {
    std::string text;
    for (int k = 0; k < 60; ++k) text += "GOTO 7\nIF A<=1 THEN A=2\nFOR I=1 TO 2\n";
    text += "END\n";
    const std::vector<Finding> all = check_program(text);
    ASSERT_GT(all.size(), 120u);
    for (const size_t limit :
         {size_t{0}, size_t{1}, size_t{7}, size_t{100}, all.size(), size_t{5000}}) {
        const BoundedFindings some = check_program_bounded(text, limit);
        const size_t kept = std::min(limit, all.size());
        ASSERT_EQ(some.findings.size(), kept) << limit;
        EXPECT_EQ(some.more, all.size() - kept) << limit;
        for (size_t k = 0; k < kept; ++k)
            EXPECT_EQ(finding_text(some.findings[k]), finding_text(all[k])) << limit << " " << k;
    }
}

// zorvant-run --check prints FILE:LINE:COLUMN: SEVERITY: message, lines and columns from 1, and
// does not run the program.
TEST(Checker, RunnerCheckOption) {
    const std::string clean = write_temp_file("clean.bas", "PRINT \"HI\"\r\nEND\r\n");
    ShellResult r = run_shell(std::string(ZORVANT_RUN) + " --check " + clean);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");

    const std::string bad = write_temp_file(
        "bad.bas",
        "// three findings\nA=1\nIF A<=1 THEN A=2\nGOTO 7\nIF A<2 THEN PRINT 1 ELSE END\n");
    r = run_shell(std::string(ZORVANT_RUN) + " --check -- " + bad);
    EXPECT_EQ(r.code, 1);
    const std::vector<std::string> lines = split_lines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(lines[0].rfind(bad + ":3:5: error: \"<=\" is not an operator", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind(bad + ":4:6: error: There is no LABEL 7", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind(bad + ":5:21: warning: When the condition holds, PRINT takes", 0), 0u)
        << lines[2];

    // Of many findings, the first and how many more.
    std::string many;
    for (size_t k = 0; k < MAX_REPORTED_FINDINGS + 3; ++k) many += "GOTO 7\n";
    const std::string crowded = write_temp_file("crowded.bas", many);
    r = run_shell(std::string(ZORVANT_RUN) + " --check " + crowded);
    EXPECT_EQ(r.code, 1);
    const std::vector<std::string> listed = split_lines(r.out);
    ASSERT_EQ(listed.size(), MAX_REPORTED_FINDINGS + 1);
    EXPECT_EQ(listed.back(), crowded + ": and 3 more (3 errors)");

    // A file that cannot be read, and options that would run the program.
    r = run_shell(std::string(ZORVANT_RUN) + " --check " + testing::TempDir() + "none.bas 2>&1");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("cannot read"), std::string::npos) << r.out;
    for (const char* args :
         {" --check --vars ", " --check --grade cases ", " --max-steps 5 --check "}) {
        r = run_shell(std::string(ZORVANT_RUN) + args + clean + " 2>&1");
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.out.find("usage: zorvant-run"), std::string::npos) << args;
    }
}

}  // namespace
