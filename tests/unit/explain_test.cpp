#include "explain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::string read_source(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const fs::path help_dir = fs::path(ZORVANT_SOURCE_DIR) / "shell/window/help";

std::string unescape(std::string text) {
    for (const auto& [ref, c] : {std::pair{"&lt;", "<"},
                                 {"&gt;", ">"},
                                 {"&quot;", "\""},
                                 {"&#x27;", "'"},
                                 {"&amp;", "&"}}) {
        text = std::regex_replace(text, std::regex(ref), c);
    }
    return text;
}

// The text of a help page with its markup's character references undone.
std::string page_text(const std::string& page) {
    return unescape(read_source(help_dir / page));
}

// Programs that make the reports a user meets, from each statement family.
const char* const failing_programs[] = {
    "A=1\nIF A=1 THEN B=2 ELSE B=3",  // ELSE after an assignment
    "GOTO 7\nPRINT 1",                // missing label
    "PRINT 1 // note",                // "//" after code
    "print 1",                        // lower case
    "PRINT\t1",                       // tab
    "A=1/0",
    "A=7%0",
    "A=1000000000000\nB=A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A*A",
    "SQRT -4,A\nIF A<1 THEN PRINT 1",
    "NEXT I",
    "FOR I=1 TO 2\nFOR J=1 TO 2\nNEXT I",
    "FOR A=1 TO 2\nFOR B=1 TO 2\nFOR C=1 TO 2\nFOR D=1 TO 2\nFOR E=1 TO 2",
    "RETURN",
    "LABEL 1\nGOSUB 1",
    "IF A<=B THEN PRINT 1",
    "IF A<B PRINT 1",
    "LET A=1",
    "A=5\nPRINT -A",
    "A=1 B=2",
    "A=(1+2",
    "A=B*-C",
    "A=SQRT(4)",
    "SQRT 4",
    "SQRT 4,5",
    "MGET X,Y",
    "TGET T,U",
    "FOR I=1 5\nNEXT I",
    "GOSUB A",
    "A=1::B=2",
    "CALL 5",
    "A=12345678901234567",
    "A=\"HI\"",
    "ACOS 2,A\nCOIL A,0,0",
    "ASIN 2,A\nSPEED A",
    "TPATAN 0,0,A\nTX A,1",
    "LOG 0,A\nLOG -1,B\nDLOG 0,C\nDLOG -1,D",
    "HCOS 1000,A\nHSIN 1000,B\nLOG A,C\nDLOG A,D",
    "POW 0,0,A\nPOW -8,0.5,B\nEXP 10,400,C",
};

TEST(Explain, EveryReportOfTheseProgramsIsExplained) {
    TestMachine m;
    std::set<std::string> seen;
    for (const char* program : failing_programs) {
        m.math_errors.clear();
        m.run(program);
        for (const RunReport& r : m.reports) {
            EXPECT_NE(explain_report(r), "") << report_text(r) << "\n(from: " << program << ")";
        }
        for (const std::string& box : m.math_errors) {
            seen.insert(box);
            EXPECT_NE(explain_math_error(box), "") << box << "\n(from: " << program << ")";
        }
        EXPECT_TRUE(!m.reports.empty() || !m.math_errors.empty()) << program;
    }
    // The box texts of every function that can fail, in each way it can.
    for (const char* box :
         {"acos: DOMAIN error", "asin: DOMAIN error", "atan2: DOMAIN error", "sqrt: DOMAIN error",
          "log: SING error", "log: DOMAIN error", "log: OVERFLOW error", "log10: SING error",
          "log10: DOMAIN error", "log10: OVERFLOW error", "cosh: OVERFLOW error",
          "sinh: OVERFLOW error", "pow: DOMAIN error", "pow: OVERFLOW error"}) {
        EXPECT_TRUE(seen.count(box)) << box;
    }
    // The errors page lists them all.
    const std::string errors_page = page_text("errors.html");
    for (const std::string& box : seen) EXPECT_TRUE(contains(errors_page, box)) << box;
}

TEST(Explain, EveryKindOfReportIsExplainedAndOnTheErrorsPage) {
    const std::string errors_page = page_text("errors.html");
    for (int k = 1; k < REPORT_KIND_COUNT; ++k) {
        RunReport r{.kind = static_cast<ReportKind>(k), .line = 3, .expected = 3, .got = 3};
        r.amount = 3;
        r.limit = 2;
        const std::string message(report_lines(r)[1]);
        EXPECT_NE(explain_fault(r), "") << message;
        EXPECT_TRUE(contains(explain_report(r), "line 3")) << message;
        // The page quotes each message up to its first number.
        const std::string fixed = message.substr(0, message.find_first_of("0123456789"));
        EXPECT_TRUE(contains(errors_page, fixed)) << "errors.html does not explain " << fixed;
    }
    EXPECT_EQ(explain_report(RunReport{}), "");
}

