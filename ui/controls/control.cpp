// The control core: control table, control list, subclassing and teardown,
// routing of parent notifications and the generic operations.
#include "ui/controls/control.h"
#include <ole2.h>
#include <commctrl.h>
#include <string.h>
#include "runtime/module.h"
#include "runtime/shared_record.h"
#include "runtime/string_workspace.h"
#include "ui/windows/events.h"
#include "ui/windows/messages.h"
#include "ui/windows/window.h"
#include "ui/windows/window_proc.h"

namespace {

constexpr DWORD COMMON_CONTROL_CLASSES =
    ICC_TAB_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;

ObjectTable* the_control_table;
ControlList* the_control_list;
HFONT the_default_gui_font;

void init_control_list(void* record)
{
    static_cast<ControlList*>(record)->font = the_default_gui_font;
}

ObjectNumber window_id(HWND window)
{
    return GetWindowLongPtrA(window, GWLP_ID);
}

}  // namespace

void control_library_init()
{
    the_default_gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    // Its first allocation is never outgrown by the game (CONTROL_GROW_STEP).
    the_control_table = table_create(sizeof(Control), CONTROL_GROW_STEP, destroy_control);
    the_control_list =
        static_cast<ControlList*>(shared_record_create(sizeof(ControlList), init_control_list));
    INITCOMMONCONTROLSEX classes = {sizeof(classes), COMMON_CONTROL_CLASSES};
    InitCommonControlsEx(&classes);
    set_route_to_control_hook(route_to_control);
}

ObjectTable* control_table()
{
    return the_control_table;
}

ControlList* control_list()
{
    return shared_record_get(the_control_list);
}

HFONT default_gui_font()
{
    return the_default_gui_font;
}

Control* control_lookup(ObjectNumber number)
{
    return static_cast<Control*>(table_lookup(the_control_table, number));
}

HWND begin_control_list(HWND parent)
{
    if (ControlList* list = control_list())
        list->parent = parent;
    return parent;
}

HWND create_control_window(DWORD ex_style, const char* class_name, const char* text, DWORD style,
                           int x, int y, int width, int height, LONG_PTR id)
{
    ControlList* list = control_list();
    if (!list)
        return nullptr;
    return CreateWindowExA(ex_style, class_name, text, style, x, y, width, height, list->parent,
                           reinterpret_cast<HMENU>(id), module_handle(), nullptr);
}

LONG_PTR create_control(ObjectNumber number, const ControlWindowArgs& args, Control** created)
{
    const HWND window = create_control_window(args.ex_style, args.class_name, args.text, args.style,
                                              args.x, args.y, args.width, args.height);
    if (!window)
        return 0;
    auto* record = static_cast<Control*>(table_allocate(the_control_table, number));
    if (!record) {
        DestroyWindow(window);
        return 0;
    }
    number = table_number_of(number, record);
    record->text_colour = args.colours;
    record->back_colour = args.colours;
    if (args.attach)
        args.attach(record, number, window, args.attach_data);
    if (created)
        *created = record;
    return register_control(number, record, window, args.kind);
}

LONG_PTR register_control(ObjectNumber number, Control* record, HWND handle,
                          const ControlKind* kind)
{
    ControlList* list = control_list();
    number = table_number_of(number, record);
    record->handle = handle;
    record->kind = kind;
    // The old procedure is in the record before any message reaches the new one.
    record->saved_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_window_proc)));
    SetWindowLongPtrA(handle, GWLP_ID, number);
    SetPropA(handle, CONTROL_ID_PROP, reinterpret_cast<HANDLE>(number));
    SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(list ? list->font : nullptr), TRUE);
    return table_created_result(number, record, handle);
}

LRESULT CALLBACK control_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const ObjectNumber number = window_id(window);
    if (number == CONTROL_NO_ID)
        return DefWindowProcA(window, message, wparam, lparam);
    Control* record = control_lookup(number);
    // An id that names no record of this window leaves nothing to pass on to.
    if (!record || record->handle != window)
        return DefWindowProcA(window, message, wparam, lparam);

    const LRESULT result = CallWindowProcA(record->saved_proc, window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        // Looked up again: the saved procedure may have run code that moved the array.
        record = control_lookup(number);
        if (record && record->kind && record->kind->on_destroy)
            record->kind->on_destroy(record);
        RemovePropA(window, CONTROL_ID_PROP);
        if (RemovePropA(window, DROP_ACCEPT_PROP))
            RevokeDragDrop(window);
        SetWindowLongPtrA(window, GWLP_ID, CONTROL_NO_ID);
        table_release(the_control_table, number);
    }
    return result;
}

