// Grading through the real executable: verdicts and their words, the JUnit report, the order
// of the lines whatever runs at once, and case folders that stop a grading before it starts.
#include <expat.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "checker.h"
#include "run_shell.h"
#include "runner.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder of cases and programs under the test's temporary folder.
class Grading : public testing::Test {
   protected:
    void SetUp() override {
        root_ = testing::TempDir() + "grading-" +
                testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        fs::remove_all(root_);
        fs::create_directories(root_ + "cases");
    }
    void add(const std::string& relative, const std::string& bytes) {
        fs::create_directories(fs::path(root_ + relative).parent_path());
        std::ofstream(root_ + relative, std::ios::binary) << bytes;
    }
    // Runs the grader from the root folder, so that file names in its lines stay short.
    ShellResult grade(const std::string& args) {
        return run_shell("cd " + root_ + " && " + ZORVANT_RUN + " --grade cases " + args + " 2>&1");
    }
    void add_two_cases() {
        add("cases/output/expect", "1\n2\n3\n");
        add("cases/state/args", "--set magx=50\n");
        add("cases/state/expect-state", "A: 0.5\r\n\ntb_coix = -50\n");
    }
    std::string root_;
};

// What a student writes right: three lines, then the coil against the field.
const char* const GOOD = "PRINT 1\nPRINT 2\nPRINT 3\nMGET A,B,C\nCOIL -A,0,0\n";

TEST_F(Grading, VerdictsNameTheFirstDifference) {
    add_two_cases();
    add("good.bas", GOOD);
    add("wrong_line.bas", "PRINT 1\nPRINT 5\nPRINT 3\nMGET A,B,C\nCOIL -A,0,0\n");
    add("short.bas", "PRINT 1\nPRINT 2\nMGET A,B,C\nCOIL -A,0,0\n");
    add("long.bas", std::string(GOOD) + "PRINT \"\"\n");
    add("sign.bas", "PRINT 1\nPRINT 2\nPRINT 3\nMGET A,B,C\nCOIL A,0,0\n");
    add("error.bas", "PRINT 1\nRETURN\n");
    // Right output, then an endless loop: no answer, whatever it printed.
    add("endless.bas", std::string(GOOD) + "LABEL 1\nGOTO 1\n");
    // Bytes that could steer a terminal are shown, not sent.
    add("control.bas", "PRINT \"\x1b[2J\x01\"\n");
    const ShellResult r = grade(
        "good.bas wrong_line.bas short.bas long.bas sign.bas error.bas endless.bas control.bas "
        "missing.bas");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
              "PASS good.bas output\n"
              "PASS good.bas state\n"
              "FAIL wrong_line.bas output: output line 2 (from 1): got 5, expected 2\n"
              "PASS wrong_line.bas state\n"
              "FAIL short.bas output: output line 3 (from 1): got the end of the output, expected 3\n"
              "PASS short.bas state\n"
              "FAIL long.bas output: output line 4 (from 1): got an empty line, expected the end of the "
              "output\n"
              "PASS long.bas state\n"
              "PASS sign.bas output\n"
              "FAIL sign.bas state: state tb_coix: got 50, expected -50\n"
              "FAIL error.bas output: exit 1: RETURN does not match: RETURN came with no GOSUB "
              "waiting: the run reached it without a GOSUB (line 1: RETURN) (ERROR in line: 1, "
              "ERROR: RETURN does not match)\n"
              "FAIL error.bas state: exit 1: RETURN does not match: RETURN came with no GOSUB "
              "waiting: the run reached it without a GOSUB (line 1: RETURN) (ERROR in line: 1, "
              "ERROR: RETURN does not match)\n"
              "FAIL endless.bas output: did not end within 10,000,000 steps\n"
              "FAIL endless.bas state: did not end within 10,000,000 steps\n"
              "FAIL control.bas output: output line 1 (from 1): got \\x1B[2J\\x01, expected 1\n"
              "FAIL control.bas state: variable A: got 0, expected 0.5\n"
              "FAIL missing.bas output: exit 2: cannot read missing.bas: No such file or "
              "directory\n"
              "FAIL missing.bas state: exit 2: cannot read missing.bas: No such file or "
              "directory\n"
              "6 passed, 12 failed\n");
    EXPECT_EQ(grade("good.bas").code, 0);
}

// The case's own args decide what its output is: --vars there makes the variables part of the
// output the expect file gives, while the --state that expect-state needs stays out of it.
TEST_F(Grading, OutputIsWhatTheCaseArgsPrint) {
    std::string vars = "1\n2\n3\nA: 0\nB: 0\n";
    for (char v = 'C'; v <= 'Z'; ++v) vars += std::string(1, v) + ": 0\n";
    add("cases/vars/args", "--vars --max-steps 3");
    add("cases/vars/runs-on", "");
    add("cases/vars/expect", vars);
    add("cases/vars/expect-state", "tb_coix=0\npb_spd=4\n");
    add("good.bas", GOOD);
    EXPECT_EQ(grade("good.bas").out, "PASS good.bas vars\n1 passed, 0 failed\n");
}