// Reports are made only from their facts, in one place: no other source spells one out.
TEST(Explain, OnlyTheWriterSpellsAReport) {
    const std::regex literal("\"(ERROR[^\"]*)\"");
    for (const char* dir : {"interpreter", "device/model", "shell/core", "shell/window", "tools"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(ZORVANT_SOURCE_DIR) / dir)) {
            if (entry.path().filename() == "run_report.cpp" || !entry.is_regular_file()) continue;
            const std::string code =
                std::regex_replace(read_source(entry.path()), std::regex(R"(\n\s*//[^\n]*)"), "");
            EXPECT_FALSE(std::regex_search(code, literal)) << entry.path();
        }
    }
}

// Every math function that can fail has its box explained.
TEST(Explain, EveryMathBoxInTheSourcesIsExplained) {
    const std::regex math_call(R"((?:domain|overflow|logarithm|math_error_report)\(\"(\w+)\")");
    const std::regex math_kind(R"(math_error_report\(\w+, \"(\w+)\"\))");
    std::set<std::string> functions;
    std::set<std::string> kinds;
    for (const char* dir : {"interpreter", "device/model"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(ZORVANT_SOURCE_DIR) / dir)) {
            const std::string code = read_source(entry.path());
            for (std::sregex_iterator i(code.begin(), code.end(), math_call), end; i != end; ++i)
                functions.insert((*i)[1]);
            for (std::sregex_iterator i(code.begin(), code.end(), math_kind), end; i != end; ++i)
                kinds.insert((*i)[1]);
        }
    }
    kinds.insert({"DOMAIN", "OVERFLOW"});  // through domain() and overflow()
    EXPECT_GE(functions.size(), 9u);
    for (const std::string& f : functions) {
        bool explained = false;
        for (const std::string& k : kinds) {
            if (k == "UNDERFLOW" || k == "TLOSS") continue;  // never shown
            explained = explained || !explain_math_error(f + ": " + k + " error").empty();
        }
        EXPECT_TRUE(explained) << f;
    }
}

// After a run that stopped with a report: the explanation, and where the failing statement
// began when the report names another line.
TEST(Explain, TheStopSaysWhereTheFailingStatementBegan) {
    RunReport report{.kind = ReportKind::ExpectedToken,
                     .line = 5,
                     .statement_line = 3,
                     .statement_offset = 8,
                     .expected = 1,
                     .got = 2};
    const std::string program = "PRINT 1:GOTO 50:PRINT 2:LABEL 8:PRINT 3";
    const std::string alone = explain_report(report);
    ASSERT_FALSE(alone.empty());
    EXPECT_EQ(explain_stop(report, program),
              "No LABEL 50 in the program. The GOTO that asked for it is on line 3; the report "
              "names line 5, where the search ended.\n\n" + alone);
    // Several reports: each explained, in order, after where the statement began; the
    // paragraph about the line only once.
    const RunReport both[] = {report, report};
    EXPECT_EQ(explain_stop(both, program).substr(explain_stop(report, program).size()),
              "\n\n" + explain_fault(report));
    // On its own line, or with no statement known: nothing to add.
    RunReport own = report;
    own.statement_line = 5;
    EXPECT_EQ(explain_stop(own, program), alone);
    own.statement_line = 3;
    own.statement_offset = -1;
    EXPECT_EQ(explain_stop(own, program), alone);
    // A label that is there, behind something the search cannot pass, is not said missing.
    report.statement_line = 0;
    report.statement_offset = 0;
    report.line = 1;
    EXPECT_EQ(explain_stop(report, "GOSUB 8:X:LABEL 8").substr(0, 42),
              "The statement that failed begins on line 0");
}

TEST(Explain, TokenCodesAreNamed) {
    std::set<std::string> names;
    for (int code = 0; code < TOKEN_KIND_COUNT; ++code) {
        const std::string name = token_name(code);
        EXPECT_NE(name, "unknown token") << code;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(TOKEN_KIND_COUNT)) << "two codes share a name";
    EXPECT_STREQ(token_name(TK_CR), "end of statement (a ':' or the end of a line)");
    EXPECT_STREQ(token_name(-1), "unknown token");
    EXPECT_STREQ(token_name(TOKEN_KIND_COUNT), "unknown token");
}

RunReport expected_token(int expected, int got) {
    return {.kind = ReportKind::ExpectedToken, .expected = expected, .got = got};
}

RunReport next_mismatch(int expected, int got) {
    return {.kind = ReportKind::NextMismatch, .expected = expected, .got = got};
}

