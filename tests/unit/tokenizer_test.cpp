#include "tokenizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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

namespace {

// Runs `body` with the fast paths of the scan off, then on again.
template <typename F>
void with_plain_paths(F body) {
    tok_set_fast_paths(false);
    body();
    tok_set_fast_paths(true);
}

TEST(TokenizerFastPaths, LiteralsConvertExactlyAsTheLibraryDoes) {
    const char* texts[] = {"0",          "7",         "-0",        "-0.0",      "0.1",
                           "0.2",        "0.3",       "1.1",       "2.675",     "123.456",
                           "-9.87654321", "5.",       ".5",        "-.5",       "1.2.3",
                           "99999999999999", "999999999999999", "0.00000000000001",
                           "1234567.891234", "-1234567.89123", "3.14159265358979",
                           "1E5",        "2.5E-3",    "0X1F",      "1.5X",      ".",
                           "-.",         "-",         "\t7",       "A",         "1.5e2"};
    for (const char* t : texts) {
        const double expected = parse_number_plain(t);
        const double got = parse_number(t);
        EXPECT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << t;
    }
    // Every number token scanned carries the library's value too, sign of zero included.
    for (const char* t : texts) {
        const std::string text = std::string(t) + ":";
        tok_reset(text.c_str());
        if (tok_current() != TK_NUMBER) continue;
        const double expected = parse_number_plain(text.c_str());
        const double got = tok_number();
        EXPECT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << t;
    }
}

TEST(TokenizerFastPaths, RandomDecimalsMatchTheLibrary) {
    // Decimal texts of up to 15 characters with a "." anywhere, from a fixed generator.
    uint64_t state = 12345;
    auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(state >> 33);
    };
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        if (next() % 4 == 0) text += '-';
        const int length = 1 + static_cast<int>(next() % 14);
        const int dot = static_cast<int>(next() % (length + 1));
        for (int i = 0; i < length; ++i) {
            if (i == dot) text += '.';
            text += static_cast<char>('0' + next() % 10);
        }
        text += ':';
        tok_reset(text.c_str());
        const double expected = parse_number_plain(text.c_str());
        const double scanned = tok_number();
        const double parsed = parse_number(text.c_str());
        ASSERT_EQ(std::memcmp(&expected, &scanned, sizeof scanned), 0) << text;
        ASSERT_EQ(std::memcmp(&expected, &parsed, sizeof parsed), 0) << text;
        // Reached by an advance, as most literals are.
        const std::string after = "+" + text;
        tok_reset(after.c_str());
        tok_advance();
        const double advanced = tok_number();
        ASSERT_EQ(std::memcmp(&expected, &advanced, sizeof advanced), 0) << text;
    }
}

TEST(TokenizerFastPaths, KeywordsScanAsOnePassOverTheTableDoes) {
    // Every keyword, cut short at each length and with each position changed to each letter,
    // digit or sign, and followed by each of a few characters.
    std::vector<std::string> texts;
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0:= \"a";
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        const std::string word = k->keyword;
        ASSERT_GE(word.size(), 2u);
        for (char c : word) ASSERT_TRUE(c >= 'A' && c <= 'Z') << word;
        for (size_t cut = 1; cut <= word.size(); ++cut) {
            for (char after : alphabet) texts.push_back(word.substr(0, cut) + after);
        }
        for (size_t i = 0; i < word.size(); ++i) {
            for (char c : alphabet) {
                std::string changed = word;
                changed[i] = c;
                texts.push_back(changed);
            }
        }
    }
    for (int c = 1; c < 256; ++c) texts.push_back(std::string(1, static_cast<char>(c)) + "B");
    for (const std::string& t : texts) {
        const char* fast_end = nullptr;
        const char* plain_end = nullptr;
        const TokenKind fast = scan_token(t.c_str(), &fast_end);
        TokenKind plain = TK_ERROR;
        with_plain_paths([&] { plain = scan_token(t.c_str(), &plain_end); });
        EXPECT_EQ(fast, plain) << t;
        EXPECT_EQ(fast_end, plain_end) << t;
    }
}

}  // namespace