// The report's elements in document order, each with its depth: a small XML reader that knows
// elements, attributes, text and the five entities of XML, and fails on anything else, a '<',
// '>' or '&' left unescaped included.
struct Element {
    std::string name;
    size_t depth;
    std::map<std::string, std::string> attributes;
    std::string text;
};

bool unescape(std::string_view s, std::string& out) {
    static const std::map<std::string, char, std::less<>> entities = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '<' || s[i] == '>' || s[i] == '"') return false;
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const size_t semi = s.find(';', i);
        const auto e = entities.find(s.substr(i, semi - i + 1));
        if (semi == std::string_view::npos || e == entities.end()) return false;
        out += e->second;
        i = semi;
    }
    return true;
}

bool read_xml(const std::string& xml, std::vector<Element>& elements) {
    const std::string prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (xml.rfind(prolog, 0) != 0) return false;
    std::vector<size_t> open;  // the elements not closed yet
    for (size_t i = prolog.size(); i < xml.size();) {
        const size_t lt = std::min(xml.find('<', i), xml.size());
        std::string text;
        if (!unescape(std::string_view(xml).substr(i, lt - i), text)) return false;
        if (!open.empty()) elements[open.back()].text += text;
        const size_t gt = xml.find('>', lt);
        if (lt == xml.size()) break;
        if (gt == std::string::npos) return false;
        std::string_view tag = std::string_view(xml).substr(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (tag.starts_with('/')) {
            if (open.empty() || elements[open.back()].name != tag.substr(1)) return false;
            open.pop_back();
            continue;
        }
        const bool closed = tag.ends_with('/');
        if (closed) tag.remove_suffix(1);
        Element e{std::string(tag.substr(0, tag.find(' '))), open.size(), {}, {}};
        // Attributes: name="value", one space before each.
        for (size_t at = e.name.size(); at < tag.size();) {
            const size_t eq = tag.find("=\"", at);
            const size_t end = tag.find('"', eq + 2);
            if (tag[at] != ' ' || end == std::string_view::npos) return false;
            std::string& value = e.attributes[std::string(tag.substr(at + 1, eq - at - 1))];
            if (!unescape(tag.substr(eq + 2, end - eq - 2), value)) return false;
            at = end + 1;
        }
        if (!closed) open.push_back(elements.size());
        elements.push_back(std::move(e));
    }
    return open.empty() && !elements.empty();
}

TEST_F(Grading, JUnitReportHoldsEveryVerdict) {
    add_two_cases();
    // Markup characters in a case name and in a program's output.
    add("cases/a&b \"c\" <d>/expect", "1\n");
    add("good.bas", GOOD);
    add("odd.bas", "PRINT \"<&>\"\n");
    const ShellResult r = grade("--junit report.xml good.bas odd.bas");
    EXPECT_EQ(r.code, 1);
    std::vector<Element> xml;
    ASSERT_TRUE(read_xml(read_file(root_ + "report.xml"), xml)) << read_file(root_ + "report.xml");

    // testsuites > testsuite per file > testcase per case > failure when it failed.
    const std::string cases[] = {"a&b \"c\" <d>", "output", "state"};
    const std::string files[] = {"good.bas", "odd.bas"};
    size_t e = 0;
    ASSERT_EQ(xml[e].name, "testsuites");
    EXPECT_EQ(xml[e].attributes["tests"], "6");
    EXPECT_EQ(xml[e++].attributes["failures"], "4");
    for (int f = 0; f < 2; ++f) {
        ASSERT_LT(e, xml.size());
        EXPECT_EQ(xml[e].name + " " + xml[e].attributes["name"], "testsuite " + files[f]);
        EXPECT_EQ(xml[e].depth, 1u);
        EXPECT_EQ(xml[e++].attributes["failures"], f == 0 ? "1" : "3");
        for (int k = 0; k < 3; ++k) {
            ASSERT_LT(e, xml.size());
            EXPECT_EQ(xml[e].name + " " + xml[e].attributes["name"], "testcase " + cases[k]);
            EXPECT_EQ(xml[e].depth, 2u);
            EXPECT_EQ(xml[e++].attributes["classname"], files[f]);
            if (f == 0 && k > 0) continue;  // passed: no failure inside
            // The same words as the line on standard output.
            ASSERT_LT(e, xml.size());
            Element& failure = xml[e++];
            EXPECT_EQ(failure.name, "failure");
            EXPECT_EQ(failure.depth, 3u);
            EXPECT_EQ(failure.text, failure.attributes["message"]);
            const std::string line = "FAIL " + files[f] + " " + cases[k] + ": " + failure.text;
            EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << line;
            // What the program printed comes with the failure, line breaks and all.
            ASSERT_LT(e, xml.size());
            EXPECT_EQ(xml[e].name, "system-out");
            const std::string printed = f == 0 ? "1\n2\n3\n" : "<&>\n";
            EXPECT_EQ(xml[e++].text.substr(0, printed.size()), printed);
        }
    }
    EXPECT_EQ(e, xml.size());
    EXPECT_NE(r.out.find("FAIL odd.bas output: output line 1 (from 1): got <&>, expected 1\n"),
              std::string::npos);

    // A report that cannot be written is no success, even when every case passed.
    const ShellResult lost = grade("--junit no-such-folder/report.xml good.bas");
    EXPECT_EQ(lost.code, 2);
    EXPECT_NE(lost.out.find("zorvant-run: cannot write no-such-folder/report.xml: "),
              std::string::npos);
}

// A limit that ends a run is a failure unless the case says the program runs on, and the
// reason names the limit, never the end of the output.
TEST_F(Grading, ReachingALimitFailsUnlessTheCaseRunsOn) {
    add("cases/steps/args", "--max-steps 100");
    add("cases/steps/expect", "1\n");
    add("cases/time/args", "--timeout 500");
    add("cases/time/expect", "1\n");
    add("cases/sampled/args", "--timeout 500");
    add("cases/sampled/expect", "1\n");
    add("cases/sampled/runs-on", "");
    add("silent.bas", "LABEL 1\nGOTO 1\n");
    add("waits.bas", "PRINT 1\nLABEL 1\nDELAY 100\nGOTO 1\n");
    add("ends.bas", "PRINT 1\n");
    const ShellResult r = grade("silent.bas waits.bas ends.bas");
    EXPECT_EQ(r.out,
              "FAIL silent.bas sampled: output line 1 (from 1): got the end of the output, "
              "expected 1\n"
              "FAIL silent.bas steps: did not end within 100 steps\n"
              "FAIL silent.bas time: did not end within 10,000,000 steps\n"
              "PASS waits.bas sampled\n"
              "FAIL waits.bas steps: did not end within 100 steps\n"
              "FAIL waits.bas time: did not end within 500 ms\n"
              "PASS ends.bas sampled\n"
              "PASS ends.bas steps\n"
              "PASS ends.bas time\n"
              "4 passed, 5 failed\n");
}

// Spaces at a line's ends are counted in quotes; other invisible bytes are escaped.
TEST_F(Grading, ReasonsShowWhatCannotBeSeen) {
    add("cases/c/expect", "DONE\n");
    add("trailing.bas", "PRINT \"DONE \"\n");
    add("both.bas", "PRINT \"  DONE  \"\n");
    add("blank.bas", "PRINT \"   \"\n");
    add("tab.bas", "PRINT \"DO\tNE\"\n");
    EXPECT_EQ(grade("trailing.bas both.bas blank.bas tab.bas").out,
              "FAIL trailing.bas c: output line 1 (from 1): got \"DONE \" (1 space at the end), "
              "expected DONE\n"
              "FAIL both.bas c: output line 1 (from 1): got \"  DONE  \" (2 spaces at the start "
              "and 2 spaces at the end), expected DONE\n"
              "FAIL blank.bas c: output line 1 (from 1): got a line of 3 spaces, expected DONE\n"
              "FAIL tab.bas c: output line 1 (from 1): got DO\\x09NE, expected DONE\n"
              "0 passed, 4 failed\n");
}

// One row a file, in byte order whatever the order of the files; findings as --check counts
// them; the first failure with its case. A long output reaches the report shortened.
TEST_F(Grading, SummaryHasOneRowPerFile) {
    add("cases/a/expect", "1\n");
    add("cases/b/expect", "1\n");
    add("z.bas", "PRINT 1\n");
    add("m,1.bas", "PRINT 2\nGOTO 7\n");
    add("long.bas", "FOR I = 1 TO 20000\nPRINT I\nNEXT I\n");
    const ShellResult r = grade("--summary s.csv --junit r.xml z.bas m,1.bas long.bas");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(read_file(root_ + "s.csv"),
              "file,passed,cases,mission_score,findings,first_failure,errors,warnings\n"
              "\"m,1.bas\",0,2,,1,\"a: exit 1: Expected token 1, got 2: There is no LABEL 7 in "
              "the program: GOTO 7 has nowhere to go (line 1: GOTO 7) (ERROR in line: 1, ERROR: "
              "Expected token 1, got 2)\",1,0\n"
              "long.bas,0,2,,0,\"a: output line 2 (from 1): got 2, expected the end of the "
              "output\",0,0\n"
              "z.bas,2,2,,0,,0,0\n");
    const std::string xml = read_file(root_ + "r.xml");
    EXPECT_NE(xml.find("\n[... 98,654 bytes left out ...]\n"), std::string::npos);
    EXPECT_LT(xml.size(), 40'000u);
    // What the checker sees comes with each failure of a file it finds something in.
    const std::string findings =
        "<system-err>The checker&apos;s findings in m,1.bas (editor lines and columns, from 0):\n"
        "1:5: error: There is no LABEL 7: a run looks for it through the whole program and stops "
        "at the last line. Put LABEL 7 where the GOTO should go, or GOTO a label that exists.\n"
        "</system-err>";
    size_t count = 0;
    for (size_t at = xml.find(findings); at != std::string::npos; at = xml.find(findings, at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(xml.find("<system-err>The checker's findings in long.bas"), std::string::npos);
}

// Names are bytes: a line break, a terminal's control sequence, a character XML has not, no
// UTF-8 at all. The lines show them escaped, so none can forge a verdict, and the report stays
// XML that a real parser reads.
TEST_F(Grading, NamesCanNeitherForgeALineNorBreakTheReport) {
    std::vector<std::string> names = {"a\nPASS b.bas output", "\x1b[2J",          "\xEF\xBF\xBE",
                                      "\xEF\xBF\xBF",         "\xED\xA0\x80\xC0", "-x"};
    std::mt19937 random(7);
    for (int n = 0; n < 6; ++n) {
        std::string name = "_";  // a folder whose name starts with '.' is no case
        for (int k = 0; k < 12; ++k) {
            const char c = static_cast<char>(1 + random() % 255);
            name += c == '/' ? '_' : c;
        }
        names.push_back(name);
    }
    for (const std::string& name : names) add("cases/" + name + "/expect", "1\n");
    // The names are files too, files that are not there: every run fails.
    std::vector<std::string> args = {"--grade", root_ + "cases", "--junit", root_ + "r.xml", "--"};
    args.insert(args.end(), names.begin(), names.end());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out != nullptr && err != nullptr);
    EXPECT_EQ(runner_main(args, out, err, ZORVANT_RUN), 1);
    std::string lines(static_cast<size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    ASSERT_EQ(std::fread(lines.data(), 1, lines.size(), out), lines.size());
    std::fclose(out);
    std::fclose(err);

    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), names.size() * names.size() + 1);
    for (const char c : lines) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << lines;
    EXPECT_NE(lines.find("\nFAIL a\\x0APASS b.bas output a\\x0APASS b.bas output: exit 2: "),
              std::string::npos);

    const std::string xml = read_file(root_ + "r.xml");
    XML_Parser parser = XML_ParserCreate(nullptr);
    size_t testcases = 0;
    XML_SetUserData(parser, &testcases);
    XML_SetStartElementHandler(parser, [](void* count, const XML_Char* name, const XML_Char**) {
        *static_cast<size_t*>(count) += std::string_view(name) == "testcase" ? 1 : 0;
    });
    const bool parsed =
        XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
    EXPECT_TRUE(parsed) << XML_ErrorString(XML_GetErrorCode(parser)) << " at line "
                        << XML_GetCurrentLineNumber(parser) << ":\n"
                        << xml;
    XML_ParserFree(parser);
    EXPECT_EQ(testcases, names.size() * names.size());
}

// The report replaces its file at the end: never one that was graded, named through a link or
// not, nor a case's file.
TEST_F(Grading, ReportIsNeverAnInputFile) {
    add_two_cases();
    add("good.bas", GOOD);
    ASSERT_EQ(symlink("good.bas", (root_ + "link.xml").c_str()), 0);
    // Files a mission names beside it are inputs too.
    add("cases/m/mission", "sim = own.sim\nscenario = events\ngoal = A < 5\n");
    add("cases/m/own.sim", "field_b0_t = 0\n");
    add("cases/m/events", "0 colr=1\n");
    for (const std::string option : {"--junit ", "--summary "}) {
        for (const std::string report :
             {"good.bas", "link.xml", "cases/output/expect", "cases/m/own.sim", "cases/m/events"}) {
            const ShellResult r = grade(option + report + " good.bas");
            EXPECT_EQ(r.code, 2) << report;
            EXPECT_EQ(r.out, "zorvant-run: " + report + " is also an input file\n");
        }
    }
    // Nor does one report replace the other.
    for (const std::string summary : {"r.xml", "./r.xml"}) {
        const ShellResult r = grade("--junit r.xml --summary " + summary + " good.bas");
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "zorvant-run: --junit and --summary both name " + summary + "\n");
    }
    EXPECT_FALSE(fs::exists(root_ + "r.xml"));
    EXPECT_EQ(read_file(root_ + "good.bas"), GOOD);
    EXPECT_EQ(read_file(root_ + "cases/output/expect"), "1\n2\n3\n");
    EXPECT_EQ(read_file(root_ + "cases/m/events"), "0 colr=1\n");
}

// A submission is a regular file: through a link a run would read whatever it points to, the
// grader's own environment included, and the reports would show it. The others are graded.
TEST_F(Grading, OnlyRegularFilesAreRun) {
    add("cases/c/expect", "1\n");
    add("good.bas", "PRINT 1\n");
    ASSERT_EQ(symlink("/proc/self/environ", (root_ + "env.bas").c_str()), 0);
    ASSERT_EQ(symlink("good.bas", (root_ + "link.bas").c_str()), 0);
    ASSERT_EQ(mkfifo((root_ + "fifo.bas").c_str(), 0600), 0);
    fs::create_directories(root_ + "dir.bas");
    const ShellResult r =
        grade("--junit r.xml --summary s.csv env.bas link.bas fifo.bas dir.bas good.bas");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
              "FAIL env.bas c: not run: It is a symbolic link\n"
              "FAIL link.bas c: not run: It is a symbolic link\n"
              "FAIL fifo.bas c: not run: It is not a regular file\n"
              "FAIL dir.bas c: not run: It is not a regular file\n"
              "PASS good.bas c\n"
              "1 passed, 4 failed\n");
    const std::string xml = read_file(root_ + "r.xml");
    EXPECT_EQ(xml.find("PATH="), std::string::npos);
    EXPECT_EQ(xml.find("<system-"), std::string::npos);
    EXPECT_EQ(read_file(root_ + "s.csv"),
              "file,passed,cases,mission_score,findings,first_failure,errors,warnings\n"
              "dir.bas,0,1,,,c: not run: It is not a regular file,,\n"
              "env.bas,0,1,,,c: not run: It is a symbolic link,,\n"
              "fifo.bas,0,1,,,c: not run: It is not a regular file,,\n"
              "good.bas,1,1,,0,,0,0\n"
              "link.bas,0,1,,,c: not run: It is a symbolic link,,\n");
}

