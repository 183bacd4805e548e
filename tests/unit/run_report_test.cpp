#include "run_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "runner.h"
#include "test_support.h"

namespace {

struct Expected {
    const char* program;
    ReportKind kind;
    int line;
    int statement_line;
    int statement_column;
    int expected = 0;
    int got = 0;
    double left = 0;
    double right = 0;
    long long limit = 0;
};

// A program of each kind of fault and what its first report holds.
const Expected faults[] = {
    {"A=1\nIF A=1 THEN B=2 ELSE B=3", ReportKind::ExpectedToken, 1, 1, 0, TK_CR, TK_ELSE},
    // The label search ends at the last line; the GOTO began on line 1, after "PRINT 1:".
    {"PRINT 1\nGOTO 7\nPRINT 2", ReportKind::ExpectedToken, 2, 1, 0, TK_LABEL, TK_ENDOFINPUT},
    {"print 1", ReportKind::UnknownCommand, 0, 0, 0, 0, TK_ERROR},
    {"A=2\n  B=A/0", ReportKind::DivisionByZero, 1, 1, 2, 0, 0, 2, 0},
    {"A=1:B=2:C=7%(A-1)", ReportKind::DivisionByZero, 0, 0, 8, 0, 0, 7, 0},
    {"SQRT -4,A\nIF A<1 THEN PRINT 1", ReportKind::InvalidOperation, 1, 1, 0, 0, 0, NAN, 1},
    {"FOR I=1 TO 2\nFOR J=1 TO 2\nNEXT I", ReportKind::NextMismatch, 2, 2, 0, 'J' - 'A',
     'I' - 'A'},
    {"NEXT I", ReportKind::NextMismatch, 0, 0, 0, -1, 'I' - 'A'},
    {"FOR A=1 TO 2\nFOR B=1 TO 2\nFOR C=1 TO 2\nFOR D=1 TO 2\n FOR E=1 TO 2",
     ReportKind::ForStackOverflow, 4, 4, 1, 0, 0, 0, 0, MAX_FOR_LEVELS},
    {"LABEL 1\nGOSUB 1", ReportKind::GosubStackOverflow, 1, 1, 0, 0, 0, 0, 0, MAX_GOSUB_LEVELS},
    {"PRINT 1\nRETURN", ReportKind::ReturnMismatch, 1, 1, 0},
};

TEST(RunReport, EachFaultReportsItsFacts) {
    TestMachine m;
    for (const Expected& e : faults) {
        const std::vector<std::string> output = m.run(e.program);
        ASSERT_FALSE(m.reports.empty()) << e.program;
        const RunReport& r = m.reports.front();
        EXPECT_EQ(r.kind, e.kind) << e.program;
        EXPECT_EQ(r.line, e.line) << e.program;
        EXPECT_EQ(r.statement_line, e.statement_line) << e.program;
        EXPECT_EQ(r.statement_column, e.statement_column) << e.program;
        EXPECT_EQ(machine.line_table[r.statement_offset], r.statement_line) << e.program;
        EXPECT_EQ(r.expected, e.expected) << e.program;
        EXPECT_EQ(r.got, e.got) << e.program;
        EXPECT_TRUE(r.left == e.left || (std::isnan(r.left) && std::isnan(e.left))) << e.program;
        EXPECT_EQ(r.right, e.right) << e.program;
        EXPECT_EQ(r.limit, e.limit) << e.program;
        // The session keeps the last; the output holds the lines of each, as the writer makes
        // them.
        EXPECT_EQ(m.session.last_report().kind, m.reports.back().kind) << e.program;
        std::string reported;
        for (const RunReport& each : m.reports) reported += report_text(each) + "\n";
        std::string tail;
        for (size_t i = output.size() - 2 * m.reports.size(); i < output.size(); ++i)
            tail += output[i] + "\n";
        EXPECT_EQ(tail, reported) << e.program;
    }
}

TEST(RunReport, ThePreparationReportsThroughTheSameWriter) {
    const PreparedProgram p = prepare_program({"PRINT 1", "// note", std::string("A=\0", 3)});
    EXPECT_EQ(p.report.kind, ReportKind::LineHoldsNul);
    EXPECT_EQ(p.report.line, 2);
    EXPECT_EQ(p.report.statement_line, -1);
    EXPECT_EQ(p.error, report_text(p.report));
    const RunReport large{.kind = ReportKind::TooManyBytes, .amount = 8193, .limit = 8192};
    EXPECT_EQ(report_text(large), "ERROR: Program too large: 8193 bytes, limit 8192");
    EXPECT_EQ(report_message(large), "Program too large: 8193 bytes, limit 8192");
    EXPECT_EQ(report_text(RunReport{}), "");
}

// What --report writes reads back as the same facts; anything cut short or changed does not.
TEST(RunReport, TheRunnersReportFileReadsBack) {
    RunReport r{.kind = ReportKind::InvalidOperation,
                .line = 4,
                .statement_line = 3,
                .statement_column = 2,
                .statement_offset = 17,
                .left = NAN,
                .right = -0.1};
    const std::string text = runner_report_text(2, r);
    long long count = 0;
    RunReport back;
    ASSERT_TRUE(runner_report_parse(text, count, back)) << text;
    EXPECT_EQ(count, 2);
    EXPECT_EQ(report_text(back), report_text(r));
    EXPECT_EQ(back.statement_offset, 17);
    EXPECT_TRUE(std::isnan(back.left));
    EXPECT_EQ(back.right, -0.1);
    ASSERT_TRUE(runner_report_parse(runner_report_text(0, RunReport{}), count, back));
    EXPECT_EQ(count, 0);
    for (const std::string& bad :
         {text.substr(0, text.size() - 4), text + "more\n", std::string("reports 0\nend\n"),
          text.substr(0, text.find("kind ")) + "kind nothing" +
              text.substr(text.find("\nline "))}) {
        EXPECT_FALSE(runner_report_parse(bad, count, back)) << bad;
        EXPECT_EQ(count, 0);
    }
}

}  // namespace
