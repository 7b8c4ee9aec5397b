// The spin control. Its state is the up-down's position (read as 16 bits), its
// text the edit box's; the two are kept in step by the caller. Arrow clicks
// come back as MSG_CONTROL_EVENT with +1 or -1, and setting the text
// programmatically raises no event and leaves queued input alone.
#include "ui/controls/spin.h"
#include <commctrl.h>
#include "ui/controls/brush_cache.h"
#include "ui/windows/events.h"
#include "ui/windows/messages.h"
#include "ui/windows/window.h"

namespace {

constexpr DWORD EDIT_EX_STYLE = WS_EX_CLIENTEDGE;
constexpr DWORD EDIT_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT;
constexpr DWORD UPDOWN_STYLE = WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
constexpr UINT REDRAW_ALL = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE;
static_assert(EDIT_STYLE == 0x50010002 && UPDOWN_STYLE == 0x500000A0);

LPARAM range_lparam(int32_t minimum, int32_t maximum)
{
    return static_cast<LPARAM>((static_cast<uint32_t>(minimum & 0xFFFF) << 16) |
                               static_cast<uint32_t>(maximum & 0xFFFF));
}

LRESULT brush_result(HBRUSH brush)
{
    return reinterpret_cast<LRESULT>(brush);
}

int32_t spin_get_state(Control* record)
{
    return static_cast<int32_t>(SendMessageA(record->buddy, UDM_GETPOS, 0, 0) & 0xFFFF);
}

void spin_set_state(Control* record, int32_t value)
{
    SendMessageA(record->buddy, UDM_SETPOS, 0, value);
}

// The edit box reports the change while its text is being set; that report
// is ours, not the user's, so the event it recorded is undone. Input that is
// still queued stays queued for the event loop: dispatched here, the events
// it raised would be dropped with ours, and typing would go unreported.
BOOL spin_set_text(Control* record, const char* text)
{
    const EventSuppression ours;
    return SetWindowTextA(record->handle, text);
}

void spin_resize(Control* record, int x, int y, int width, int height)
{
    RECT screen;
    GetWindowRect(record->handle, &screen);
    POINT origin = {screen.left, screen.top};
    ScreenToClient(GetParent(record->handle), &origin);
    if (x == COORD_IGNORE)
        x = origin.x;
    if (y == COORD_IGNORE)
        y = origin.y;
    if (height == COORD_IGNORE)
        height = screen.bottom - screen.top;
    if (width == COORD_IGNORE)
        width = (screen.right - screen.left) + height / 2;
    const int half = height / 2;
    MoveWindow(record->handle, x, y, width - half, height, TRUE);
    MoveWindow(record->buddy, x + width - half, y, half, height, TRUE);
    RedrawWindow(record->handle, nullptr, nullptr, REDRAW_ALL);
    RedrawWindow(record->buddy, nullptr, nullptr, REDRAW_ALL);
}

int spin_get_width(Control* record)
{
    RECT rect;
    GetWindowRect(record->handle, &rect);
    return (rect.right - rect.left) + (rect.bottom - rect.top) / 2;
}

void spin_hide(Control* record, int flag)
{
    const int show = flag ? SW_HIDE : SW_SHOW;
    ShowWindow(record->handle, show);
    ShowWindow(record->buddy, show);
}

int32_t spin_get_attribute(Control* record, int32_t type)
{
    const DWORD range = static_cast<DWORD>(SendMessageA(record->buddy, UDM_GETRANGE, 0, 0));
    if (type == SPIN_ATTRIBUTE_MINIMUM)
        return HIWORD(range);
    if (type == SPIN_ATTRIBUTE_MAXIMUM)
        return LOWORD(range);
    return 0;
}

void spin_set_attribute(Control* record, int32_t type, int32_t value)
{
    const DWORD range = static_cast<DWORD>(SendMessageA(record->buddy, UDM_GETRANGE, 0, 0));
    if (type == SPIN_ATTRIBUTE_MINIMUM)
        SendMessageA(record->buddy, UDM_SETRANGE, 0, range_lparam(value, LOWORD(range)));
    else if (type == SPIN_ATTRIBUTE_MAXIMUM)
        SendMessageA(record->buddy, UDM_SETRANGE, 0, range_lparam(HIWORD(range), value));
}

LRESULT spin_on_parent_message(Control* record, HWND window, UINT message, WPARAM wparam,
                               LPARAM lparam)
{
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->code != static_cast<UINT>(UDN_DELTAPOS))
            return NOT_HANDLED;
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lparam);
        post_control_event(record->handle, change->iDelta > 0 ? +1 : -1);
        return 0;  // lets the up-down make the change
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        return 0;
    case WM_CTLCOLOREDIT:
        return paint_control_colours(record, reinterpret_cast<HDC>(wparam), COLOR_BTNHIGHLIGHT);
    case WM_CTLCOLORSTATIC: {
        // A read-only or disabled edit box, while its window is enabled.
        if (!IsWindowEnabled(window))
            return NOT_HANDLED;
        const HDC dc = reinterpret_cast<HDC>(wparam);
        if (record->text_colour == COLOUR_NONE && record->back_colour == COLOUR_NONE) {
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            return brush_result(GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        }
        return paint_control_colours(record, dc, COLOR_BTNHIGHLIGHT);
    }
    default:
        return NOT_HANDLED;
    }
}

