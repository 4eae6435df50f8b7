#include "Delays.h"
#include "LaunchBuffer.h"
#include "NetObjects.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Random, FollowsTheLinearCongruentialFormula) {
    TRandom random{0};
    EXPECT_EQ(UniformRandom(random), 1.0 / 4294967296.0);
    EXPECT_EQ(random.Seed, 1u);
    EXPECT_EQ(UniformRandom(random), 134775814.0 / 4294967296.0);
    EXPECT_EQ(UniformRandom(random), 3698175007.0 / 4294967296.0);
    EXPECT_EQ(random.Seed, 3698175007u);
    EXPECT_EQ(UniformRandom(random), 870078620.0 / 4294967296.0);
}

TEST(Random, IntegerTakesTheUpperHalfOfTheProductAndAdvancesOnce) {
    TRandom random{12345};
    EXPECT_EQ(RandomInteger(random, 7), 2);
    EXPECT_EQ(random.Seed, 1655067934u);
    for (int i = 0; i < 1000; ++i) {
        const int value = RandomInteger(random, 3);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 3);
    }
}

TEST(Random, JumpingAheadLandsWhereStepByStepDrawingDoes) {
    for (const std::uint32_t seed : {0u, 7u, 4294967295u}) {
        TRandom random{seed};
        for (std::uint64_t steps = 0; steps <= 5000; ++steps) {
            ASSERT_EQ(AdvancedSeed(seed, steps), random.Seed) << seed << " + " << steps;
            EXPECT_EQ(random.Draws, steps);
            if (steps % 2)
                UniformRandom(random);
            else
                RandomInteger(random, 10);
        }
        // The cycle is 2^32 long, and jumps add up.
        EXPECT_EQ(AdvancedSeed(seed, std::uint64_t{1} << 32), seed);
        EXPECT_EQ(AdvancedSeed(AdvancedSeed(seed, 123456789), 987654321),
                  AdvancedSeed(seed, 123456789 + 987654321));
        EXPECT_NE(AdvancedSeed(seed, 214748363), seed);
    }
}

class DelayLawTest : public ::testing::Test {
protected:
    // Draws many delays from a fixed seed; returns their mean and checks each with `check`.
    template <typename Check> double MeanOf(int draws, Check check) {
        Random.Seed = 20261208;
        double sum = 0;
        for (int i = 0; i < draws; ++i) {
            const double d = DrawDelay(T, Random);
            check(d);
            sum += d;
        }
        return sum / draws;
    }

    TTransition T;
    TRandom Random;
};

TEST_F(DelayLawTest, FixedDelayDrawsNothingAndNegativeBecomesZero) {
    T.Delay = 2.5;
    Random.Seed = 77;
    EXPECT_EQ(DrawDelay(T, Random), 2.5);
    T.Delay = -1;
    EXPECT_EQ(DrawDelay(T, Random), 0);
    EXPECT_EQ(Random.Seed, 77u);
}

TEST_F(DelayLawTest, UniformLiesWithinMeanPlusMinusDeviation) {
    T.DelayType = dtUniform;
    T.Delay = 5;
    T.Deviation = 2;
    const double mean = MeanOf(100000, [](double d) {
        ASSERT_GE(d, 3);
        ASSERT_LT(d, 7);
    });
    EXPECT_NEAR(mean, 5, 0.02);
    Random.Seed = 0;
    EXPECT_EQ(DrawDelay(T, Random), 1.0 / 4294967296.0 * 2 * 2 + 3);
}

TEST_F(DelayLawTest, UniformBelowZeroIsClippedForAboutAThird) {
    T.DelayType = dtUniform;
    T.Delay = 1;
    T.Deviation = 3;
    int zeros = 0;
    MeanOf(90000, [&](double d) { zeros += d == 0; });
    EXPECT_NEAR(zeros / 90000.0, 1.0 / 3, 0.01);
}

TEST_F(DelayLawTest, NormalSumsTwelveDrawsEvenWithoutDeviation) {
    T.DelayType = dtNormal;
    T.Delay = 4;
    T.Deviation = 0;
    Random.Seed = 5;
    EXPECT_EQ(DrawDelay(T, Random), 4);
    std::uint32_t expected = 5;
    for (int i = 0; i < 12; ++i)
        expected = expected * 134775813u + 1u;
    EXPECT_EQ(Random.Seed, expected);

    T.Delay = 10;
    T.Deviation = 2;
    double squares = 0;
    const double mean = MeanOf(100000, [&](double d) {
        ASSERT_GE(d, 10 - 12);
        ASSERT_LE(d, 10 + 12);
        squares += (d - 10) * (d - 10);
    });
    EXPECT_NEAR(mean, 10, 0.03);
    EXPECT_NEAR(std::sqrt(squares / 100000), 2, 0.03);
}

TEST_F(DelayLawTest, ExponentialHasTheMeanAndDrawsOnce) {
    T.DelayType = dtExponential;
    T.Delay = 2;
    T.Deviation = 99; // not used
    const double mean = MeanOf(100000, [](double d) { ASSERT_GE(d, 0); });
    EXPECT_NEAR(mean, 2, 0.03);

    T.Delay = 0;
    Random.Seed = 9;
    EXPECT_EQ(DrawDelay(T, Random), 0);
    EXPECT_EQ(Random.Seed, 9u * 134775813u + 1u);
}

TEST_F(DelayLawTest, ExponentialDrawsAgainAfterAZeroDraw) {
    T.DelayType = dtExponential;
    T.Delay = 1;
    Random.Seed = 649090867; // the next seed is 0
    EXPECT_DOUBLE_EQ(DrawDelay(T, Random), 32 * std::log(2.0));
    EXPECT_EQ(Random.Seed, 1u);
}

TEST(LaunchBuffer, ClearLaunchBuffersEmptiesEveryTransition) {
    TEngineNet net;
    for (int i = 0; i < 3; ++i)
        BufferAppend(CreateTransition(net, "", 0, 0, 0, nullptr)->LaunchBuffer, i);
    ClearLaunchBuffers(net);
    for (const auto& t : net.Transitions)
        EXPECT_EQ(BufferCount(t->LaunchBuffer), 0);
}

} // namespace
