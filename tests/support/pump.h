// Helpers shared by the tests that drive real windows.
#pragma once
#include <windows.h>

// Dispatches this thread's messages for about `ms` milliseconds.
void pump_for(DWORD ms);

// Dispatches messages until `done()` holds or `ms` milliseconds pass.
// Returns whether it held.
template <typename Pred>
bool pump_until(Pred done, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms)
            return false;
        pump_for(5);
    }
    return true;
}
