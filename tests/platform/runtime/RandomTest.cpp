#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/runtime/Random.h"

namespace vcl {
namespace {

std::vector<int> Draw(uint32_t seed, int count, int range) {
    SetRandSeed(seed);
    std::vector<int> values;
    for (int i = 0; i < count; ++i) values.push_back(Random(range));
    return values;
}

TEST(Random, TheSameSeedRepeatsTheSequence) {
    EXPECT_EQ(Draw(1234, 50, 1000), Draw(1234, 50, 1000));
    EXPECT_NE(Draw(1234, 50, 1000), Draw(1235, 50, 1000));
    SetRandSeed(0);
    Random(10);
    EXPECT_EQ(RandSeed(), 1u) << "0 * 134775813 + 1";
    Random(10);
    EXPECT_EQ(RandSeed(), 134775814u);
}

TEST(Random, StaysInItsRangeAndCoversIt) {
    SetRandSeed(42);
    std::array<int, 7> counts{};
    for (int i = 0; i < 7000; ++i) {
        const int value = Random(7);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 7);
        ++counts[static_cast<size_t>(value)];
    }
    for (int count : counts) EXPECT_NEAR(count, 1000, 150);
    for (int i = 0; i < 1000; ++i) {
        const double x = Random();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        const int r = RandomRange(-3, 3);
        ASSERT_GE(r, -3);
        ASSERT_LT(r, 3);
    }
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
}

}  // namespace
}  // namespace vcl
