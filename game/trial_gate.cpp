// The trial's gate to the user interface.
#include "game/trial_gate.h"
#include "runtime/scoped_win.h"

namespace {

CRITICAL_SECTION gate_lock;
LONG calls_under_way;
bool closed;
// Manual reset; signalled while no call is under way. Only spares the close
// from looking every millisecond: the gate works without it. Made when the
// gate opens, closed when it closes.
HANDLE no_calls_event;

bool no_calls_under_way()
{
    SectionLock lock(&gate_lock);
    return calls_under_way == 0;
}

// Under the lock.
void replace_event(bool make)
{
    if (no_calls_event)
        CloseHandle(no_calls_event);
    no_calls_event = make ? CreateEventA(nullptr, TRUE, calls_under_way == 0, nullptr) : nullptr;
}

}  // namespace

void trial_gate_init()
{
    InitializeCriticalSection(&gate_lock);
    trial_gate_replace_event(true);
}

void trial_gate_replace_event(bool make)
{
    SectionLock lock(&gate_lock);
    replace_event(make);
}

bool trial_gate_holds_event()
{
    SectionLock lock(&gate_lock);
    return no_calls_event != nullptr;
}

void trial_gate_open()
{
    SectionLock lock(&gate_lock);
    // The close gave its event back; a gate that never closed keeps its own.
    if (closed)
        replace_event(true);
    closed = false;
}

bool trial_gate_enter()
{
    SectionLock lock(&gate_lock);
    if (closed)
        return false;
    if (calls_under_way++ == 0 && no_calls_event)
        ResetEvent(no_calls_event);
    return true;
}

void trial_gate_leave()
{
    SectionLock lock(&gate_lock);
    if (--calls_under_way == 0 && no_calls_event)
        SetEvent(no_calls_event);
}

void trial_gate_close()
{
    HANDLE event;
    {
        SectionLock lock(&gate_lock);
        closed = true;
        event = no_calls_event;
    }
    // A call under way is waiting for this thread to answer what it sent;
    // answer sent messages only, leaving posted input alone. Without the
    // event, look again every millisecond.
    DWORD handles = event ? 1 : 0;
    while (!no_calls_under_way()) {
        const DWORD woke = MsgWaitForMultipleObjects(handles, &event, FALSE, handles ? INFINITE : 1,
                                                     QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0 + handles) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (woke == WAIT_FAILED) {
            handles = 0;
        }
    }
    // No call is under way and none can begin: the event has served.
    SectionLock lock(&gate_lock);
    replace_event(false);
}
