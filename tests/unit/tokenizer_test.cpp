#include "tokenizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<TokenKind> scan_all(const char* text) {
    std::vector<TokenKind> kinds;
    tok_reset(text);
    for (int guard = 0; guard < 100; ++guard) {
        kinds.push_back(tok_current());
        if (tok_at_end() || tok_current() == TK_ERROR) break;
        tok_advance();
    }
    return kinds;
}

TEST(KeywordTable, FollowsTheTokenCodesInOrder) {
    const char* expected[] = {"LABEL", "PRINT", "IF",     "THEN", "ELSE", "FOR",  "TO", "NEXT",
                              "GOTO",  "GOSUB", "RETURN", "CALL", "PEEK", "POKE", "END"};
    int row = 0;
    for (const char* k : expected) EXPECT_STREQ(keyword_table[row++].keyword, k);
    EXPECT_EQ(keyword_table[0].token, TK_LABEL);
    // After LABEL the codes run on without a gap: 6..19, then 36..64.
    for (int r = 1; r < 15; ++r) EXPECT_EQ(keyword_table[r].token, 5 + r);
    for (int r = 15; r < KEYWORD_COUNT; ++r) EXPECT_EQ(keyword_table[r].token, 21 + r);
    EXPECT_STREQ(keyword_table[KEYWORD_COUNT - 1].keyword, "DELAY");
    EXPECT_EQ(keyword_table[KEYWORD_COUNT].keyword, nullptr);
}

TEST(Tokenizer, EmptyTextIsAtEnd) {
    tok_reset("");
    EXPECT_EQ(tok_current(), TK_ENDOFINPUT);
    EXPECT_TRUE(tok_at_end());
    const char* before = tok_position();
    tok_advance();
    EXPECT_EQ(tok_position(), before);
    EXPECT_EQ(tok_current(), TK_ENDOFINPUT);
}

TEST(Tokenizer, MinusBeforeANumberIsItsSign) {
    EXPECT_EQ(scan_all("A-1"), (std::vector<TokenKind>{TK_VARIABLE, TK_NUMBER, TK_ENDOFINPUT}));
    EXPECT_EQ(scan_all("A - 1"),
              (std::vector<TokenKind>{TK_VARIABLE, TK_MINUS, TK_NUMBER, TK_ENDOFINPUT}));
    EXPECT_EQ(scan_all("--5"), (std::vector<TokenKind>{TK_MINUS, TK_NUMBER, TK_ENDOFINPUT}));
    EXPECT_EQ(scan_all("-A"), (std::vector<TokenKind>{TK_MINUS, TK_VARIABLE, TK_ENDOFINPUT}));
    tok_reset("--5");
    tok_advance();
    EXPECT_EQ(tok_number(), -5);
}

TEST(Tokenizer, NumberLiteralsHaveAtMostFifteenCharacters) {
    tok_reset("123456789012345:");
    EXPECT_EQ(tok_current(), TK_NUMBER);
    tok_advance();
    EXPECT_EQ(tok_current(), TK_CR);
    EXPECT_EQ(scan_all("1234567890123456"), (std::vector<TokenKind>{TK_ERROR}));
    EXPECT_EQ(scan_all("-12345678901234"), (std::vector<TokenKind>{TK_NUMBER, TK_ENDOFINPUT}));
    EXPECT_EQ(scan_all("-123456789012345"), (std::vector<TokenKind>{TK_ERROR}));
}

TEST(Tokenizer, AnInvalidCharacterIsNeverStepped) {
    tok_reset("A$B");
    tok_advance();
    EXPECT_EQ(tok_current(), TK_ERROR);
    const char* at = tok_position();
    tok_advance();
    EXPECT_EQ(tok_current(), TK_ERROR);
    EXPECT_EQ(tok_position(), at);
}

TEST(Tokenizer, PositionsOfTokens) {
    const char* text = "PRINT  \"A:B\";X:";
    tok_reset(text);
    EXPECT_EQ(tok_position() - text, 0);
    tok_advance();
    EXPECT_EQ(tok_current(), TK_STRING);
    EXPECT_EQ(tok_position() - text, 7);
    tok_advance();
    EXPECT_EQ(tok_current(), TK_SEMICOLON);
    EXPECT_EQ(tok_position() - text, 12);
    tok_advance();
    EXPECT_EQ(tok_variable(), 'X' - 'A');
    tok_advance();
    EXPECT_EQ(tok_current(), TK_CR);
    tok_jump(text + 7);
    EXPECT_EQ(tok_current(), TK_STRING);
}

TEST(Tokenizer, NumbersReadAsAtofDoes) {
    tok_reset("1.2.3");
    EXPECT_EQ(tok_current(), TK_NUMBER);
    EXPECT_EQ(tok_number(), 1.2);
    tok_advance();
    EXPECT_EQ(tok_current(), TK_ENDOFINPUT);
    tok_reset(".");
    EXPECT_EQ(tok_current(), TK_NUMBER);
    EXPECT_EQ(tok_number(), 0);
    // The value reads past the one-character token.
    tok_reset("1E5");
    EXPECT_EQ(tok_number(), 100000);
    tok_advance();
    EXPECT_EQ(tok_current(), TK_VARIABLE);
    EXPECT_EQ(parse_number("0X1F"), 31);
    EXPECT_TRUE(std::isinf(parse_number("1E400")));
    EXPECT_EQ(parse_number("A"), 0);
    EXPECT_EQ(parse_number("\t7"), 7);
    EXPECT_EQ(parse_number("0.1"), 0.1);
    EXPECT_EQ(parse_number("-0"), 0);
    EXPECT_TRUE(std::signbit(parse_number("-0")));
}

TEST(Tokenizer, NoWordBoundariesAndOnlyUpperCase) {
    EXPECT_EQ(scan_all("TOTAL"), (std::vector<TokenKind>{TK_TO, TK_VARIABLE, TK_VARIABLE,
                                                         TK_VARIABLE, TK_ENDOFINPUT}));
    EXPECT_EQ(scan_all("PRINTA"), (std::vector<TokenKind>{TK_PRINT, TK_VARIABLE, TK_ENDOFINPUT}));
    EXPECT_EQ(scan_all("GOTO5"), (std::vector<TokenKind>{TK_GOTO, TK_NUMBER, TK_ENDOFINPUT}));
    EXPECT_EQ(scan_all("print"), (std::vector<TokenKind>{TK_ERROR}));
    EXPECT_EQ(scan_all(" PRINT"), (std::vector<TokenKind>{TK_ERROR}));
    EXPECT_EQ(scan_all("A\tB"), (std::vector<TokenKind>{TK_VARIABLE, TK_ERROR}));
}

TEST(Tokenizer, StringLiterals) {
    char buffer[41];
    std::memset(buffer, 'x', sizeof buffer);
    tok_reset("\"\"");
    EXPECT_EQ(tok_current(), TK_STRING);
    tok_string(buffer, 40);
    EXPECT_STREQ(buffer, "");

    const std::string fifty = "\"" + std::string(50, 'Q') + "\":";
    tok_reset(fifty.c_str());
    tok_string(buffer, 40);
    EXPECT_EQ(std::string(buffer), std::string(40, 'Q'));
    tok_advance();
    EXPECT_EQ(tok_current(), TK_CR);

    // Without its closing quote a literal is no token, and the scan stops at the text's end.
    EXPECT_EQ(scan_all("\"OPEN"), (std::vector<TokenKind>{TK_ERROR}));
}

}  // namespace