TEST(Explain, ExpectedTokenNamesBothAndTheTrap) {
    const std::string else_trap = explain_fault(expected_token(35, 9));
    EXPECT_TRUE(contains(else_trap, "end of the statement")) << else_trap;
    EXPECT_TRUE(contains(else_trap, "the word ELSE")) << else_trap;
    EXPECT_TRUE(contains(else_trap, "IF A=1 THEN B=2")) << else_trap;
    EXPECT_TRUE(contains(explain_fault(expected_token(5, 27)), "'//'"));
    EXPECT_TRUE(contains(explain_fault(expected_token(35, 0)), "lower-case"));
    EXPECT_TRUE(contains(explain_fault(expected_token(8, 6)), "the word THEN"));
    EXPECT_TRUE(contains(explain_fault(expected_token(8, 6)), "the word PRINT"));
    EXPECT_TRUE(contains(explain_fault(expected_token(1, 2)), "last line"));
    EXPECT_TRUE(contains(explain_fault(expected_token(5, 34)), "<="));
    // Codes the language never expects still get both names.
    const std::string odd = explain_fault(expected_token(29, 64));
    EXPECT_TRUE(contains(odd, "'#'") && contains(odd, "DELAY")) << odd;
}

TEST(Explain, ReportsWithNumbersInThem) {
    RunReport at_12 = expected_token(35, 9);
    at_12.line = 12;
    const std::string line = explain_report(at_12);
    EXPECT_TRUE(contains(line, "line 12")) << line;
    EXPECT_TRUE(contains(line, "count from 0")) << line;
    EXPECT_EQ(line.substr(line.size() - explain_fault(at_12).size()), explain_fault(at_12));
    const std::string next = explain_fault(next_mismatch(9, 8));
    EXPECT_TRUE(contains(next, "NEXT I") && contains(next, "FOR J")) << next;
    EXPECT_TRUE(contains(explain_fault(next_mismatch(-1, 8)), "no FOR loop is open"));
    // A NEXT followed by no letter at all.
    EXPECT_NE(explain_fault(next_mismatch(2, -12)), "");
    // The preparation's report names the line too.
    const std::string two = explain_report({.kind = ReportKind::LineHoldsNul, .line = 4});
    EXPECT_TRUE(contains(two, "line 4") && contains(two, "NUL")) << two;
    EXPECT_TRUE(contains(explain_report({.kind = ReportKind::TooManyLines, .limit = 20000}),
                         "more than 20000 lines"));
    EXPECT_TRUE(contains(explain_math_error("sqrt: DOMAIN error"), "SQRT"));
    EXPECT_TRUE(contains(explain_math_error("pow: OVERFLOW error"), "POW or EXP"));
}

TEST(Explain, EveryKeywordHasAHelpPage) {
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        const std::string page = help_page_for_word(k->keyword);
        ASSERT_NE(page, "") << k->keyword;
        EXPECT_TRUE(fs::is_regular_file(help_dir / page)) << page;
    }
    EXPECT_EQ(help_page_for_word("print"), "print.html");
    EXPECT_EQ(help_page_for_word("ELSE"), "if.html");
    EXPECT_TRUE(fs::is_regular_file(help_dir / help_page_for_word("DATA")));
    for (const char* word : {"", "A", "LET", "PRINTA", "HELLO", "ERROR"})
        EXPECT_EQ(help_page_for_word(word), "") << word;
}

TEST(Explain, TheErrorsPageNamesTheTokensAsTheExplanationsDo) {
    // Cells are read before their character references are undone: a name may be "<".
    const std::string page = read_source(help_dir / "errors.html");
    const size_t start = page.find("<table class=\"tokens\"");
    ASSERT_NE(start, std::string::npos);
    const std::string table = page.substr(start, page.find("</table>", start) - start);
    const std::regex row(R"(<tr><td>(\d+)</td><td>([^<]*)</td></tr>)");
    int expected_code = 0;
    for (std::sregex_iterator i(table.begin(), table.end(), row), end; i != end; ++i) {
        EXPECT_EQ(std::stoi((*i)[1]), expected_code);
        EXPECT_EQ(unescape((*i)[2]), token_name(expected_code)) << "code " << expected_code;
        ++expected_code;
    }
    EXPECT_EQ(expected_code, TOKEN_KIND_COUNT);
}

TEST(Explain, OtherTextsAreNoMathBoxes) {
    for (const char* line : {"", "5", "HELLO", "Stop in line: 3", "ERROR: Division by zero",
                             "GAME: OVER error", "sqrt: HAPPY error", "a: error"}) {
        EXPECT_EQ(explain_math_error(line), "") << line;
    }
}

}  // namespace

