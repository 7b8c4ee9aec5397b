// The window procedure of every numbered window: a short dispatch that hands
// each message to a handler of its own, which records what the message means
// in the event state.
#include "ui/windows/window_proc.h"
#include "ui/windows/default_button.h"
#include "ui/windows/events.h"
#include "ui/windows/event_state.h"
#include "ui/windows/focus.h"
#include "ui/windows/sizing.h"
#include "ui/windows/window.h"

namespace {

RouteToControlHook route_hook;

LRESULT route(HWND child, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!child || !route_hook)
        return NOT_HANDLED;
    return route_hook(child, window, message, wparam, lparam);
}

BOOL CALLBACK send_syscolorchange(HWND child, LPARAM)
{
    SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

// DefWindowProc gives an activated window the focus, but this procedure
// answers WM_ACTIVATE itself: without this the focus could stay on no window
// (keys then become system keys, which the default handling answers with the
// error sound). A focus already inside the window stays where it is.
void take_focus_on_activation(HWND handle, WPARAM wparam)
{
    if (HIWORD(wparam) || GetActiveWindow() != handle)
        return;
    HWND focus = GetFocus();
    if (focus != handle && !IsChild(handle, focus))
        SetFocus(handle);
}

// The message handlers, one per message. Each returns the window procedure's
// result, NOT_HANDLED where the default processing is to follow.

// The program hears of moves and close requests as queued events; a close
// request leaves the window open until the program closes it. A window being
// closed has lost its number, and its messages are swallowed.
LRESULT on_move_or_close(UINT message, ObjectNumber number)
{
    if (number != -1)
        queue_event(static_cast<int32_t>(message), number);
    return 0;
}

// A minimised window has no new size to lay out; the default handling takes it.
LRESULT on_size(ObjectNumber number, WPARAM kind)
{
    if (number == -1 || kind == SIZE_MINIMIZED)
        return NOT_HANDLED;
    queue_event(EVENT_SIZE, number);
    return 0;
}

// Every activation is answered here and never reaches the default handling,
// so an activated window takes the focus itself.
LRESULT on_activate(HWND handle, const Window* record, ObjectNumber number, WPARAM wparam)
{
    if (LOWORD(wparam) != WA_INACTIVE) {
        if (record && record->handle == handle)
            take_focus_on_activation(handle, wparam);
        queue_event(EVENT_ACTIVATE, number);
    }
    return 1;
}

// The program repaints on EVENT_REPAINT; a window's own brush or erase
// callback paints the background first, else the class brush does.
LRESULT on_erase_background(HWND handle, const Window* record, ObjectNumber number, HDC dc)
{
    LRESULT result = NOT_HANDLED;
    if (record && record->back_brush) {
        RECT client;
        GetClientRect(handle, &client);
        FillRect(dc, &client, record->back_brush);
        result = 1;
    } else if (record && record->handle == handle && record->erase_callback) {
        result = record->erase_callback(dc, handle);
    }
    queue_event(EVENT_REPAINT, number);
    return result;
}

// The system tells top-level windows only; the controls need the new colours
// too. An MDI child is left to its MDI client.
LRESULT on_syscolor_change(HWND handle, const Window* record)
{
    if (record && !record->mdi_client)
        EnumChildWindows(handle, send_syscolorchange, 0);
    return NOT_HANDLED;
}

// A notification goes to the kind of the control that sent it; notifications
// from other threads were refused before this.
LRESULT on_notify(HWND handle, WPARAM wparam, LPARAM lparam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    return route(header ? header->hwndFrom : nullptr, handle, WM_NOTIFY, wparam, lparam);
}

// Scrolling, colours and forwarded messages name their control in lParam and
// are its kind's to answer.
LRESULT on_child_message(HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    return route(reinterpret_cast<HWND>(lparam), handle, message, wparam, lparam);
}

// A control's notification that its kind does not take becomes EVENT_CONTROL
// (EVENT_MENU for a menu control); a menu or accelerator command becomes
// EVENT_MENU, except the two focus commands, which move the focus, and Enter,
// which becomes the default button's own click notification.
LRESULT on_command(EventState* es, HWND window, WPARAM wparam, LPARAM lparam)
{
    HWND control = reinterpret_cast<HWND>(lparam);
    // Any program can name any window here; only our own children notify us.
    if (control && !IsChild(window, control))
        return 0;
    if (route(control, window, WM_COMMAND, wparam, lparam) != NOT_HANDLED)
        return 0;
    if (control) {
        es->pending_event = EVENT_CONTROL;
        es->type = HIWORD(wparam);
        es->control = GetWindowLongPtrA(control, GWLP_ID);
        if (es->control == MENU_CONTROL_ID) {
            es->pending_event = EVENT_MENU;
            es->control = LOWORD(wparam);
        }
    } else if (HIWORD(wparam) == 0) {
        es->pending_event = EVENT_MENU;
        es->control = static_cast<ObjectNumber>(wparam);
    } else if (LOWORD(wparam) == CMD_FOCUS_NEXT) {
        cycle_focus(0);
    } else if (LOWORD(wparam) == CMD_FOCUS_PREV) {
        cycle_focus(1);
    } else if (LOWORD(wparam) == CMD_DEFAULT_BUTTON) {
        press_default_button(window);
    } else {
        es->pending_event = EVENT_MENU;
        es->control = LOWORD(wparam);
    }
    return 0;
}

// An item's notification can arrive in the middle of another dispatch;
// posted again, its click becomes the event of a dispatch of its own.
LRESULT on_item_notify(HWND handle, WPARAM wparam, LPARAM lparam)
{
    PostMessageA(handle, MSG_ITEM_CLICK, wparam, lparam);
    return 0;
}

// Clicks and double clicks of either button are events, typed 0 to 3; any
// other mouse message names the item but makes no event.
LRESULT on_item_click(EventState* es, WPARAM wparam, LPARAM lparam)
{
    es->control = static_cast<ObjectNumber>(wparam);
    es->pending_event = EVENT_ITEM_CLICK;
    switch (lparam) {
    case WM_LBUTTONUP:
        es->type = 0;
        break;
    case WM_RBUTTONUP:
        es->type = 1;
        break;
    case WM_LBUTTONDBLCLK:
        es->type = 2;
        break;
    case WM_RBUTTONDBLCLK:
        es->type = 3;
        break;
    default:
        es->pending_event = 0;
        break;
    }
    return 0;
}

// Posted by post_control_event (a spin's arrows): by the time it arrives the
// control has changed, so the program reads the new state.
LRESULT on_control_event(EventState* es, WPARAM wparam, LPARAM lparam)
{
    es->pending_event = EVENT_CONTROL;
    es->control = static_cast<ObjectNumber>(wparam);
    es->type = lparam;
    return 0;
}

// Only drop data that this process made is taken over and makes an event.
LRESULT on_drop(EventState* es, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!take_drop_data(es, lparam))
        return 0;
    if (message == MSG_DROP) {
        es->pending_event = EVENT_DROP;
    } else {
        es->pending_event = EVENT_DROP_CONTROL;
        es->control = static_cast<ObjectNumber>(wparam);
    }
    return 0;
}

