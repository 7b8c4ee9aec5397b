// Events: the messages of numbered windows become the event codes that
// wait_event hands out. The event state behind them is private to this layer
// (event_state.h); other layers change it only through the verbs below.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "runtime/object_table.h"

// Event codes below 13100 are the numbers of the messages they come from.
constexpr int32_t EVENT_MOVE = 3;
constexpr int32_t EVENT_SIZE = 5;
constexpr int32_t EVENT_REPAINT = 15;
constexpr int32_t EVENT_CLOSE_WINDOW = 16;
constexpr int32_t EVENT_CONTROL = 13100;
constexpr int32_t EVENT_MENU = 13101;
constexpr int32_t EVENT_ITEM_CLICK = 13102;
constexpr int32_t EVENT_ACTIVATE = 13104;
constexpr int32_t EVENT_DROP = 13105;
constexpr int32_t EVENT_DROP_CONTROL = 13106;

// Private window messages.
constexpr UINT MSG_ITEM_NOTIFY = 12501;
constexpr UINT MSG_ITEM_CLICK = 12502;
constexpr UINT MSG_CONTROL_EVENT = 13103;
constexpr UINT MSG_DROP = 13105;
constexpr UINT MSG_DROP_CONTROL = 13106;
constexpr UINT MSG_CONTROL_FORWARD = 13120;

constexpr LONG MENU_CONTROL_ID = -10000;

// Drop data as other senders lay it out; the runtime knows only its third word.
struct DropData {
    void* reserved[2];
    void* extra;  // null or a further block on the general heap
};

// Creates the process-wide event state; init_windows calls it on the thread
// that will own the numbered windows, where WM_NOTIFY and WM_DPICHANGED
// messages that another program posts are emptied (made WM_NULL) as they are
// retrieved.
void event_state_init();

// The events that the caller's own update raises are not the user's: for the
// life of a scope, whatever current event they record (a control's change
// notification while the program sets its text) is undone, and the event
// state is left as it was. Queued window events stay queued.
class EventSuppression {
public:
    EventSuppression();
    ~EventSuppression();
    EventSuppression(const EventSuppression&) = delete;
    EventSuppression& operator=(const EventSuppression&) = delete;

private:
    ObjectNumber control_ = 0;
    ObjectNumber window_ = -1;
    LONG_PTR type_ = -1;
    int32_t pending_event_ = 0;
};

// Drops the event that the window procedure recorded for the message being
// dispatched, so that wait_event does not hand it out.
void discard_pending_event();

// Timeout -1 waits without limit, 0 only looks, a positive value waits at most
// that many milliseconds. A retrieved message that makes no event comes back
// as its raw number, except 13100 to 13106, which would pass for event codes:
// for those it goes on waiting. Main thread only.
int32_t wait_event(int32_t timeout = -1);
ObjectNumber event_control();
LONG_PTR event_type();
// The window of the current event (-1 when none), and the wParam of the last
// message handed out as a raw event.
ObjectNumber event_window();
WPARAM event_wparam();
void queue_event(int32_t event, ObjectNumber window);

// Drop data blocks that this process made itself; only these are ever freed.
DropData* drop_data_create(size_t extra_bytes);
// Frees the drop data that the event state holds, if any.
void drop_data_release();
