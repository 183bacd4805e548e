#include "labels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "control.h"
#include "test_support.h"
#include "tokenizer.h"

namespace {

// The index by number must answer every lookup as the walk along the list does: the first
// position recorded for a number, or none.
TEST(LabelCache, IndexAnswersAsTheListWalkDoes) {
    static const char text[4096] = {};
    labels_clear();
    // Many numbers, so buckets are shared; each added twice, the second position ignored.
    std::vector<int32_t> numbers;
    for (int32_t n = -300; n < 300; ++n) numbers.push_back(n * 1024 + (n % 7));
    numbers.push_back(INT32_MIN);
    numbers.push_back(INT32_MAX);
    for (size_t i = 0; i < numbers.size(); ++i) label_add(numbers[i], text + i);
    for (size_t i = 0; i < numbers.size(); ++i) label_add(numbers[i], text + 2000 + i);

    for (int32_t probe = -310 * 1024; probe < 310 * 1024; probe += 97) {
        const char* fast = label_find(probe);
        tok_set_fast_paths(false);
        const char* walked = label_find(probe);
        tok_set_fast_paths(true);
        EXPECT_EQ(fast, walked) << probe;
    }
    for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(label_find(numbers[i]), text + i);

    // Emptied for the next run, the index included.
    labels_clear();
    for (int32_t n : numbers) EXPECT_EQ(label_find(n), nullptr);
    label_add(numbers[5], text + 7);
    EXPECT_EQ(label_find(numbers[5]), text + 7);
    labels_clear();
}

// A jump remembered from one run never leads the next astray: a second program with its GOTO
// and GOSUB at the same places but its labels elsewhere runs as it reads.
TEST(JumpCache, ANewRunForgetsTheJumpsOfTheLast) {
    // Each jump is taken twice, so the second pass goes by what the first remembered.
    TestMachine m;
    m.session.step_limit = 1000;  // a wrong jump may loop
    EXPECT_EQ(m.run("FOR I=1 TO 2\nGOSUB 1\nGOTO 2\nLABEL 1\nPRINT 1\nRETURN\nLABEL 2\nNEXT I"),
              (std::vector<std::string>{"1", "1"}));
    // The same jumps at the same places, the labels elsewhere.
    EXPECT_EQ(m.run("FOR I=1 TO 2\nGOSUB 1\nGOTO 2\nLABEL 2\nNEXT I\nEND\nLABEL 1\nPRINT 7\nRETURN"),
              (std::vector<std::string>{"7", "7"}));
}

// More jump sites than the cache has places, each passed many times, with a label defined
// twice: the run prints what it prints with every shortcut off.
TEST(JumpCache, ManySitesRunAsWithoutTheShortcuts) {
    std::string source = "FOR I=1 TO 3\n";
    for (int k = 0; k < 140; ++k) {
        source += "GOSUB " + std::to_string(10 + k % 40) + "\n";
        source += "IF A%3=0 THEN GOTO " + std::to_string(100 + k) + "\n";
        source += "A=A+1\nLABEL " + std::to_string(100 + k) + "\n";
    }
    source += "NEXT I\nPRINT A\nPRINT B\nEND\n";
    for (int k = 0; k < 40; ++k) {
        source += "LABEL " + std::to_string(10 + k) + "\nB=B+" + std::to_string(k) + "\nRETURN\n";
    }
    source += "LABEL 15\nB=B-1000\nRETURN\n";
    TestMachine fast;
    fast.session.step_limit = 100000;  // a wrong jump may loop
    const std::vector<std::string> with = fast.run(source);
    tok_set_fast_paths(false);
    TestMachine plain;
    const std::vector<std::string> without = plain.run(source);
    tok_set_fast_paths(true);
    ASSERT_EQ(with.size(), 2u) << with[0];
    EXPECT_EQ(with, without);
}

int remembered_if_skips() {
    int n = 0;
    for (const IfSkip& s : if_skip_cache) n += s.then_at != nullptr;
    return n;
}

// The skips a run remembers are gone when the next run starts, and a program edited between
// two runs, its THEN where it was but its ELSE moved on by a character, runs as it reads: a
// skip to the old place would land on the blank before the ELSE.
TEST(IfSkipCache, ANewRunForgetsTheSkipsOfTheLast) {
    TestMachine m;
    m.session.step_limit = 1000;
    EXPECT_EQ(m.run("FOR I=1 TO 3\nIF I<0 THEN A=1 ELSE PRINT 3\nIF I<0 THEN B=1\nNEXT I"),
              (std::vector<std::string>{"3", "3", "3"}));
    EXPECT_EQ(remembered_if_skips(), 2);
    const std::string edited =
        "FOR I=1 TO 3\nIF I<0 THEN A=11 ELSE PRINT 4\nIF I<0 THEN B=1\nNEXT I";
    ASSERT_TRUE(m.session.start(split_lines(edited)).ok);
    EXPECT_EQ(remembered_if_skips(), 0);
    EXPECT_EQ(m.run(edited), (std::vector<std::string>{"4", "4", "4"}));
}

// More false IFs than the memory has places, each passed many times, their skips ending at
// ":" and at ELSE: the run prints what it prints with every shortcut off.
TEST(IfSkipCache, ManySitesRunAsWithoutTheShortcuts) {
    std::string source = "FOR I=1 TO 4\n";
    for (int k = 0; k < 280; ++k) {
        const std::string i = std::to_string(k % 4);
        const std::string n = std::to_string(k % 5);
        source += k % 2 ? "IF I=" + i + " THEN A=A+" + n + "\n"
                        : "IF I=" + i + " THEN PRINT " + n + " ELSE B=B+" + n + "\n";
    }
    source += "NEXT I\nPRINT A\nPRINT B\n";
    TestMachine fast;
    fast.session.step_limit = 100000;
    const std::vector<std::string> with = fast.run(source);
    tok_set_fast_paths(false);
    TestMachine plain;
    const std::vector<std::string> without = plain.run(source);
    tok_set_fast_paths(true);
    ASSERT_GE(with.size(), 2u) << with[0];
    EXPECT_EQ(with, without);
}

}  // namespace
