// The millisecond clock, elapsed times across a wrap, and pauses. Timing is
// asserted loosely; clock_probe prints the real figures.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include <windows.h>
#include "game/clock.h"

namespace {

TEST(ElapsedTest, IsTheDifferenceEvenAcrossAWrapOfTheCount)
{
    EXPECT_EQ(elapsed_ms(100u, 250u), 150u);
    EXPECT_EQ(elapsed_ms(5u, 5u), 0u);
    EXPECT_EQ(elapsed_ms(0xFFFFFFF0u, 0x10u), 0x20u);
    EXPECT_EQ(elapsed_ms(0x7FFFFFFFu, 0x80000009u), 10u) << "the signed turn-over";
    EXPECT_EQ(elapsed_ms(0xFFFFFFFFu, 9999u), 10000u);
}

TEST(ClockTest, CountsMillisecondsSinceTheSystemStarted)
{
    // Same origin and unit as the system's tick count.
    const uint32_t apart = elapsed_ms(GetTickCount(), tick_ms());
    EXPECT_TRUE(apart < 1000u || apart > 0xFFFFFFFFu - 1000u) << apart;
}

TEST(ClockTest, WithTheFinePeriodTheCountMovesInStepsOfAboutOneMillisecond)
{
    FineTimerPeriod fine;
    EXPECT_GE(fine.period(), 1u);
    std::vector<uint32_t> steps;
    uint32_t last = tick_ms();
    while (steps.size() < 200) {
        const uint32_t now = tick_ms();
        if (now != last) {
            steps.push_back(elapsed_ms(last, now));
            last = now;
        }
    }
    std::sort(steps.begin(), steps.end());
    EXPECT_LT(steps[steps.size() / 2], 5u);
}

TEST(DelayTest, PausesAtLeastAboutTheCountGiven)
{
    FineTimerPeriod fine;
    const uint32_t start = tick_ms();
    delay_ms(30);
    EXPECT_GE(elapsed_ms(start, tick_ms()), 25u);
}

DWORD WINAPI pause_minus_one(void*)
{
    delay_ms(-1);
    return 0;
}

TEST(DelayTest, ANegativeCountDoesNotPauseForever)
{
    HANDLE thread = CreateThread(nullptr, 0, pause_minus_one, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(thread);
}

}  // namespace
