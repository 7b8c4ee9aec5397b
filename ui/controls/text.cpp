// The text kind: colours through WM_CTLCOLORSTATIC and the shared brushes.
#include "ui/controls/text.h"
#include "ui/controls/brush_cache.h"
#include "ui/windows/events.h"

namespace {

constexpr DWORD TEXT_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP;
static_assert(TEXT_STYLE == 0x50020000);

LRESULT text_on_parent_message(Control* record, HWND, UINT message, WPARAM wparam, LPARAM)
{
    if (message != WM_CTLCOLORSTATIC)
        return NOT_HANDLED;
    return paint_control_colours(record, reinterpret_cast<HDC>(wparam), COLOR_BTNFACE);
}

} // namespace

constexpr ControlKind TEXT_KIND = {
    .kind_id = KIND_TEXT,
    .table_size = sizeof(ControlKind),
    .on_parent_message = text_on_parent_message,
    .on_destroy = release_control_brush,
    .set_colour = set_control_colour,
    .get_colour = get_control_colour,
};

LONG_PTR create_text(ObjectNumber number, int x, int y, int width, int height, const char* text,
                     DWORD flags)
{
    const DWORD ex_style = (flags & TEXT_SUNKEN) ? WS_EX_CLIENTEDGE : 0;
    const HWND window = create_control_window(ex_style, "Static", text ? text : "",
                                              flags | TEXT_STYLE, x, y, width, height);
    if (!window)
        return 0;
    auto* record = static_cast<Control*>(table_allocate(control_table(), number));
    if (!record) {
        DestroyWindow(window);
        return 0;
    }
    record->text_colour = COLOUR_NONE;
    record->back_colour = COLOUR_NONE;
    return register_control(number, record, window, &TEXT_KIND);
}