// A name that a spreadsheet would evaluate reaches the summary as text, also through the
// script that merges the summaries of parts, which keeps the rows as one grading sorts them.
TEST_F(Grading, SummaryFieldsAreNoFormulas) {
    add("cases/=c/expect", "1\n");
    const std::vector<std::string> names = {"=1+1.bas", "+a.bas", "-a.bas", "@a.bas", "a=.bas"};
    std::string files;
    for (const std::string& name : names) {
        add(name, "PRINT 2\n");
        files += " " + name;
    }
    EXPECT_EQ(grade("--summary s.csv --" + files).code, 1);
    const std::string row = ",0,1,,0,\"'=c: output line 1 (from 1): got 2, expected 1\",0,0\n";
    const std::string header =
        "file,passed,cases,mission_score,findings,first_failure,errors,warnings\n";
    const std::string expected = header + "\"'+a.bas\"" + row + "\"'-a.bas\"" + row +
                                 "\"'=1+1.bas\"" + row + "\"'@a.bas\"" + row + "a=.bas" + row;
    EXPECT_EQ(read_file(root_ + "s.csv"), expected);

    // Parts: the grader's rows as they are, and rows an older grader wrote, neutralised.
    add("part-0.csv", header + "\"'-a.bas\"" + row + "a=.bas" + row);
    add("part-1.csv", header +
                          "=1+1.bas,0,1,,0,=c: output line 1 (from 1): got 2, expected 1,0,0\n" +
                          "\"+a.bas\"" + row + "\"'@a.bas\"" + row);
    const std::string merge =
        "cd " + root_ + " && sh " + ZORVANT_SOURCE_DIR + "/dist/ci/zorvant-merge-summaries m.csv ";
    const ShellResult merged = run_shell(merge + "part-0.csv part-1.csv 2>&1");
    EXPECT_EQ(merged.code, 0) << merged.out;
    EXPECT_EQ(read_file(root_ + "m.csv"), expected);
    // A summary of an older grader, without the errors and warnings, does not mix with them.
    add("part-2.csv", "file,passed,cases,mission_score,findings,first_failure\na.bas,1,1,,0,\n");
    EXPECT_EQ(run_shell(merge + "part-0.csv part-2.csv 2>&1").out,
              "zorvant-merge-summaries: part-2.csv has other columns than part-0.csv\n");
}

