// The results window's statistics and their lines, from lists of records
// alone; and where the window stands beside the main window.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "game/results/results_window.h"
#include "game/results/session_report.h"

namespace {

TrialRecord press(int32_t ms, int32_t gap_us = 1200)
{
    return {0, 1, TrialOutcome::PRESS, ms, gap_us};
}
TrialRecord early()
{
    return {0, 1, TrialOutcome::EARLY, 0, 0};
}
TrialRecord time_limit(int32_t gap_us = 1800)
{
    return {0, 1, TrialOutcome::TIME_LIMIT, 10003, gap_us};
}

struct StatsCase {
    const char* what;
    std::vector<TrialRecord> records;
    std::vector<std::string> lines;
};

const StatsCase STATS_CASES[] = {
    {"no trials",
     {},
     {"Trials: 0", "Presses: 0", "Early presses: 0", "Time limits: 0", "Coarse trials: 0",
      "Best: -", "Median: -", "Mean: -", "Standard deviation: -", "Mean of last 5: -",
      "Longest gap: -"}},
    {"one press",
     {press(250)},
     {"Trials: 1", "Presses: 1", "Early presses: 0", "Time limits: 0", "Coarse trials: 0",
      "Best: 0.250", "Median: 0.250", "Mean: 0.250", "Standard deviation: -", "Mean of last 5: -",
      "Longest gap: 1.2 ms"}},
    // An even count's median is the mean of the middle two; halves round up.
    {"two presses",
     {press(301), press(200)},
     {"Trials: 2", "Presses: 2", "Early presses: 0", "Time limits: 0", "Coarse trials: 0",
      "Best: 0.200", "Median: 0.251", "Mean: 0.251", "Standard deviation: 0.071",
      "Mean of last 5: -", "Longest gap: 1.2 ms"}},
    {"five presses",
     {press(300), press(200), press(250), press(400), press(350)},
     {"Trials: 5", "Presses: 5", "Early presses: 0", "Time limits: 0", "Coarse trials: 0",
      "Best: 0.200", "Median: 0.300", "Mean: 0.300", "Standard deviation: 0.079",
      "Mean of last 5: 0.300", "Longest gap: 1.2 ms"}},
    // The last five in trial order, not the first five nor the five best.
    {"six presses",
     {press(300), press(200), press(250), press(400), press(350), press(150)},
     {"Trials: 6", "Presses: 6", "Early presses: 0", "Time limits: 0", "Coarse trials: 0",
      "Best: 0.150", "Median: 0.275", "Mean: 0.275", "Standard deviation: 0.094",
      "Mean of last 5: 0.270", "Longest gap: 1.2 ms"}},
    {"early presses and time limits are counted but not measured",
     {press(280), early(), time_limit(), early(), press(320)},
     {"Trials: 5", "Presses: 2", "Early presses: 2", "Time limits: 1", "Coarse trials: 0",
      "Best: 0.280", "Median: 0.300", "Mean: 0.300", "Standard deviation: 0.028",
      "Mean of last 5: -", "Longest gap: 1.8 ms"}},
    {"readings of 0 and 10000 ms",
     {press(10000), press(0)},
     {"Trials: 2", "Presses: 2", "Early presses: 0", "Time limits: 0", "Coarse trials: 0",
      "Best: 0.000", "Median: 5.000", "Mean: 5.000", "Standard deviation: 7.071",
      "Mean of last 5: -", "Longest gap: 1.2 ms"}},
    // Coarse: a press whose longest gap is over 4.0 ms. The longest gap is
    // over presses and time limits; an early press is never timed.
    {"coarse presses and the longest gap",
     {press(300, 4000), press(200, 4001), time_limit(12350), early()},
     {"Trials: 4", "Presses: 2", "Early presses: 1", "Time limits: 1", "Coarse trials: 1",
      "Best: 0.200", "Median: 0.250", "Mean: 0.250", "Standard deviation: 0.071",
      "Mean of last 5: -", "Longest gap: 12.4 ms"}},
    {"early presses only",
     {early()},
     {"Trials: 1", "Presses: 0", "Early presses: 1", "Time limits: 0", "Coarse trials: 0",
      "Best: -", "Median: -", "Mean: -", "Standard deviation: -", "Mean of last 5: -",
      "Longest gap: -"}},
};

TEST(SessionReportTest, StatisticsCoverThePressesOnly)
{
    for (const StatsCase& c : STATS_CASES) {
        SCOPED_TRACE(c.what);
        std::vector<int32_t> scratch(c.records.size() + 1);
        ResultsLines lines;
        results_lines(
            session_stats(c.records.data(), static_cast<int32_t>(c.records.size()), scratch.data()),
            &lines);
        ASSERT_EQ(c.lines.size(), static_cast<size_t>(RESULTS_LINES));
        for (int i = 0; i < RESULTS_LINES; ++i)
            EXPECT_EQ(lines.text[i], c.lines[i]);
    }
}

struct PlacementCase {
    const char* what;
    RECT owner;
    POINT expected;
};

TEST(SessionReportTest, TheResultsStandBesideTheMainWindowWithinTheWorkArea)
{
    const RECT work = {0, 0, 1000, 700};
    const SIZE size = {300, 350};
    const PlacementCase cases[] = {
        {"room on the right", {100, 100, 360, 320}, {368, 100}},
        {"room on the left only", {600, 100, 860, 320}, {292, 100}},
        {"room on neither side: centred on it", {250, 100, 750, 320}, {350, 35}},
        {"pushed up into the work area", {100, 500, 360, 690}, {368, 350}},
        {"centred, then pushed right into the work area", {-500, 300, 700, 500}, {0, 225}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.what);
        const POINT at = place_beside(c.owner, work, size, 8);
        EXPECT_EQ(at.x, c.expected.x);
        EXPECT_EQ(at.y, c.expected.y);
    }
}

}  // namespace
