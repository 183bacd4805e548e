// Quick fixes: each program's first finding with a fix, the fix's title, the text after it, and
// that the checker then finds nothing; and findings that get no fix.
#include "quick_fix.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::optional<QuickFix> first_fix(const std::string& text) {
    for (const Finding& f : check_program(text)) {
        if (auto fix = quick_fix(text, f)) return fix;
    }
    return std::nullopt;
}

struct Case {
    const char* before;
    const char* title;
    const char* after;
};

TEST(QuickFix, MakesTheTextTheCheckerAccepts) {
    const Case cases[] = {
        {"A=1\nIF A<=10 THEN PRINT 1\n", "Write A<=10 as A<11 (for whole numbers)",
         "A=1\nIF A<11 THEN PRINT 1\n"},
        {"A=1\nIF A >= 0 THEN PRINT 1\n", "Write A>=0 as A>-1 (for whole numbers)",
         "A=1\nIF A > -1 THEN PRINT 1\n"},
        {"A=1:B=2\nIF A<=B*2 THEN PRINT 1\n", "Write A<=B*2 as A<B*2+1 (for whole numbers)",
         "A=1:B=2\nIF A<B*2+1 THEN PRINT 1\n"},
        {"A=1:B=2\nIF A=>B THEN PRINT 1\n", "Write A=>B as A>B-1 (for whole numbers)",
         "A=1:B=2\nIF A>B-1 THEN PRINT 1\n"},
        {"A=1\nIF A==1 THEN PRINT 1\n", "Write == as =", "A=1\nIF A=1 THEN PRINT 1\n"},
        {"A=1:B=2\n  IF A<>B THEN GOTO 5\nLABEL 5\n", "Write A<>B as A<B or A>B",
         "A=1:B=2\n  IF A<B THEN GOTO 5\n  IF A>B THEN GOTO 5\nLABEL 5\n"},
        {"A=1:B=2\nIF A<>B THEN GOTO 5 ELSE END\nLABEL 5\n",
         "Write A<>B as A=B with THEN and ELSE swapped",
         "A=1:B=2\nIF A=B THEN END ELSE GOTO 5\nLABEL 5\n"},
        {"LET A=1\n", "Remove LET", "A=1\n"},
        {"A=1\nprint A\n", "Write print as PRINT", "A=1\nPRINT A\n"},
        {"PRINT \"A\" PRINT \"b\"\n", "Insert \":\" before PRINT", "PRINT \"A\": PRINT \"b\"\n"},
        {"A=1 B=2\nPRINT A+B\n", "Insert \":\" before B", "A=1: B=2\nPRINT A+B\n"},
        {"  A=10 // ten\n", "Move the comment onto a line of its own", "  // ten\n  A=10\n"},
        {"A=1E6\nPRINT A\n", "Write 1E6 as 1000000", "A=1000000\nPRINT A\n"},
        {"PRINT 0X1F\n", "Write 0X1F as 31", "PRINT 31\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        const std::optional<QuickFix> fix = first_fix(c.before);
        ASSERT_TRUE(fix.has_value());
        EXPECT_EQ(fix->title, c.title);
        const std::string after = apply_fix(c.before, *fix);
        EXPECT_EQ(after, c.after);
        for (const Finding& f : check_program(after)) ADD_FAILURE() << finding_text(f);
    }
}

TEST(QuickFix, LeavesWhatHasNoMechanicalFix) {
    const char* const programs[] = {
        "A=1\nIF A<=2.5 THEN PRINT 1\n",      // a fraction: A<3.5 would take A=3
        "A=1:B=3\nIF A<=B/2 THEN PRINT 1\n",  // so may a division
        "A=1:B=2\nIF A<>B THEN PRINT 1\n",    // two IF lines would print twice if it changed A
        "A=1:B=2\nIF A>1 THEN IF A<>B THEN GOTO 5\nLABEL 5\n",
        "FOR I=0 TO 10 STEP 2\nNEXT I\n",     // no STEP: no ":" makes it a statement
        "A=1\nIF A>1 PRINT 5\n",              // THEN is missing, not a ":"
        "PRINT 1E20\n",                       // 1E20 has no form in digits here
        "A=1+ PRINT 5\n",
        "A=1\nIF A>0 THEN B=1 C=2\n",           // a ":" would run C=2 whatever A is
        "A=<5\n",                             // no condition: not a comparison to rewrite
    };
    for (const char* p : programs) {
        SCOPED_TRACE(p);
        EXPECT_FALSE(first_fix(p).has_value()) << first_fix(p)->title;
    }
}

// A finding whose place no longer holds what it named (the text changed since the check) gets
// no fix, and a finding past the line's end none either.
TEST(QuickFix, ReadsTheTextNotTheFinding) {
    Finding f;
    f.line = 0;
    f.column = 4;
    f.length = 2;
    EXPECT_FALSE(quick_fix("IF A<B THEN END\n", f).has_value());
    f.column = 40;
    EXPECT_FALSE(quick_fix("IF A<=B THEN END\n", f).has_value());
    f.line = 3;
    EXPECT_FALSE(quick_fix("IF A<=B THEN END\n", f).has_value());
}

}  // namespace