void spin_on_destroy(Control* record)
{
    release_control_brush(record);
    RemovePropA(record->buddy, CONTROL_ID_PROP);
    DestroyWindow(record->buddy);
}

// The up-down, made before the edit box is registered: it carries the
// control's number from the start, so that its notifications are routed.
struct UpDown {
    DWORD style;
    int32_t minimum;
    int32_t maximum;
};

void attach_updown(Control* record, ObjectNumber number, HWND edit, const void* data)
{
    const auto* updown = static_cast<const UpDown*>(data);
    record->buddy =
        create_control_window(0, UPDOWN_CLASSA, nullptr, updown->style, 0, 0, 0, 0, number);
    SetPropA(record->buddy, CONTROL_ID_PROP, reinterpret_cast<HANDLE>(number));
    SendMessageA(record->buddy, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(record->buddy, UDM_SETRANGE, 0, range_lparam(updown->minimum, updown->maximum));
}

}  // namespace

constexpr ControlKind SPIN_KIND = {
    .kind_id = KIND_SPIN,
    .table_size = sizeof(ControlKind),
    .on_parent_message = spin_on_parent_message,
    .on_destroy = spin_on_destroy,
    .get_state = spin_get_state,
    .set_state = spin_set_state,
    .set_text = spin_set_text,
    .resize = spin_resize,
    .get_width = spin_get_width,
    .hide = spin_hide,
    .get_attribute = spin_get_attribute,
    .set_attribute = spin_set_attribute,
    .set_colour = set_control_colour,
    .get_colour = get_control_colour,
};

LONG_PTR create_spin(ObjectNumber number, int x, int y, int width, int height, int32_t minimum,
                     int32_t maximum, DWORD flags)
{
    const UpDown updown = {UPDOWN_STYLE | ((flags & SPIN_SET_BUDDY_INT) ? UDS_SETBUDDYINT : 0),
                           minimum, maximum};
    Control* record = nullptr;
    const LONG_PTR result =
        create_control(number,
                       {.ex_style = EDIT_EX_STYLE,
                        .class_name = "EDIT",
                        .style = EDIT_STYLE | ((flags & SPIN_READ_ONLY) ? ES_READONLY : 0),
                        .kind = &SPIN_KIND,
                        .colours = COLOUR_NONE,
                        .attach = attach_updown,
                        .attach_data = &updown},
                       &record);
    if (result)
        spin_resize(record, x, y, width, height);
    return result;
}
