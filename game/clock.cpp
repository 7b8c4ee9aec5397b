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

// What SetProcessInformation takes for ProcessPowerThrottling (Windows 10
// 1709 and later; the SDK declares it for newer targets than ours).
constexpr int PROCESS_POWER_THROTTLING = 4;
constexpr ULONG POWER_THROTTLING_VERSION = 1;
constexpr ULONG THROTTLE_EXECUTION_SPEED = 0x1;
constexpr ULONG THROTTLE_IGNORING_TIMER_RESOLUTION = 0x4;
struct PowerThrottlingState {
    ULONG version;
    ULONG control_mask;  // the kinds of throttling this call decides
    ULONG state_mask;    // which of them are on: none
};
using SetProcessInformationCall = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);

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
    PowerThrottlingState state = {POWER_THROTTLING_VERSION,
                                  THROTTLE_EXECUTION_SPEED | THROTTLE_IGNORING_TIMER_RESOLUTION, 0};
    set_information(GetCurrentProcess(), PROCESS_POWER_THROTTLING, &state, sizeof state);
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
