#include "garden/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

// Must run first in this program: nothing else here may draw before it.
TEST(RandomBelow, FirstCallSeedsFromTheClockEvenForNoRange)
{
    ASSERT_FALSE(randomSeeded());
    const std::time_t before = std::time(nullptr);
    EXPECT_EQ(randomBelow(-3), 0);
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(randomSeeded());

    const int next = std::rand();
    std::srand(static_cast<unsigned>(before));
    const int fromBefore = std::rand();
    std::srand(static_cast<unsigned>(after));
    const int fromAfter = std::rand();
    EXPECT_TRUE(next == fromBefore || next == fromAfter);
}

TEST(RandomBelow, LaterCallsTakeRandModuloNWithoutReseeding)
{
    ASSERT_TRUE(randomSeeded());
    const int ranges[] = {1, 2, 6, 1000};
    std::srand(99u);
    int expected[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        expected[i] = std::rand() % ranges[i];
    }

    std::srand(99u);
    for (int i = 0; i < 4; ++i) {
        // A call with no range in between neither reseeds nor uses up a draw.
        EXPECT_EQ(randomBelow(0), 0);
        EXPECT_EQ(randomBelow(ranges[i]), expected[i]) << "n = " << ranges[i];
    }
}
