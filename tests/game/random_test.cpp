// The RANROT generator: its sequences for known seeds, the positions of its
// two pairs, self-seeding, the range mapping and the trial's delay rule.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include "game/random.h"

namespace {

std::vector<int32_t> draws(int32_t max, int count)
{
    std::vector<int32_t> out;
    for (int i = 0; i < count; ++i)
        out.push_back(random_int(max));
    return out;
}

using Seq = std::vector<int32_t>;

TEST(RandomTest, SeedZeroGivesTheKnownSequencesForMaxima59And60)
{
    random_seed(0);
    EXPECT_EQ(random_state()->write_pair, 3);
    EXPECT_EQ(random_state()->lag_pair, 13);
    EXPECT_EQ(draws(59, 10), (Seq{32, 47, 39, 22, 14, 37, 38, 25, 15, 28}));

    random_seed(0);
    EXPECT_EQ(draws(60, 10), (Seq{33, 47, 40, 23, 14, 38, 38, 25, 16, 28}));
}

TEST(RandomTest, SeedOneGivesItsKnownSequence)
{
    random_seed(1);
    EXPECT_EQ(random_state()->write_pair, 3);
    EXPECT_EQ(random_state()->lag_pair, 13);
    EXPECT_EQ(draws(59, 10), (Seq{43, 10, 36, 54, 0, 7, 30, 17, 25, 50}));
}

TEST(RandomTest, BothPairsMoveDownOneAtATimeTenApart)
{
    random_seed(7);
    int32_t write = random_state()->write_pair;
    for (int i = 0; i < 2 * RANDOM_PAIRS; ++i) {
        random_step();
        write = write == 0 ? 16 : write - 1;
        ASSERT_EQ(random_state()->write_pair, write) << "step " << i;
        ASSERT_EQ(random_state()->lag_pair, (write + 10) % 17) << "step " << i;
    }
    EXPECT_EQ(random_state()->write_pair, 3) << "a full cycle is 17 steps";
}

TEST(RandomTest, MaximaOfZeroAndBelowStillAdvanceTheGenerator)
{
    random_seed(0);
    EXPECT_EQ(random_int(0), 0);
    EXPECT_EQ(random_int(59), 47) << "the second draw of seed 0";
    EXPECT_EQ(random_int(-1), INT32_MIN);
    EXPECT_EQ(random_int(INT32_MIN), INT32_MIN);
    EXPECT_EQ(random_int(59), 14) << "the fifth draw of seed 0";
}

TEST(RandomTest, ADrawIsTheTopOfTheStepScaledToTheRange)
{
    random_seed(99);
    for (int i = 0; i < 50; ++i) {
        const RandomState saved = *random_state();
        const uint64_t r = random_step();
        *random_state() = saved;
        ASSERT_EQ(random_int(1), static_cast<int32_t>(r >> 63));
        *random_state() = saved;
        ASSERT_EQ(random_int(INT32_MAX), static_cast<int32_t>(r >> 33));
    }
}

TEST(RandomTest, TheFirstSeedingGivesWhatAnyLaterSeedingGives)
{
    *random_state() = RandomState{};
    random_seed(12345);
    EXPECT_EQ(random_state()->seeded, 1);
    const Seq first = draws(1000, 20);
    random_seed(12345);
    EXPECT_EQ(draws(1000, 20), first);
}

TEST(RandomTest, AnUnseededGeneratorSeedsItselfAtTheFirstDraw)
{
    *random_state() = RandomState{};
    const Seq values = draws(1000000, 10);
    EXPECT_EQ(random_state()->seeded, 1);
    EXPECT_NE(values, Seq(10, 0)) << "an all-zero table only ever gives 0";
}

// Counts trial delays for a spin value, and checks they stay in 1 to max.
std::map<int32_t, int> delay_counts(int32_t spin_value, int32_t max, int count)
{
    std::map<int32_t, int> counts;
    for (int i = 0; i < count; ++i) {
        const int32_t d = trial_delay_seconds(spin_value);
        EXPECT_GE(d, 1);
        EXPECT_LE(d, max);
        ++counts[d];
    }
    return counts;
}

TEST(TrialDelayTest, OneSecondComesUpTwiceAsOftenAsEachOtherDelay)
{
    random_seed(2024);
    for (int32_t n : {5, 60}) {
        const int per_value = 4000;
        const auto counts = delay_counts(n, n, per_value * (n + 1));
        ASSERT_EQ(static_cast<int32_t>(counts.size()), n) << "every delay 1 to n comes up";
        EXPECT_NEAR(counts.at(1), 2 * per_value, 2 * per_value / 10) << "n " << n;
        for (int32_t d = 2; d <= n; ++d)
            EXPECT_NEAR(counts.at(d), per_value, per_value / 10) << "n " << n << " d " << d;
    }
}

TEST(TrialDelayTest, SpinValuesOfOneOrLessGiveOneSecond)
{
    random_seed(3);
    for (int32_t spin : {1, 0, -3, 200}) {
        const auto counts = delay_counts(spin, 1, 200);
        EXPECT_EQ(counts.size(), 1u) << spin;
    }
}

TEST(TrialDelayTest, TheSpinValueIsTakenAsASignedByte)
{
    random_seed(4);
    const auto counts = delay_counts(256 + 7, 7, 2000);
    EXPECT_EQ(counts.size(), 7u);
}

}  // namespace
