// The session results' statistics and texts, from the records alone.
#include "game/results/session_report.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

constexpr char TABLE_HEADER[] = "Trial\tDelay (s)\tOutcome\tReading (s)\tLongest gap (ms)\r\n";
// A line's number, delay, reading and gap at their widest, the longest
// outcome, the tabs and the line end.
constexpr size_t TABLE_LINE_BYTES = 11 + 11 + 10 + SECONDS_TEXT_BYTES + GAP_TEXT_BYTES + 4 + 2;

const char* outcome_name(TrialOutcome outcome)
{
    switch (outcome) {
    case TrialOutcome::PRESS:
        return "press";
    case TrialOutcome::EARLY:
        return "early";
    case TrialOutcome::TIME_LIMIT:
        return "time limit";
    }
    return "";
}

int compare_readings(const void* a, const void* b)
{
    const int32_t x = *static_cast<const int32_t*>(a);
    const int32_t y = *static_cast<const int32_t*>(b);
    return (x > y) - (x < y);
}

// The C runtime's sqrt would bring MinGW's error reporting into the program,
// three times the size of everything here. Newton's steps from above fall
// until they can fall no further.
double square_root(double x)
{
    if (x <= 0)
        return 0;
    double root = x > 1 ? x : 1;
    for (;;) {
        const double next = (root + x / root) / 2;
        if (next >= root)
            return root;
        root = next;
    }
}

// The value of a statistic as it is shown.
void value_text(double ms, char* out)
{
    if (ms < 0) {
        strcpy(out, "-");
        return;
    }
    seconds_text(static_cast<int32_t>(ms + 0.5), out);
}

}  // namespace

bool is_coarse(const TrialRecord& record)
{
    return record.outcome == TrialOutcome::PRESS && record.longest_gap_us > COARSE_GAP_US;
}

void gap_text(int32_t us, char* out)
{
    const long tenths = (static_cast<long>(us) + 50) / 100;
    sprintf(out, "%ld.%ld", tenths / 10, tenths % 10);
}

void seconds_text(int32_t ms, char* out)
{
    sprintf(out, "%ld.%03ld", static_cast<long>(ms / 1000), static_cast<long>(ms % 1000));
}

SessionStats session_stats(const TrialRecord* records, int32_t count, int32_t* scratch)
{
    SessionStats s = {count, 0, 0, 0, 0, -1, NO_VALUE, NO_VALUE, NO_VALUE, NO_VALUE, NO_VALUE};
    double sum = 0;
    for (int32_t i = 0; i < count; ++i) {
        const TrialRecord& r = records[i];
        switch (r.outcome) {
        case TrialOutcome::PRESS:
            scratch[s.presses++] = r.reading_ms;
            sum += r.reading_ms;
            s.coarse_presses += is_coarse(r);
            break;
        case TrialOutcome::EARLY:
            ++s.early_presses;
            continue;  // never timed: no gap
        case TrialOutcome::TIME_LIMIT:
            ++s.time_limits;
            break;
        }
        if (r.longest_gap_us > s.longest_gap_us)
            s.longest_gap_us = r.longest_gap_us;
    }
    const int32_t n = s.presses;
    if (n == 0)
        return s;
    s.mean_ms = sum / n;
    if (n >= LAST_PRESSES) {
        // The presses are in trial order until they are sorted below.
        double last = 0;
        for (int32_t i = n - LAST_PRESSES; i < n; ++i)
            last += scratch[i];
        s.last_mean_ms = last / LAST_PRESSES;
    }
    if (n >= 2) {
        double squares = 0;
        for (int32_t i = 0; i < n; ++i)
            squares += (scratch[i] - s.mean_ms) * (scratch[i] - s.mean_ms);
        s.deviation_ms = square_root(squares / (n - 1));
    }
    qsort(scratch, static_cast<size_t>(n), sizeof scratch[0], compare_readings);
    s.best_ms = scratch[0];
    s.median_ms = n % 2 ? scratch[n / 2] : (scratch[n / 2 - 1] + scratch[n / 2]) / 2.0;
    return s;
}

void results_lines(const SessionStats& stats, ResultsLines* out)
{
    struct Count {
        const char* label;
        int32_t value;
    };
    const Count counts[] = {{"Trials", stats.trials},
                            {"Presses", stats.presses},
                            {"Early presses", stats.early_presses},
                            {"Time limits", stats.time_limits},
                            {"Coarse trials", stats.coarse_presses}};
    struct Figure {
        const char* label;
        double ms;
    };
    const Figure figures[] = {{"Best", stats.best_ms},
                              {"Median", stats.median_ms},
                              {"Mean", stats.mean_ms},
                              {"Standard deviation", stats.deviation_ms},
                              {"Mean of last 5", stats.last_mean_ms}};
    static_assert(sizeof counts / sizeof counts[0] == RESULTS_COUNT_LINES &&
                  RESULTS_COUNT_LINES + sizeof figures / sizeof figures[0] + 1 == RESULTS_LINES);
    int line = 0;
    for (const Count& c : counts)
        sprintf(out->text[line++], "%s: %ld", c.label, static_cast<long>(c.value));
    for (const Figure& f : figures) {
        char value[SECONDS_TEXT_BYTES];
        value_text(f.ms, value);
        sprintf(out->text[line++], "%s: %s", f.label, value);
    }
    char gap[GAP_TEXT_BYTES] = "-";
    if (stats.longest_gap_us >= 0) {
        gap_text(stats.longest_gap_us, gap);
        strcat(gap, " ms");
    }
    sprintf(out->text[line], "Longest gap: %s", gap);
}

size_t session_table_bytes(int32_t count)
{
    return sizeof TABLE_HEADER + static_cast<size_t>(count) * TABLE_LINE_BYTES;
}

size_t session_table_text(const TrialRecord* records, int32_t count, char* out)
{
    char* at = out;
    strcpy(at, TABLE_HEADER);
    at += sizeof TABLE_HEADER - 1;
    for (int32_t i = 0; i < count; ++i) {
        const TrialRecord& r = records[i];
        char reading[SECONDS_TEXT_BYTES] = "";
        if (r.outcome == TrialOutcome::PRESS)
            seconds_text(r.reading_ms, reading);
        char gap[GAP_TEXT_BYTES] = "";
        if (r.outcome != TrialOutcome::EARLY)
            gap_text(r.longest_gap_us, gap);
        at += sprintf(at, "%ld\t%ld\t%s\t%s\t%s\r\n", static_cast<long>(r.number),
                      static_cast<long>(r.delay_s), outcome_name(r.outcome), reading, gap);
    }
    return static_cast<size_t>(at - out);
}