// The window's own callback, else the global one, sees every message first.
WindowCallback callback_for(const Window* record, const EventState* es)
{
    if (record && record->callback)
        return record->callback;
    return es ? es->global_callback : nullptr;
}

}  // namespace

void set_route_to_control_hook(RouteToControlHook hook)
{
    route_hook = hook;
}

LRESULT CALLBACK window_proc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    const LRESULT result = handle_window_message(handle, message, wparam, lparam);
    if (result == NOT_HANDLED)
        return DefWindowProcA(handle, message, wparam, lparam);
    return result;
}

LRESULT handle_window_message(HWND handle, UINT message, WPARAM wparam, LPARAM lparam)
{
    // Sent from another thread or process, a notification's lParam points into
    // memory that is not ours: the system copies nothing for WM_NOTIFY.
    if (message == WM_NOTIFY && InSendMessageEx(nullptr) != ISMEX_NOSEND)
        return NOT_HANDLED;

    LRESULT result = sizing_hook(handle, message, wparam, lparam);
    if (result != NOT_HANDLED)
        return result;

    const ObjectNumber number = window_number_of(handle);
    Window* record = window_record(number);
    EventState* es = event_state();
    if (const WindowCallback callback = callback_for(record, es)) {
        result = callback(handle, message, wparam, lparam);
        if (result != CALLBACK_DEFAULT)
            return result;
    }
    if (!es)
        return NOT_HANDLED;
    es->window = number;

    switch (message) {
    case WM_MOVE:
    case WM_CLOSE:
        return on_move_or_close(message, number);
    case WM_SIZE:
        return on_size(number, wparam);
    case WM_ACTIVATE:
        return on_activate(handle, record, number, wparam);
    case WM_ERASEBKGND:
        return on_erase_background(handle, record, number, reinterpret_cast<HDC>(wparam));
    case WM_SYSCOLORCHANGE:
        return on_syscolor_change(handle, record);
    case WM_NOTIFY:
        return on_notify(handle, wparam, lparam);
    case WM_COMMAND:
        return on_command(es, handle, wparam, lparam);
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case MSG_CONTROL_FORWARD:
        return on_child_message(handle, message, wparam, lparam);
    case MSG_ITEM_NOTIFY:
        return on_item_notify(handle, wparam, lparam);
    case MSG_ITEM_CLICK:
        return on_item_click(es, wparam, lparam);
    case MSG_CONTROL_EVENT:
        return on_control_event(es, wparam, lparam);
    case MSG_DROP:
    case MSG_DROP_CONTROL:
        return on_drop(es, message, wparam, lparam);
    default:
        return NOT_HANDLED;
    }
}
