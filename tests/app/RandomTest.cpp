// The game's generator: every draw uniform over 0 to 32767, one seed one sequence.

#include "game/Random.hpp"

#include <gtest/gtest.h>

#include <array>

TEST(RandomGeneratorTest, DrawsCoverTheWholeRangeEvenly)
{
    RandomGenerator random(12345);
    std::array<int, 16> buckets{};
    int low = RandomMax, high = 0;
    constexpr int draws = 160000;
    for (int i = 0; i < draws; ++i)
    {
        const int r = random();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RandomMax);
        low = std::min(low, r);
        high = std::max(high, r);
        ++buckets[static_cast<std::size_t>(r / 2048)];
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, RandomMax);
    for (int count : buckets)
        EXPECT_NEAR(count, draws / 16, draws / 16 / 10); // within 10 % of even
}

TEST(RandomGeneratorTest, OneSeedGivesOneSequence)
{
    RandomGenerator a(2026), b(2026), c(2027);
    bool differs = false;
    for (int i = 0; i < 100; ++i)
    {
        const int x = a();
        EXPECT_EQ(x, b());
        differs = differs || x != c();
    }
    EXPECT_TRUE(differs);
}
