// What the session results report of the session's records: the statistics
// over its presses, their lines of text, and the whole session as a
// tab-separated table. Plain functions of a list of records.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "game/session.h"

// A press whose longest gap between looks at the key exceeds this was timed
// coarsely: had its key-down not been stamped, its reading could be that late.
constexpr int32_t COARSE_GAP_US = 4000;
bool is_coarse(const TrialRecord& record);

// A statistic that is not defined for the session (too few presses).
constexpr double NO_VALUE = -1.0;
constexpr int32_t LAST_PRESSES = 5;

struct SessionStats {
    int32_t trials;
    int32_t presses;
    int32_t early_presses;
    int32_t time_limits;
    int32_t coarse_presses;
    // The largest over the presses and time limits, -1 when there is none.
    int32_t longest_gap_us;
    // Over the presses' readings, in milliseconds; NO_VALUE where undefined.
    double best_ms;
    double median_ms;  // the mean of the middle two for an even count
    double mean_ms;
    double deviation_ms;  // sample standard deviation, from two presses
    double last_mean_ms;  // mean of the last LAST_PRESSES presses
};

// `scratch` has room for `count` values; what it holds afterwards is of no use.
SessionStats session_stats(const TrialRecord* records, int32_t count, int32_t* scratch);

// "Label: value" for each statistic: the counts, then the figures, in seconds
// with three decimals (whole milliseconds, halves rounded up), and last the
// longest gap in milliseconds with one decimal; "-" where undefined.
constexpr int RESULTS_COUNT_LINES = 5;
constexpr int RESULTS_LINES = 11;
constexpr int RESULTS_LINE_BYTES = 48;
struct ResultsLines {
    char text[RESULTS_LINES][RESULTS_LINE_BYTES];
};
void results_lines(const SessionStats& stats, ResultsLines* out);

// Seconds with three decimals for a whole number of milliseconds (0 or more).
constexpr int SECONDS_TEXT_BYTES = 16;
void seconds_text(int32_t ms, char* out);
// Milliseconds with one decimal for microseconds (0 or more), halves up.
constexpr int GAP_TEXT_BYTES = 16;
void gap_text(int32_t us, char* out);

// The session as text that pastes into a spreadsheet: a header line, then one
// line per record; tab-separated, each line ended with CR LF.
// The most bytes the table of `count` records takes, terminator included.
size_t session_table_bytes(int32_t count);
// Writes the table and its terminator to `out`; returns its length.
size_t session_table_text(const TrialRecord* records, int32_t count, char* out);
