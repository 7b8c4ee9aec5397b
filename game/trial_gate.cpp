// The trial's gate to the user interface.
#include "game/trial_gate.h"
#include "runtime/critical_section.h"

namespace {

CRITICAL_SECTION gate_lock;
LONG calls_under_way;
bool closed;
HANDLE no_calls_event;  // manual reset; signalled while no call is under way

} // namespace

void trial_gate_init()
{
    InitializeCriticalSection(&gate_lock);
    no_calls_event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
}

void trial_gate_open()
{
    SectionLock lock(&gate_lock);
    closed = false;
}

bool trial_gate_enter()
{
    SectionLock lock(&gate_lock);
    if (closed || !no_calls_event)
        return false;
    if (calls_under_way++ == 0)
        ResetEvent(no_calls_event);
    return true;
}

void trial_gate_leave()
{
    SectionLock lock(&gate_lock);
    if (--calls_under_way == 0)
        SetEvent(no_calls_event);
}

void trial_gate_close()
{
    {
        SectionLock lock(&gate_lock);
        closed = true;
    }
    if (!no_calls_event)
        return;
    // A call under way is waiting for this thread to answer what it sent;
    // answer sent messages only, leaving posted input alone.
    for (;;) {
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &no_calls_event, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
