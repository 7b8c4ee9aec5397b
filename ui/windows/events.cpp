// The event state and the event queue, wait_event with its accessors and
// verbs, and the drop data that drop messages hand over.
#include "ui/windows/events.h"
#include "ui/windows/event_state.h"
#include "ui/windows/focus.h"
#include "runtime/block_list.h"
#include "runtime/heaps.h"
#include "runtime/shared_record.h"

namespace {

EventState* the_event_state;
HHOOK notify_hook;

// Drop data that this process made. Any process can post a drop message with
// any lParam, so only these blocks are ever taken over or freed.
BlockList own_drop_data;

struct OwnDropData {
    DropData* data;
};

OwnDropData* find_own_drop_data(const void* data)
{
    if (!data)
        return nullptr;
    for (BlockLinks* b = own_drop_data; b; b = b->next) {
        auto* entry = static_cast<OwnDropData*>(block_payload(b));
        if (entry->data == data)
            return entry;
    }
    return nullptr;
}

// No control posts WM_NOTIFY, and the system sends WM_DPICHANGED, never
// posts it: a posted one comes from another program, and its lParam is no
// pointer of ours. It is emptied as it is retrieved, so that no message loop
// of this thread (the system's own move and menu loops included) hands it to
// a window procedure that would read it.
LRESULT CALLBACK empty_posted_pointers(int code, WPARAM removal, LPARAM data)
{
    auto* msg = reinterpret_cast<MSG*>(data);
    if (code == HC_ACTION && (msg->message == WM_NOTIFY || msg->message == WM_DPICHANGED)) {
        msg->message = WM_NULL;
        msg->wParam = 0;
        msg->lParam = 0;
    }
    return CallNextHookEx(nullptr, code, removal, data);
}

// Retrieves one message, waiting at most `timeout` ms (-1: without limit).
bool retrieve_message(MSG* msg, int32_t timeout)
{
    constexpr UINT PEEK_FLAGS = PM_REMOVE | PM_NOYIELD;
    if (timeout < 0)
        return GetMessageA(msg, nullptr, 0, 0) != -1;
    if (PeekMessageA(msg, nullptr, 0, 0, PEEK_FLAGS))
        return true;
    if (timeout == 0)
        return false;
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout), QS_ALLINPUT) ==
        WAIT_TIMEOUT)
        return false;
    return PeekMessageA(msg, nullptr, 0, 0, PEEK_FLAGS) != 0;
}

// What is left of a timeout that started at `start`; -1 stays without limit.
int32_t time_left(int32_t timeout, DWORD start)
{
    if (timeout <= 0)
        return timeout;
    const DWORD spent = GetTickCount() - start;
    return spent >= static_cast<DWORD>(timeout) ? 0 : timeout - static_cast<int32_t>(spent);
}

// Another program can post any number: a raw message with the number of an
// event code would pass for that event (a posted 13100 for a control's).
bool passes_for_event(UINT message)
{
    return message >= static_cast<UINT>(EVENT_CONTROL) &&
           message <= static_cast<UINT>(EVENT_DROP_CONTROL);
}

int32_t take_queued_event(EventState* es)
{
    EventQueueEntry* entry = es->head;
    es->window = entry->window;
    es->pending_event = 0;
    es->head = entry->next;
    if (!es->head)
        es->tail = nullptr;
    const int32_t code = entry->event;
    general_free(entry);
    return code;
}

}  // namespace

void event_state_init()
{
    the_event_state = static_cast<EventState*>(shared_record_create(sizeof(EventState), nullptr));
    // On this thread, which owns the numbered windows; it lasts as long as the thread.
    if (!notify_hook)
        notify_hook =
            SetWindowsHookExA(WH_GETMESSAGE, empty_posted_pointers, nullptr, GetCurrentThreadId());
}

EventState* event_state()
{
    return shared_record_get(the_event_state);
}

DropData* drop_data_create(size_t extra_bytes)
{
    auto* data = static_cast<DropData*>(general_alloc(sizeof(DropData)));
    if (!data)
        return nullptr;
    if (extra_bytes) {
        data->extra = general_alloc(extra_bytes);
        if (!data->extra) {
            general_free(data);
            return nullptr;
        }
    }
    auto* entry = static_cast<OwnDropData*>(
        block_insert(&own_drop_data, BLOCK_LINK_BYTES + sizeof(OwnDropData)));
    if (!entry) {
        general_free(data->extra);
        general_free(data);
        return nullptr;
    }
    entry->data = data;
    return data;
}

void drop_data_release()
{
    EventState* es = event_state();
    if (!es || !es->drop_data)
        return;
    if (OwnDropData* entry = find_own_drop_data(es->drop_data)) {
        general_free(es->drop_data->extra);
        general_free(es->drop_data);
        block_remove(&own_drop_data, entry);
    }
    es->drop_data = nullptr;
}

bool take_drop_data(EventState* es, LPARAM lparam)
{
    auto* data = reinterpret_cast<DropData*>(lparam);
    if (!find_own_drop_data(data))
        return false;
    if (es->drop_data && es->drop_data != data)
        drop_data_release();
    es->drop_data = data;
    return true;
}

void queue_event(int32_t event, ObjectNumber window)
{
    EventState* es = event_state();
    if (!es)
        return;
    if (es->tail && es->tail->event == event && es->tail->window == window)
        return;
    auto* entry = static_cast<EventQueueEntry*>(general_alloc(sizeof(EventQueueEntry)));
    if (!entry)
        return;
    entry->event = event;
    entry->window = window;
    if (es->tail)
        es->tail->next = entry;
    else
        es->head = entry;
    es->tail = entry;
}

int32_t wait_event(int32_t timeout)
{
    EventState* es = event_state();
    if (!es)
        return 0;
    drop_data_release();
    es->type = -1;

    const DWORD start = GetTickCount();
    for (;;) {
        if (es->head)
            return take_queued_event(es);

        MSG msg;
        ZeroMemory(&msg, sizeof msg);
        if (!retrieve_message(&msg, time_left(timeout, start)))
            return 0;

        HWND active = GetActiveWindow();
        HACCEL accelerators = accelerators_for(active);
        if (!accelerators || !TranslateAcceleratorA(active, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }

        if (es->pending_event) {
            const int32_t code = es->pending_event;
            es->pending_event = 0;
            return code;
        }
        if (!passes_for_event(msg.message)) {
            es->wparam = msg.wParam;
            es->lparam = msg.lParam;
            return static_cast<int32_t>(msg.message);
        }
    }
}

EventSuppression::EventSuppression()
{
    if (const EventState* es = event_state()) {
        control_ = es->control;
        window_ = es->window;
        type_ = es->type;
        pending_event_ = es->pending_event;
    }
}

EventSuppression::~EventSuppression()
{
    if (EventState* es = event_state()) {
        es->control = control_;
        es->window = window_;
        es->type = type_;
        es->pending_event = pending_event_;
    }
}

void discard_pending_event()
{
    if (EventState* es = event_state())
        es->pending_event = 0;
}

ObjectNumber event_control()
{
    EventState* es = event_state();
    return es ? es->control : 0;
}

LONG_PTR event_type()
{
    EventState* es = event_state();
    return es ? es->type : -1;
}

ObjectNumber event_window()
{
    EventState* es = event_state();
    return es ? es->window : -1;
}

WPARAM event_wparam()
{
    EventState* es = event_state();
    return es ? es->wparam : 0;
}