// The script that grades a part: "--" ends its options, and a part that is no number is
// refused instead of grading nothing.
TEST_F(Grading, PartScriptChecksItsArguments) {
    const std::string script = "cd " + root_ + " && ZORVANT_RUN=echo sh " + ZORVANT_SOURCE_DIR +
                               "/dist/ci/zorvant-grade-part ";
    ShellResult r = run_shell(script + "0 1 cases out -- a.bas 2>&1");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "--grade cases --junit out.xml --summary out.csv -- a.bas\n");
    const std::string usage = "usage: zorvant-grade-part [--] K N CASES OUT [--] FILE...\n";
    for (const std::string bad : {"'' 3", "1 ''", "-1 3", "08 9", "2 x", "3 3", "0 0"}) {
        r = run_shell(script + bad + " cases out a.bas 2>&1");
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_TRUE(r.out.ends_with(usage)) << bad << ": " << r.out;
    }
}

// A mission's goals are judged from the result the run hands the grader, never from the lines
// that happen to be left of a long output: one goal missed of thousands fails the case, and
// the score counts it.
TEST_F(Grading, AMissedGoalAmongThousandsFails) {
    std::string mission = "time = 1\n";
    for (int i = 0; i < 3000; ++i) mission += "goal = A < 5\n";
    add("cases/m/mission", mission + "goal = A > 5\n");
    add("quiet.bas", "PRINT 1\n");
    const ShellResult r = grade("--summary s.csv quiet.bas");
    EXPECT_EQ(r.out,
              "FAIL quiet.bas m: mission goal missed: A > 5: A first out of bounds at 0 s; worst 0 "
              "at 0 s: 5 below 5\n"
              "0 passed, 1 failed\n");
    EXPECT_EQ(read_file(root_ + "s.csv"),
              "file,passed,cases,mission_score,findings,first_failure,errors,warnings\n"
              "quiet.bas,0,1,99,0,m: mission goal missed: A > 5: A first out of bounds at 0 s; "
              "worst 0 at 0 s: 5 below 5,0,0\n");
}

