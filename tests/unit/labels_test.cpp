#include "labels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

}  // namespace
