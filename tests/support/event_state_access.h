// What tests read of the event state besides the public accessors: the
// queue, the pending event, the stored lParam and the held drop data.
#pragma once
#include "ui/windows/event_state.h"

inline bool events_queued()
{
    return event_state()->head != nullptr;
}

inline int32_t pending_event()
{
    return event_state()->pending_event;
}

inline LPARAM event_lparam()
{
    return event_state()->lparam;
}

inline DropData* held_drop_data()
{
    return event_state()->drop_data;
}