// The missions' mean score is the mean of their fractions, rounded: a third and a whole make
// 66.7 %, shown as 67.
TEST_F(Grading, TheMeanMissionScoreIsRounded) {
    add("cases/a/mission", "time = 1\ngoal = A < 5\ngoal = A > 5\ngoal = A > 6\n");
    add("cases/b/mission", "time = 1\ngoal = A < 5\n");
    add("quiet.bas", "PRINT 1\n");
    grade("--summary s.csv quiet.bas");
    const std::string csv = read_file(root_ + "s.csv");
    EXPECT_NE(csv.find("\nquiet.bas,1,2,67,0,a: mission goal missed: "), std::string::npos) << csv;
}

// A file of findings without end: the reports show the first ones and how many more there are,
// and stay small; the summary counts them all, as --check does at its end.
TEST_F(Grading, ReportsShowTheFirstFindingsOnly) {
    add("cases/a/expect", "1\n");
    add("cases/b/expect", "1\n");
    std::string lines;
    for (int i = 0; i < 512 * 1024; ++i) lines += "a\n";
    add("a.bas", lines);
    EXPECT_EQ(grade("--junit r.xml --summary s.csv a.bas").code, 1);
    // --check's last line: "a.bas: and N more".
    const std::string last = run_shell("cd " + root_ + " && " + ZORVANT_RUN +
                                       " --check a.bas | tail -n 1").out;
    ASSERT_EQ(last.rfind("a.bas: and ", 0), 0u) << last;
    const size_t found = MAX_REPORTED_FINDINGS + std::stoul(last.substr(11));
    const std::string more = "\nand " + std::to_string(found - MAX_REPORTED_FINDINGS) + " more (" +
                             std::to_string(found - MAX_REPORTED_FINDINGS) + " errors)\n";
    const std::string xml = read_file(root_ + "r.xml");
    EXPECT_LT(xml.size(), 200'000u);  // two failed cases, each with its share of findings
    EXPECT_NE(xml.find(more + "</system-err>"), std::string::npos);
    const std::string csv = read_file(root_ + "s.csv");
    EXPECT_NE(csv.find("\na.bas,0,2,," + std::to_string(found) + ","), std::string::npos) << csv;
    std::string errors = ",";  // all of them errors
    errors += std::to_string(found);
    errors += ",0\n";
    EXPECT_TRUE(csv.ends_with(errors)) << csv;
}

// A program the runner refuses to start says why in its verdict.
TEST_F(Grading, AProgramTooLargeSaysSo) {
    add("cases/c/expect", "1\n");
    std::string big;
    for (int i = 0; i < 20001; ++i) big += "PRINT 1\n";
    add("big.bas", big);
    EXPECT_EQ(grade("big.bas").out,
              "FAIL big.bas c: exit 2: The program has 20001 lines, more than the 20000 that "
              "fit: it cannot start (ERROR: Program too large: 20001 lines, limit 20000)\n"
              "0 passed, 1 failed\n");
}

// A run's report reaches the grader from the run, not from what the program prints.
TEST_F(Grading, AProgramCannotForgeItsReport) {
    add("cases/c/expect", "1\n");
    add("forged.bas", "PRINT \"ERROR in line: 9\"\nPRINT \"ERROR: Overflow\"\nA=1/0\n");
    EXPECT_EQ(grade("forged.bas").out,
              "FAIL forged.bas c: exit 1: Division by zero: Dividing by 0 stops the run (line 2: "
              "A=1/0) (ERROR in line: 2, ERROR: Division by zero)\n0 passed, 1 failed\n");
}

// The reason names the cause as the window does, the report beside it; a byte-order mark in
// front of the file changes nothing, as the run drops it.
TEST_F(Grading, TheReasonSaysTheCauseWithTheReport) {
    add("cases/c/expect", "1\n");
    add("zero.bas", "\xEF\xBB\xBF" "B=0\nX=5\nA=X/B\n");
    EXPECT_EQ(grade("zero.bas").out,
              "FAIL zero.bas c: exit 1: Division by zero: B is 0 here: dividing by it stops the "
              "run (line 2: A=X/B) (ERROR in line: 2, ERROR: Division by zero)\n0 passed, 1 "
              "failed\n");
}

// A file named like an option is graded when "--" ends the options.
TEST_F(Grading, DoubleDashEndsTheOptions) {
    add_two_cases();
    add("-good.bas", GOOD);
    const ShellResult r = grade("-j 1 -- -good.bas");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "PASS -good.bas output\nPASS -good.bas state\n2 passed, 0 failed\n");
}

