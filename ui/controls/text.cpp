// The text kind: colours through WM_CTLCOLORSTATIC and the shared brushes.
#include "ui/controls/text.h"
#include "ui/controls/brush_cache.h"
#include "ui/windows/messages.h"

namespace {

constexpr DWORD TEXT_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP;
static_assert(TEXT_STYLE == 0x50020000);

LRESULT text_on_parent_message(Control* record, HWND, UINT message, WPARAM wparam, LPARAM)
{
    if (message != WM_CTLCOLORSTATIC)
        return NOT_HANDLED;
    return paint_control_colours(record, reinterpret_cast<HDC>(wparam), COLOR_BTNFACE);
}

}  // namespace

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
    return create_control(number, {.ex_style = ex_style,
                                   .class_name = "Static",
                                   .text = text ? text : "",
                                   .style = flags | TEXT_STYLE,
                                   .x = x,
                                   .y = y,
                                   .width = width,
                                   .height = height,
                                   .kind = &TEXT_KIND,
                                   .colours = COLOUR_NONE});
}