LRESULT route_to_control(HWND child, HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!child)
        return NOT_HANDLED;
    // A foreign child reads 0 here and keeps its own id (the status bar's is
    // 0xE404040F), so it is not taken for a control.
    const ObjectNumber id = reinterpret_cast<ObjectNumber>(GetPropA(child, CONTROL_ID_PROP));
    if (id != window_id(child))
        return NOT_HANDLED;
    Control* record = control_lookup(id);
    if (!record || !record->kind || !record->kind->on_parent_message)
        return NOT_HANDLED;
    // A window without the property reads as number 0, and any program can
    // name any window in a notification: only the control's own windows count.
    if (child != record->handle && child != record->buddy)
        return NOT_HANDLED;
    return record->kind->on_parent_message(record, window, message, wparam, lparam);
}

void destroy_control(ObjectNumber number)
{
    Control* record = control_lookup(number);
    if (!record)
        return;
    DestroyWindow(record->handle);
    // Normally the window's teardown has released the slot. If the window
    // could not be destroyed (another thread's, or already gone without
    // passing through us), the record must not outlive it.
    if (control_lookup(number))
        table_release(the_control_table, number);
}

int32_t control_get_state(ObjectNumber number)
{
    Control* record = control_lookup(number);
    if (!record || !record->kind->get_state)
        return 0;
    return record->kind->get_state(record);
}

int control_set_state(ObjectNumber number, int32_t value)
{
    Control* record = control_lookup(number);
    if (!record || !record->kind->set_state)
        return 0;
    record->kind->set_state(record, value);
    return 1;
}

int32_t control_get_text(ObjectNumber number, int32_t pos)
{
    Control* record = control_lookup(number);
    if (!record)
        return 0;
    if (record->kind->get_text) {
        record->kind->get_text(record, pos);
        return workspace_used() - pos;
    }
    const int reported = GetWindowTextLengthA(record->handle);
    char* area = workspace_reserve(reported, pos);
    if (!area) {
        workspace_put_empty(pos);
        return 0;
    }
    area[0] = '\0';
    GetWindowTextA(record->handle, area, reported + 1);
    // The reported length may exceed what is copied; used ends at the terminator.
    const int32_t written = static_cast<int32_t>(strlen(area));
    workspace_give_back(reported - written);
    return written;
}

LRESULT control_set_text(ObjectNumber number, const char* text)
{
    Control* record = control_lookup(number);
    if (!record)
        return 0;
    if (!text)
        text = "";
    if (record->kind->set_text)
        return record->kind->set_text(record, text);
    return SetWindowTextA(record->handle, text);
}

BOOL control_disable(ObjectNumber number, int flag)
{
    Control* record = control_lookup(number);
    if (!record)
        return 0;
    // Only the main window: a spin's arrows keep their own state.
    return EnableWindow(record->handle, flag == 0);
}

int control_set_font(ObjectNumber number, LONG_PTR font)
{
    const HFONT chosen =
        font == FONT_DEFAULT_GUI ? the_default_gui_font : reinterpret_cast<HFONT>(font);
    if (number == ANY_NUMBER) {
        ControlList* list = control_list();
        if (!list)
            return 0;
        list->font = chosen;
        return 1;
    }
    Control* record = control_lookup(number);
    if (!record)
        return 0;
    SendMessageA(record->handle, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
    return 1;
}

int control_move(ObjectNumber number, int x, int y, int width, int height)
{
    Control* record = control_lookup(number);
    if (!record)
        return 0;
    if (record->kind->resize)
        record->kind->resize(record, x, y, width, height);
    else
        MoveWindow(record->handle, x, y, width, height, TRUE);
    return 1;
}

void flush_message_queue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    discard_pending_event();
}

void post_control_event(HWND handle, LONG_PTR type)
{
    PostMessageA(find_numbered_window(handle), MSG_CONTROL_EVENT,
                 static_cast<WPARAM>(window_id(handle)), type);
}
