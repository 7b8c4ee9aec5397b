// Waiting for the runtime's events in tests. Header-only, for test programs
// that link the windows layer.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "tests/support/event_state_access.h"
#include "ui/windows/events.h"

// Calls wait_event with short timeouts until it returns `code` or `ms`
// milliseconds pass. Returns whether the code came.
inline bool wait_for_event(int32_t code, DWORD ms = 3000)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (wait_event(20) == code)
            return true;
    }
    return false;
}

// Hands out everything that is waiting, queued events included.
inline void drain_events(DWORD settle_ms = 30)
{
    DWORD quiet_since = GetTickCount();
    while (GetTickCount() - quiet_since < settle_ms) {
        if (wait_event(5) != 0 || events_queued())
            quiet_since = GetTickCount();
    }
}
