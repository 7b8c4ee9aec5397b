// The button kind: a check state and nothing else. Its notifications are not
// taken, so they become events of the window procedure.
#include "ui/controls/button.h"

namespace {

constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP;
static_assert(BUTTON_STYLE == 0x50030000);

// Only bit 0 counts, so an indeterminate three-state button reads 0.
int32_t button_get_state(Control* record)
{
    return static_cast<int32_t>(SendMessageA(record->handle, BM_GETCHECK, 0, 0) & BST_CHECKED);
}

void button_set_state(Control* record, int32_t value)
{
    SendMessageA(record->handle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

constexpr ControlKind BUTTON_KIND = {
    .kind_id = KIND_BUTTON,
    .table_size = sizeof(ControlKind),
    .get_state = button_get_state,
    .set_state = button_set_state,
};

LONG_PTR create_button(ObjectNumber number, int x, int y, int width, int height, const char* text,
                       DWORD flags)
{
    return create_control(number, {.class_name = "Button",
                                   .text = text ? text : "",
                                   .style = flags | BUTTON_STYLE,
                                   .x = x,
                                   .y = y,
                                   .width = width,
                                   .height = height,
                                   .kind = &BUTTON_KIND});
}