// A long output compared line by line to its end, and expect-state asking in any order.
TEST_F(Grading, LongOutputAndStateInAnyOrder) {
    std::string expect;
    for (int i = 1; i <= 30000; ++i) expect += std::to_string(i) + "\n";
    add("cases/long/expect", expect);
    add("cases/long/expect-state", "tb_coiz=0\nZ: 0\nI: 30001\nA: 0\npb_spd=4\n");
    add("count.bas", "FOR I=1 TO 30000\nPRINT I\nNEXT I\n");
    add("slip.bas", "FOR I=1 TO 30000\nJ=I\nIF I=29999 THEN J=0\nPRINT J\nNEXT I\n");
    const ShellResult r = grade("count.bas slip.bas");
    EXPECT_EQ(r.out,
              "PASS count.bas long\n"
              "FAIL slip.bas long: output line 29999 (from 1): got 0, expected 29999\n"
              "1 passed, 1 failed\n");
}

// Runs finish in any order when several go at once; the lines come in the order of the files
// and cases all the same. The slow endless program comes first, so the others overtake it.
TEST_F(Grading, LinesDoNotDependOnHowManyRunAtOnce) {
    add_two_cases();
    add("endless.bas", std::string(GOOD) + "LABEL 1\nGOTO 1\n");
    add("good.bas", GOOD);
    add("short.bas", "PRINT 1\n");
    add("error.bas", "PRINT 1/0\n");
    const std::string files = " endless.bas good.bas short.bas error.bas good.bas short.bas";
    const ShellResult one = grade("-j 1" + files);
    const ShellResult four = grade("-j 4" + files);
    EXPECT_EQ(one.code, 1);
    EXPECT_EQ(one.out, four.out);
    EXPECT_NE(one.out.find("\n4 passed, 8 failed\n"), std::string::npos) << one.out;
}

