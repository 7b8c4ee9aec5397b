// Pauses, the millisecond clock and the fine clock of the trial.
//
// The pauses and the millisecond clock need the system timer at a 1 ms
// period to be as fine as the trial wants (Windows otherwise ticks every 10
// to 16 ms): the trial holds a FineTimerPeriod for as long as it runs. The
// fine clock, the performance counter, needs nothing.
#pragma once
#include <stdint.h>

// Pauses the calling thread for `ms` milliseconds; a negative count is 0.
void delay_ms(int32_t ms);
// Milliseconds since the system started, as a 32-bit count that wraps after
// 2^32 ms.
uint32_t tick_ms();

// Milliseconds from `start` to `now`, two tick_ms readings; right across a
// wrap of the count between them.
inline uint32_t elapsed_ms(uint32_t start, uint32_t now)
{
    return now - start;
}

// The performance counter: a moment finer than a millisecond, comparable
// across threads.
int64_t fine_now();
// From `start` to `end`, two fine_now readings with end >= start: whole
// milliseconds and whole microseconds, both rounded down.
int32_t fine_whole_ms(int64_t start, int64_t end);
int64_t fine_whole_us(int64_t start, int64_t end);

// Asks for the finest system timer period down to 1 ms. Returns the period
// granted, or 0 when none was; pass it to timer_period_end.
uint32_t timer_period_begin();
void timer_period_end(uint32_t period);

// Asks Windows not to throttle the process: Windows 11 stops honouring the
// timer period of a process whose windows it judges hidden, and slows one it
// judges in the background. Does nothing where the system has no such
// throttling (Windows 7) or refuses.
void keep_timer_resolution();

// A 1 ms timer period for the life of a scope.
class FineTimerPeriod {
public:
    FineTimerPeriod() : period_(timer_period_begin()) {}
    ~FineTimerPeriod() { timer_period_end(period_); }
    FineTimerPeriod(const FineTimerPeriod&) = delete;
    FineTimerPeriod& operator=(const FineTimerPeriod&) = delete;
    uint32_t period() const { return period_; }

private:
    uint32_t period_;
};
