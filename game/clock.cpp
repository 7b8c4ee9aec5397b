// Sleep, the multimedia timer's millisecond count and its period, the
// performance counter, and the request not to be throttled.
#include "game/clock.h"
#include <windows.h>
#include <mmsystem.h>
#include "runtime/module.h"

namespace {

// Fixed at system start; asked each time, which costs about as little as
// keeping it would.
int64_t ticks_per_second()
{
    LARGE_INTEGER rate;
    return QueryPerformanceFrequency(&rate) && rate.QuadPart > 0 ? rate.QuadPart : 1;
}

// Windows 8 and later; looked up, so the SDK's declaration is not used.
using SetProcessInformationCall = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, void*, DWORD);

}  // namespace

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

int64_t fine_now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int32_t fine_whole_ms(int64_t start, int64_t end)
{
    return static_cast<int32_t>((end - start) * 1000 / ticks_per_second());
}

int64_t fine_whole_us(int64_t start, int64_t end)
{
    return (end - start) * 1000000 / ticks_per_second();
}

void keep_timer_resolution()
{
    // Looked up, not imported, so that Windows 7 starts the game at all.
    const auto set_information =
        system_function<SetProcessInformationCall>("kernel32.dll", "SetProcessInformation");
    if (!set_information)
        return;
    // The control mask names the kinds of throttling this call decides; the
    // state mask, empty, turns them all off.
    PROCESS_POWER_THROTTLING_STATE state = {PROCESS_POWER_THROTTLING_CURRENT_VERSION,
                                            PROCESS_POWER_THROTTLING_EXECUTION_SPEED |
                                                PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION,
                                            0};
    set_information(GetCurrentProcess(), ProcessPowerThrottling, &state, sizeof state);
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