// The worked example of the README, as it reads there.
TEST(GradingSample, OneSubmissionFailsOneCase) {
    const ShellResult r = run_shell(
        std::string("cd ") + ZORVANT_SOURCE_DIR + " && " + ZORVANT_RUN +
        " --grade samples/grading/cases samples/05_detumbling.bas samples/grading/wrong_sign.bas");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
              "PASS samples/05_detumbling.bas still\n"
              "PASS samples/05_detumbling.bas turning\n"
              "PASS samples/grading/wrong_sign.bas still\n"
              "FAIL samples/grading/wrong_sign.bas turning: state tb_coiy: got -80, expected 80\n"
              "3 passed, 1 failed\n");
}

// A case may run the programs against a simulation: a shipped preset by its name, or a preset
// file beside the case's other files. What a simulation cannot run stops the grading.
TEST_F(Grading, CasesCanRunASimulation) {
    add("field.bas", "MGET X,Y,Z\nPRINT Z\n");
    add("cases/shipped/args", "--sim tumbling_1u\n");
    add("cases/shipped/expect", "0.25\n");
    add("cases/own/args", "--sim calm.sim\n");
    add("cases/own/calm.sim", "field_b0_t = 0\n");
    add("cases/own/expect", "0\n");
    ShellResult r = grade("field.bas");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "PASS field.bas own\nPASS field.bas shipped\n2 passed, 0 failed\n");

    const struct {
        const char* file;
        const char* bytes;
        std::string message;
    } bad[] = {
        {"scenario", "0 colr=3\n5 magx=1\n",
         "cases/own/scenario:2: magx is driven by the simulation (--sim): no event can move it"},
        {"calm.sim", "field = 0\n", "cases/own/args: cases/own/calm.sim:1: unknown key 'field'"},
        {"args", "--sim list", "cases/own/args: --sim list does not go in a case"},
    };
    for (const auto& b : bad) {
        add(std::string("cases/own/") + b.file, b.bytes);
        r = grade("field.bas");
        EXPECT_EQ(r.code, 2) << b.message;
        EXPECT_EQ(r.out, "zorvant-run: " + b.message + "\n");
        fs::remove(root_ + "cases/own/scenario");
        add("cases/own/calm.sim", "field_b0_t = 0\n");
    }
}

