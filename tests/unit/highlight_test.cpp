#include "highlight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "window_colours.h"

namespace {

// One letter per character: K keyword, V variable, N number, S string, O operator, L label,
// C comment, D data, P problem, "." plain.
std::string classes(const LineHighlight& h, size_t length) {
    std::string out(length, '.');
    for (const HighlightSpan& s : h.spans) {
        for (int i = s.start; i < s.start + s.length; ++i)
            out[static_cast<size_t>(i)] = "-KVNSOLCDP"[static_cast<int>(s.kind)];
    }
    return out;
}

std::string classes(const std::string& line, bool in_data = false) {
    return classes(highlight_line(line, in_data), line.size());
}

bool begins(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// "start+length: reason" for every span that carries a problem.
std::vector<std::string> problems(const std::string& line, std::vector<int> foreign = {}) {
    std::vector<std::string> out;
    for (const HighlightSpan& s : highlight_line(line, false, foreign).spans) {
        if (!s.problem.empty())
            out.push_back(std::to_string(s.start) + "+" + std::to_string(s.length) + ": " +
                          s.problem);
    }
    return out;
}

TEST(Highlight, ClassesFollowTheScanner) {
    EXPECT_EQ(classes("FOR I=1 TO 10:PRINT \"HI\";I"), "KKK.VON.KK.NNOKKKKK.SSSSOV");
    // No word boundaries: TOTAL is TO and three variables, PRINTA is PRINT and A.
    EXPECT_EQ(classes("TOTAL=PRINTA"), "KKVVVOKKKKKV");
    // A minus sign before a digit belongs to the number, as in a run.
    EXPECT_EQ(classes("A-1 - B"), "VNN.O.V");
    EXPECT_EQ(classes("LABEL 20:GOSUB 20:GOTO 7"), "KKKKK.LLOKKKKK.LLOKKKK.L");
    EXPECT_EQ(classes("IF A<2 THEN C=SQRT 4 ELSE END"), "KK.VON.KKKK.VOKKKK.N.KKKK.KKK");
    EXPECT_EQ(classes("  PRINT 1"), "..KKKKK.N");
}

TEST(Highlight, CommentsBlankLinesAndTheDataSection) {
    EXPECT_EQ(classes("   // NOTE"), "CCCCCCCCCC");
    EXPECT_TRUE(highlight_line("", false).spans.empty());

    const std::vector<std::string> lines = {"PRINT 1", "  DATA ", "// 12 items", "A=1"};
    bool in_data = false;
    std::vector<std::string> seen;
    for (const std::string& l : lines) {
        const LineHighlight h = highlight_line(l, in_data);
        seen.push_back(classes(h, l.size()));
        in_data = h.data_follows;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"KKKKK.N", "DDDDDDD", "DDDDDDDDDDD", "DDD"}));
    // Only a line that is exactly DATA starts the section.
    EXPECT_FALSE(highlight_line("DATA 1,2", false).data_follows);
    EXPECT_FALSE(highlight_line("data", false).data_follows);
}

TEST(Highlight, CharactersARunStopsAtAreProblemsWithTheirReason) {
    const std::string lower =
        ": Lower-case letters are not part of the language: type it in upper case.";
    EXPECT_EQ(
        problems("pRINT"),
        (std::vector<std::string>{"0+1" + lower + " A run stops here with \"Unknown command\"."}));
    EXPECT_EQ(classes("pRINT"), "PVVVV");
    EXPECT_EQ(problems("PRINT a"),
              (std::vector<std::string>{"6+1" + lower + " A run stops here with an error."}));

    // A tab is no space: where a statement begins, the run says "Unknown command".
    const std::vector<std::string> tab = problems("\tA=1:\tB=2\tC");
    ASSERT_EQ(tab.size(), 3u);
    EXPECT_EQ(tab[0],
              "0+1: A tab is not a space in this language: indent with spaces. A run stops here "
              "with \"Unknown command\".");
    EXPECT_TRUE(begins(tab[1], "5+1:"));
    EXPECT_NE(tab[1].find("Unknown command"), std::string::npos);
    EXPECT_TRUE(begins(tab[2], "9+1:"));
    EXPECT_NE(tab[2].find("with an error"), std::string::npos);

    EXPECT_EQ(problems("PRINT 1!"), (std::vector<std::string>{"7+1: \"!\" is not part of the "
                                                              "language. A run stops here with "
                                                              "an error."}));
    // The scan goes on behind a bad character, so each one is shown.
    EXPECT_EQ(classes("A=$?B"), "VOPPV");
}

TEST(Highlight, LongNumbersOpenStringsAndCommentsAfterCode) {
    EXPECT_EQ(classes("A=123456789012345"), "VONNNNNNNNNNNNNNN");
    EXPECT_EQ(problems("A=123456789012345").size(), 0u);
    const std::vector<std::string> long_number = problems("A=1234567890123456+1");
    ASSERT_EQ(long_number.size(), 1u);
    EXPECT_TRUE(begins(long_number[0], "2+16: A number has at most 15 characters"));
    EXPECT_EQ(classes("A=-12345678901234"), "VONNNNNNNNNNNNNNN");
    EXPECT_EQ(problems("A=-12345678901234").size(), 0u);
    EXPECT_EQ(problems("A=-123456789012345").size(), 1u);

    EXPECT_EQ(classes("PRINT \"AB"), "KKKKK.SSS");
    const std::vector<std::string> open = problems("PRINT \"AB");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_TRUE(begins(open[0], "6+3: This string is not closed on its line"));
    // A closed string may hold what code may not.
    EXPECT_TRUE(problems("PRINT \"a\tb!\"").empty());

    // "//" after code is division twice over; the rest of the line is dim.
    EXPECT_EQ(classes("A=1 // note"), "VON.OOCCCCC");
    const std::vector<std::string> slash = problems("A=1 // note");
    ASSERT_EQ(slash.size(), 1u);
    EXPECT_TRUE(begins(slash[0], "4+2: \"//\" starts a comment only at the start of a line"));
    EXPECT_EQ(problems("PRINT 8/2").size(), 0u);
}