// F1 asks for the word the caret is in, split as a run splits the line.
TEST(Explain, KeywordAtTheCaret) {
    EXPECT_EQ(keyword_at("PRINT A", 0), "PRINT");
    EXPECT_EQ(keyword_at("PRINT A", 5), "PRINT");  // just after the word
    EXPECT_EQ(keyword_at("PRINT A", 6), "");       // on the variable
    EXPECT_EQ(keyword_at("  IF A>1 THEN GOTO 5", 11), "THEN");
    EXPECT_EQ(keyword_at("PRINTA", 2), "PRINT");  // no word boundaries in this language
    EXPECT_EQ(keyword_at("SQRT 2,A", 7), "");
    EXPECT_EQ(keyword_at("PRINT \"PRINT\"", 8), "");  // inside a string
    EXPECT_EQ(keyword_at("print a", 1), "");         // the scanner stops at lower case
    EXPECT_EQ(keyword_at("", 0), "");
}

// The strip's first line: the cause, with the values and the statement that made it.
TEST(Explain, TheCauseComesFirstWithItsValues) {
    const struct {
        const char* program;
        const char* cause;
    } cases[] = {
        {"B=0\nX=5\nA=X/B", "B is 0 here: dividing by it stops the run (line 2: A=X/B)"},
        {"A=10/0", "Dividing by 0 stops the run (line 0: A=10/0)"},
        {"B=0.5\nA=7%B", "B is 0.5 here, 0 as a whole number: taking the remainder after "
                         "dividing by it stops the run (line 1: A=7%B)"},
        {"B=2\nC=2\nA=5/(B-C)+1",
         "(B-C) is 0 here: dividing by it stops the run (line 2: A=5/(B-C)+1)"},
        {"A=10000000000\nFOR I=1 TO 9\nA=A*A\nNEXT I",
         "1E160 * 1E160 gives a number too big to hold (line 2: A=A*A)"},
        {"SQRT -4,A\nIF A<1 THEN PRINT 1",
         "A value here is NAN (not a number), left by a math statement's error: IF, NEXT, "
         "COIL, SPEED and TX cannot use it (line 1: IF A<1 THEN PRINT 1)"},
        {"NEXT I", "NEXT I came with no FOR loop open (line 0: NEXT I)"},
        {"FOR I=1 TO 2\nFOR J=1 TO 2\nNEXT I",
         "NEXT I came while FOR J is the loop open inside: loops close in the opposite order "
         "(line 2: NEXT I)"},
        {"// loop\nLABEL 1\nFOR I=1 TO 3\nGOTO 1",
         "This is the 5th FOR still open: lines 2, 2, 2, 2 jumped out of their loops with GOTO "
         "(line 2: FOR I=1 TO 3)"},
        {"FOR A=1 TO 2\nFOR B=1 TO 2\nFOR C=1 TO 2\nFOR D=1 TO 2\nFOR E=1 TO 2",
         "This is the 5th FOR still open: the loops of lines 0, 1, 2, 3 are open, and loops "
         "nest 4 deep at most (line 4: FOR E=1 TO 2)"},
        {"LABEL 1\nGOSUB 1",
         "This is the 11th GOSUB still waiting for its RETURN: the GOSUBs of lines 1, 1, 1, 1, "
         "1, 1, 1, 1, 1, 1 never returned (line 1: GOSUB 1)"},
        {"RETURN",
         "RETURN came with no GOSUB waiting: the run reached it without a GOSUB (line 0: RETURN)"},
        {"PRINT 1\nGOTO 50\nPRINT 2",
         "There is no LABEL 50 in the program: GOTO 50 has nowhere to go (line 1: GOTO 50)"},
        {"IF A<B PRINT 1",
         "THEN was expected here, but PRINT came (line 0: IF A<B PRINT 1)"},
        {"A=1 B=2", "The end of the statement was expected here, but a variable came (line 0: "
                    "A=1 B=2)"},
        {"print 1", "The statement begins with something it cannot read (a lower-case letter, "
                    "a tab or a sign the language does not use): a statement begins with a word "
                    "of the language or a variable letter (line 0: print 1)"},
        {"THEN 5", "THEN cannot begin a statement: a statement begins with a word of the "
                   "language or a variable letter (line 0: THEN 5)"},
    };
    TestMachine m;
    for (const auto& c : cases) {
        m.run(c.program);
        ASSERT_FALSE(m.reports.empty()) << c.program;
        const std::string_view program(machine.program_store,
                                       static_cast<size_t>(std::max(0, interp.text_extent)));
        EXPECT_EQ(explain_cause(m.reports.front(), program), c.cause) << c.program;
    }
    // The preparation's reports, and every kind has a cause.
    EXPECT_EQ(explain_cause({.kind = ReportKind::LineHoldsNul, .line = 4}, ""),
              "Line 4 holds a NUL character (code 0): the program cannot start");
    for (int k = 1; k < REPORT_KIND_COUNT; ++k) {
        EXPECT_NE(explain_cause({.kind = static_cast<ReportKind>(k), .line = 1}, ""), "") << k;
    }
}
