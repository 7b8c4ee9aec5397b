// Sleep, the multimedia timer's millisecond count and its period.
#include "game/clock.h"
#include <windows.h>
#include <mmsystem.h>

void delay_ms(int32_t ms)
{
    // A negative count would reach Sleep as INFINITE or close to it.
    Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0);
}

uint32_t tick_ms()
{
    // Counts from system start like GetTickCount, but follows the timer
    // period instead of the scheduler's 10 to 16 ms tick.
    return timeGetTime();
}

uint32_t timer_period_begin()
{
    TIMECAPS caps;
    if (timeGetDevCaps(&caps, sizeof caps) != MMSYSERR_NOERROR)
        return 0;
    UINT period = caps.wPeriodMin > 1 ? caps.wPeriodMin : 1;
    if (period > caps.wPeriodMax)
        return 0;
    return timeBeginPeriod(period) == TIMERR_NOERROR ? period : 0;
}

void timer_period_end(uint32_t period)
{
    if (period)
        timeEndPeriod(period);
}
