// Status bars: the status-bar table, the shared field edges of the current
// bar, aligned field texts and the parent's subclass procedure that refits a
// bar only when the parent's client size really changed.
#include "ui/controls/status_bar.h"
#include <commctrl.h>
#include <string.h>
#include "runtime/heaps.h"

namespace {

constexpr DWORD STATUS_STYLE = WS_CHILD | WS_VISIBLE;

ObjectTable* the_status_bar_table;
// The bar created last, by number: a record address would go stale when the
// table grows or the bar is freed.
ObjectNumber current_bar = ANY_NUMBER;
bool have_current_bar;
int field_count;
int32_t field_edges[STATUS_MAX_FIELDS];

StatusBar* status_bar_lookup(ObjectNumber number)
{
    return static_cast<StatusBar*>(table_lookup(the_status_bar_table, number));
}

ObjectNumber prop_number(HWND window, const char* name)
{
    return reinterpret_cast<ObjectNumber>(GetPropA(window, name));
}

void set_prop_number(HWND window, const char* name, ObjectNumber number)
{
    SetPropA(window, name, reinterpret_cast<HANDLE>(number));
}

// The text behind one or two tabs, on the general heap; null when it cannot be had.
char* aligned_copy(const char* text, size_t tabs)
{
    const size_t length = strlen(text);
    auto* copy = static_cast<char*>(general_alloc(tabs + length + 1));
    if (!copy)
        return nullptr;
    memset(copy, '\t', tabs);
    memcpy(copy + tabs, text, length + 1);
    return copy;
}

void refit(StatusBar* bar)
{
    RECT client;
    GetClientRect(GetParent(bar->handle), &client);
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    if (width == bar->last_width && height == bar->last_height)
        return;
    SendMessageA(bar->handle, WM_SIZE, 0, 0);
    InvalidateRect(bar->handle, nullptr, FALSE);
    bar->last_width = static_cast<int16_t>(width);
    bar->last_height = static_cast<int16_t>(height);
}

}  // namespace

void status_bar_library_init()
{
    the_status_bar_table = table_create(sizeof(StatusBar), STATUS_GROW_STEP, free_status_bar);
}

ObjectTable* status_bar_table()
{
    return the_status_bar_table;
}

LONG_PTR create_status_bar(ObjectNumber number, HWND parent)
{
    auto* record = static_cast<StatusBar*>(table_allocate(the_status_bar_table, number));
    if (!record)
        return 0;
    number = table_number_of(number, record);
    const HWND bar = CreateStatusWindowA(STATUS_STYLE, nullptr, parent, STATUS_BAR_CHILD_ID);
    if (!bar) {
        // A handed-out record would otherwise stay in the table unused.
        table_release(the_status_bar_table, number);
        return 0;
    }
    record->handle = bar;
    record->last_width = 0;
    record->last_height = 0;

    // Subclassed once, however many bars the window gets.
    if (!GetPropA(parent, STATUS_CALLBACK_PROP)) {
        const LONG_PTR saved =
            SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(status_parent_proc));
        SetPropA(parent, STATUS_CALLBACK_PROP, reinterpret_cast<HANDLE>(saved));
    }
    set_prop_number(parent, STATUS_ID_PROP, number);
    current_bar = number;
    have_current_bar = true;
    field_count = 0;

    // Fit the new bar at once; the parent sees an ordinary size message.
    RECT client;
    GetClientRect(parent, &client);
    SendMessageA(parent, WM_SIZE, 0,
                 MAKELPARAM(client.right - client.left, client.bottom - client.top));

    return table_created_result(number, record, bar);
}

LRESULT add_status_field(int width)
{
    StatusBar* bar = have_current_bar ? status_bar_lookup(current_bar) : nullptr;
    if (!bar || field_count >= STATUS_MAX_FIELDS)
        return 0;
    const int i = field_count;
    field_edges[i] = width + (i > 0 ? field_edges[i - 1] : 0);
    field_count = i + 1;
    return SendMessageA(bar->handle, SB_SETPARTS, field_count,
                        reinterpret_cast<LPARAM>(field_edges));
}