TEST_F(Grading, ABadCaseFolderStopsTheGradingBeforeItStarts) {
    add("good.bas", GOOD);
    const std::string usage = "\nusage: zorvant-run";
    struct {
        std::string file;  // under cases/c/, or empty for no file at all
        std::string bytes;
        std::string message;
    } bad[] = {
        {"", "", "cases holds no case folders"},
        {"args", "--vars", "cases/c: holds neither expect, expect-state nor mission"},
        {"expect-state", "A: 1\ncoix=5\n",
         "cases/c/expect-state:2: not a line of --vars or --state, such as \"A: 0.5\" or "
         "\"tb_coix=20\""},
        {"scenario", "0 magx=1\n5 coix=1\n",
         "cases/c/scenario:2: unknown slider 'coix': NAME is one of magx, magy, magz, colr, "
         "colg, colb, tem, rx"},
        {"args", "--max-steps many", "cases/c/args: bad step count 'many'"},
        {"args", "--trace t.csv",
         "cases/c/args: --trace does not go in a case: the runs of all files would write one "
         "file"},
        {"args", "other.bas", "cases/c/args: more than one FILE"},
        {"args", "--vars --",
         "cases/c/args: -- does not go in a case: the FILE follows the options there"},
        {"args", "--mission m --mission-result r.txt",
         "cases/c/args: --mission-result does not go in a case: the grader reads each run's "
         "result"},
        {"args", "--report r.txt",
         "cases/c/args: --report does not go in a case: the grader reads each run's report"},
        {"args", "--replay t.csv --at 5",
         "cases/c/args: --replay does not go in a case: the grader judges a run's output"},
        // A mission's preset and scenario lie beside it; one that would stop every run stops
        // the grading instead.
        {"mission", "sim = calm.sim\ngoal = A < 5\n",
         "cases/c/mission: cannot read cases/c/calm.sim: No such file or directory (nor is it a "
         "shipped preset: see --sim list)"},
        {"mission", "scenario = events\ngoal = A < 5\n",
         "cases/c/mission: cannot read cases/c/events: No such file or directory"},
        {"mission", "sim = tumbling_1u\nscenario = mission\ngoal = A < 5\n",
         "cases/c/mission: cases/c/mission:1: expected TIME_MS NAME=POS, got 'sim = tumbling_1u'"},
        {"mission", "sim = tumbling_1u\nscenario = ../../good.bas\ngoal = A < 5\n",
         "cases/c/mission:2: scenario is a file beside the mission or below it"},
    };
    for (const auto& b : bad) {
        fs::remove_all(root_ + "cases");
        fs::create_directories(root_ + "cases");
        if (!b.file.empty()) {
            add("cases/c/" + b.file, b.bytes);
            if (b.file != "args" || b.message.find("neither") == std::string::npos) {
                add("cases/c/expect", "1\n");
            }
        }
        const ShellResult r = grade("good.bas");
        EXPECT_EQ(r.code, 2) << b.message;
        EXPECT_EQ(r.out, "zorvant-run: " + b.message + "\n");
    }
    const ShellResult r =
        run_shell(std::string(ZORVANT_RUN) + " --grade " + root_ + "no-such-folder x.bas 2>&1");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out,
              "zorvant-run: cannot read " + root_ + "no-such-folder: No such file or directory\n");
}

}  // namespace
