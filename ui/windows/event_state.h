// The event state record and the event queue, private to the windows layer.
// Other layers change the event state only through the verbs of events.h;
// tests read it through tests/support/event_state_access.h.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "runtime/object_table.h"

struct DropData;

struct EventQueueEntry {
    EventQueueEntry* next;
    int32_t event;
    ObjectNumber window;
};

struct EventState {
    ObjectNumber control;   // what event_control returns; never cleared
    ObjectNumber window;    // window of the current event, -1 when none
    LONG_PTR type;          // what event_type returns; -1 at every wait_event
    int32_t pending_event;  // set by the window procedure during a dispatch
    WPARAM wparam;          // of the last message returned as a raw event
    LPARAM lparam;
    EventQueueEntry* head;
    EventQueueEntry* tail;
    WNDPROC global_callback;
    DropData* drop_data;
};

EventState* event_state();

// Takes over the drop data in a drop message's lParam; false for data that
// this process did not make, which makes no event.
bool take_drop_data(EventState* es, LPARAM lparam);