LRESULT set_status_field_width(ObjectNumber number, int field, int width)
{
    StatusBar* bar = status_bar_lookup(number);
    if (!bar)
        return 0;
    int32_t edges[STATUS_MAX_FIELDS];
    const int count = static_cast<int>(
        SendMessageA(bar->handle, SB_GETPARTS, STATUS_MAX_FIELDS, reinterpret_cast<LPARAM>(edges)));
    if (field < 0 || field >= count)
        return 0;
    const int32_t shift = (field > 0 ? edges[field - 1] : 0) + width - edges[field];
    for (int i = field; i < count; ++i)
        if (edges[i] >= 0)  // -1 reaches the bar's right end wherever it is
            edges[i] += shift;
    // The shared edges follow their bar, so that a field added later starts
    // where this one now ends.
    if (have_current_bar && number == current_bar && count == field_count)
        memcpy(field_edges, edges, count * sizeof edges[0]);
    return SendMessageA(bar->handle, SB_SETPARTS, count, reinterpret_cast<LPARAM>(edges));
}

LRESULT status_bar_set_font(ObjectNumber number, HFONT font)
{
    StatusBar* bar = status_bar_lookup(number);
    if (!bar)
        return 0;
    SendMessageA(bar->handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // Fitted again to its parent, at the height of its new font.
    SendMessageA(bar->handle, WM_SIZE, 0, 0);
    return 1;
}

LRESULT status_text(ObjectNumber number, int field, const char* text, DWORD flags)
{
    StatusBar* bar = status_bar_lookup(number);
    if (!bar)
        return 0;
    // The field shares its word with the drawing type: 256 and above would
    // turn into drawing bits, and a field the bar does not have is no field.
    if (field < 0 || field >= SendMessageA(bar->handle, SB_GETPARTS, 0, 0))
        return 0;
    if (!text)
        text = "";
    WPARAM type = static_cast<WPARAM>(field);
    if (flags & STATUS_RAISED)
        type |= SBT_POPOUT;
    else if (flags & STATUS_NO_BORDER)
        type |= SBT_NOBORDERS;

    // Without memory for the tabs the text still goes out, unaligned.
    char* copy = nullptr;
    if (flags & STATUS_CENTRED)
        copy = aligned_copy(text, 1);
    else if (flags & STATUS_RIGHT)
        copy = aligned_copy(text, 2);
    const LRESULT result =
        SendMessageA(bar->handle, SB_SETTEXTA, type, reinterpret_cast<LPARAM>(copy ? copy : text));
    general_free(copy);

    if (type & SBT_NOBORDERS) {
        // A borderless field is not repainted by the bar itself.
        RECT rect;
        SendMessageA(bar->handle, SB_GETRECT, type & ~static_cast<WPARAM>(SBT_NOBORDERS),
                     reinterpret_cast<LPARAM>(&rect));
        InvalidateRect(bar->handle, &rect, TRUE);
    }
    return result;
}

void free_status_bar(ObjectNumber number)
{
    StatusBar* bar = status_bar_lookup(number);
    if (!bar)
        return;
    // Only when the parent still names this bar: a later bar in the same
    // window has taken the property over and must keep being fitted.
    const HWND parent = GetParent(bar->handle);
    if (prop_number(parent, STATUS_ID_PROP) == number)
        set_prop_number(parent, STATUS_ID_PROP, STATUS_NO_BAR);
    DestroyWindow(bar->handle);
    table_release(the_status_bar_table, number);
}

LRESULT CALLBACK status_parent_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const auto saved = reinterpret_cast<WNDPROC>(GetPropA(window, STATUS_CALLBACK_PROP));
    const ObjectNumber id = prop_number(window, STATUS_ID_PROP);
    if (id != STATUS_NO_BAR) {
        if (message == WM_SIZE) {
            if (StatusBar* bar = status_bar_lookup(id))
                refit(bar);
        } else if (message == WM_NCDESTROY) {
            // The status window has died with its parent.
            table_release(the_status_bar_table, id);
        }
    }
    if (!saved)
        return DefWindowProcA(window, message, wparam, lparam);
    return CallWindowProcA(saved, window, message, wparam, lparam);
}
