// Prints how finely tick_ms moves and how long delay_ms(1) pauses, with and
// without the 1 ms timer period: median and maximum of many samples.
#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>
#include "game/clock.h"

namespace {

constexpr int SAMPLES = 2000;

struct Figures {
    double median;
    double maximum;
};

Figures summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.back()};
}

Figures tick_steps()
{
    std::vector<double> steps;
    uint32_t last = tick_ms();
    while (steps.size() < SAMPLES) {
        const uint32_t now = tick_ms();
        if (now != last) {
            steps.push_back(elapsed_ms(last, now));
            last = now;
        }
    }
    return summarise(steps);
}

Figures one_ms_pauses()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> pauses;
    for (int i = 0; i < SAMPLES; ++i) {
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        delay_ms(1);
        QueryPerformanceCounter(&after);
        pauses.push_back(1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                         static_cast<double>(frequency.QuadPart));
    }
    return summarise(pauses);
}

void print(const char* what, const char* period, Figures f)
{
    std::printf("%-16s %-14s median %7.3f ms   max %7.3f ms   (%d samples)\n", what, period,
                f.median, f.maximum, SAMPLES);
}

}  // namespace

int main()
{
    print("tick_ms step", "default", tick_steps());
    print("delay_ms(1)", "default", one_ms_pauses());
    FineTimerPeriod fine;
    char period[32];
    std::snprintf(period, sizeof period, "period %u ms", static_cast<unsigned>(fine.period()));
    print("tick_ms step", period, tick_steps());
    print("delay_ms(1)", period, one_ms_pauses());
    return 0;
}
