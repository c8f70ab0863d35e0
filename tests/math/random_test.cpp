#include <gtest/gtest.h>

#include "math/random.h"

TEST(Random, FirstValuesOfTheUnseededSequence) {
    random_reset();
    // state 1 → 1·214013 + 2531011 = 2745024 → 2745024 >> 16 = 41, and so on.
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (const int value : expected) EXPECT_EQ(random_next(), value);
}

TEST(Random, ResetRestartsAndValuesStayInRange) {
    random_reset();
    const int first = random_next();
    for (int i = 0; i < 100000; ++i) {
        const int v = random_next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, RANDOM_MAX);
    }
    random_reset();
    EXPECT_EQ(random_next(), first);

    RandomGenerator local;
    random_reset();
    for (int i = 0; i < 50; ++i) EXPECT_EQ(local.next(), random_next());
}
