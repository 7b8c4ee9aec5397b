// The text kind: colours through WM_CTLCOLORSTATIC and the shared brushes.
#include "ui/controls/text.h"
#include "ui/controls/brush_cache.h"
#include "ui/windows/events.h"

namespace {

constexpr DWORD TEXT_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP;
static_assert(TEXT_STYLE == 0x50020000);

ControlKind the_text_kind;
bool text_kind_built;

LRESULT text_on_parent_message(Control* record, HWND, UINT message, WPARAM wparam, LPARAM)
{
    if (message != WM_CTLCOLORSTATIC)
        return NOT_HANDLED;
    return paint_control_colours(record, reinterpret_cast<HDC>(wparam), COLOR_BTNFACE);
}

} // namespace

const ControlKind* text_kind()
{
    if (!text_kind_built) {
        ControlKind& kind = the_text_kind;
        kind = ControlKind{};
        kind.kind_id = KIND_TEXT;
        kind.table_size = sizeof(ControlKind);
        kind.on_parent_message = text_on_parent_message;
        kind.on_destroy = release_control_brush;
        kind.set_colour = set_control_colour;
        kind.get_colour = get_control_colour;
        text_kind_built = true;
    }
    return &the_text_kind;
}

LONG_PTR create_text(ObjectNumber number, int x, int y, int width, int height, const char* text,
                     DWORD flags)
{
    const ControlKind* kind = text_kind();
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
    return register_control(number, record, window, kind);
}