// The window's text may hold characters with no 8-bit form, and a loaded file a NUL: either
// keeps the program from starting, even inside a string.
TEST(Highlight, NulAndForeignCharactersInAProgramLine) {
    const std::string line = std::string("PRINT \"A") + '\0' + "B\"";
    EXPECT_EQ(classes(highlight_line(line, false), line.size()), "KKKKK.SSPSS");
    const std::vector<std::string> nul = problems(line);
    ASSERT_EQ(nul.size(), 1u);
    EXPECT_TRUE(begins(nul[0], "8+1: A NUL character"));

    const LineHighlight foreign = highlight_line("PRINT \"?\":A=?", false, std::vector<int>{7, 12});
    EXPECT_EQ(classes(foreign, 13), "KKKKK.SPSOVOP");
    EXPECT_NE(foreign.spans.back().problem.find("no 8-bit form"), std::string::npos);
    // Comment and data lines are never run, so they may hold anything.
    EXPECT_TRUE(problems("// \xe2\x82\xac\t", {3}).empty());
}

// Marks side by side, at both ends of a span and inside an open string: each is one column of
// its own, and the pieces of the span around it keep their class and their reason.
TEST(Highlight, NulAndForeignMarksCutTheSpansTheyFallIn) {
    const std::string line = std::string("A=??") + '\0' + "?:PRINT \"?" + '\0' + "Q";
    const LineHighlight h = highlight_line(line, false, std::vector<int>{2, 3, 5, 14});
    EXPECT_EQ(classes(h, line.size()), "VOPPPPOKKKKK.SPPS");
    std::vector<std::string> seen;
    for (const HighlightSpan& s : h.spans) {
        if (!s.problem.empty())
            seen.push_back(std::to_string(s.start) + "+" + std::to_string(s.length) + " " +
                           s.problem.substr(0, 6));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"2+1 This c", "3+1 This c", "4+1 A NUL ",
                                              "5+1 This c", "13+1 This s", "14+1 This c",
                                              "15+1 A NUL ", "16+1 This s"}));
}

double relative_luminance(Rgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

// The WCAG contrast ratio of two colours, 1 to 21.
double contrast(Rgb a, Rgb b) {
    const double la = relative_luminance(a) + 0.05;
    const double lb = relative_luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

TEST(Highlight, EveryColourIsLegibleOnBlack) {
    std::vector<Rgb> colours = {problem_underline_colour()};
    for (int k = 0; k < HIGHLIGHT_KINDS; ++k) colours.push_back(highlight_colour(Highlight(k)));
    for (const Rgb& c : colours) {
        EXPECT_GE(contrast(c, {0, 0, 0}), 4.5) << c.r << "," << c.g << "," << c.b;
    }
    const Rgb plain = highlight_colour(Highlight::Plain);
    EXPECT_EQ(plain.r * 65536 + plain.g * 256 + plain.b, 0x00ff00);
}

TEST(Highlight, TheWindowsOwnTextsAreLegibleOnWhatLiesBehindThem) {
    using namespace window_colours;
    const struct {
        const char* what;
        Rgb text, background;
    } pairs[] = {
        {"find bar", FIND_BAR_TEXT, WINDOW_BACKGROUND},
        {"find field, text not found", NOT_FOUND_TEXT, NOT_FOUND_BACKGROUND},
        {"line number", GUTTER_NUMBER, GUTTER_BACKGROUND},
        {"line number of the caret", GUTTER_CARET_NUMBER, GUTTER_BACKGROUND},
        {"panel caption", PANEL_TEXT, WINDOW_BACKGROUND},
        {"simulated sensor value", SIMULATED_TEXT, WINDOW_BACKGROUND},
        {"variable panel heading", PANEL_TEXT, VARIABLE_PANEL_BACKGROUND},
    };
    for (const auto& p : pairs) EXPECT_GE(contrast(p.text, p.background), 4.5) << p.what;
}

}  // namespace

namespace {

TEST(UpperCase, LeavesStringLiteralsAsTheyAre) {
    EXPECT_EQ(upper_case_outside_strings("print \"hi there\";a:x=1"), "PRINT \"hi there\";A:X=1");
    EXPECT_EQ(upper_case_outside_strings("print \"a\" b \"c\" d"), "PRINT \"a\" B \"c\" D");
    // A quote left open keeps the rest of its line, and only its line.
    EXPECT_EQ(upper_case_outside_strings("print \"open a\nb=\"x\"+c"), "PRINT \"open a\nB=\"x\"+C");
    EXPECT_EQ(upper_case_outside_strings("\xe9t\xe9 // caf\xe9"), "\xe9T\xe9 // CAF\xe9");
}

}  // namespace
