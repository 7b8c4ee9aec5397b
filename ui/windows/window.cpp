// Numbered top-level windows: the window table, their per-window classes,
// placement and centring, and the Tab accelerator tables.
#include "ui/windows/window.h"
#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/number_text.h"
#include <ole2.h>

namespace {

// Every window class shows the program's icon, resource 1.
constexpr WORD CLASS_ICON = 1;

ObjectTable* the_window_table;
WNDPROC class_procedure;
HICON class_icon;
HCURSOR class_cursor;

constexpr ACCEL FOCUS_ACCELERATORS[] = {
    {FVIRTKEY | FNOINVERT, VK_TAB, CMD_FOCUS_NEXT},
    {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, CMD_FOCUS_PREV},
};
constexpr int FOCUS_ACCELERATOR_COUNT = 2;

// Bits of the flags that are the system's own and never reach CreateWindowExA.
constexpr DWORD PLACEMENT_BITS = WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT;

// "WindowClass_" and the number in signed decimal; numbers may be as wide as
// an address, so no printf length modifier is relied on.
struct ClassName {
    static constexpr char PREFIX[] = "WindowClass_";
    static constexpr int PREFIX_LENGTH = sizeof PREFIX - 1;
    char text[PREFIX_LENGTH + DECIMAL_TEXT_BYTES];
    explicit ClassName(ObjectNumber number)
    {
        CopyMemory(text, PREFIX, PREFIX_LENGTH);
        decimal_from_int(number, text + PREFIX_LENGTH);
    }
};

void register_window_class(const ClassName& name)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = class_procedure;
    wc.hInstance = module_handle();
    wc.hIcon = class_icon;
    wc.hCursor = class_cursor;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name.text;
    RegisterClassA(&wc);
}

void close_window_hook(ObjectNumber number)
{
    close_window(number);
}

// "GK_WindowID" holds the number plus 1, so that window 0 is told from a
// window without the property. -1 when `handle` has none.
ObjectNumber stored_window_number(HWND handle)
{
    return reinterpret_cast<ObjectNumber>(GetPropA(handle, WINDOW_ID_PROP)) - 1;
}

void store_window_number(HWND handle, ObjectNumber number)
{
    SetPropA(handle, WINDOW_ID_PROP, reinterpret_cast<HANDLE>(number + 1));
}

// The Tab accelerators, into the record. False when they cannot be made.
bool make_focus_accelerators(Window* record)
{
    record->accels = static_cast<ACCEL*>(general_alloc(sizeof FOCUS_ACCELERATORS));
    if (!record->accels)
        return false;
    CopyMemory(record->accels, FOCUS_ACCELERATORS, sizeof FOCUS_ACCELERATORS);
    record->accel_count = FOCUS_ACCELERATOR_COUNT;
    record->accel_table = CreateAcceleratorTableA(record->accels, FOCUS_ACCELERATOR_COUNT);
    return record->accel_table != nullptr;
}

// Gives back what the record holds besides its window, and its slot.
void free_window_record(ObjectNumber number, Window* record)
{
    if (record->accels) {
        general_free(record->accels);
        DestroyAcceleratorTable(record->accel_table);
    }
    if (record->back_brush)
        DeleteObject(record->back_brush);
    table_release(the_window_table, number);
}

}  // namespace

void window_table_init(WNDPROC procedure)
{
    the_window_table = table_create(sizeof(Window), WINDOW_GROW_STEP, close_window_hook);
    class_procedure = procedure;
    class_icon = LoadIconA(module_handle(), MAKEINTRESOURCEA(CLASS_ICON));
    class_cursor = LoadCursorA(nullptr, IDC_ARROW);
}

ObjectTable* window_table()
{
    return the_window_table;
}

LONG_PTR open_window(ObjectNumber number, int x, int y, int client_width, int client_height,
                     const char* title, DWORD flags, HWND parent)
{
    const ObjectNumber requested = number;
    auto* record = static_cast<Window*>(table_allocate(the_window_table, number));
    if (!record)
        return 0;
    number = table_number_of(requested, record);

    const ClassName class_name(number);
    if (!title)
        title = "";
    register_window_class(class_name);

    if ((flags & ~(PLACEMENT_BITS | WINDOW_INVISIBLE)) == 0)
        flags |= WS_CAPTION;
    const bool show = (flags & WINDOW_INVISIBLE) == 0;
    flags &= ~WINDOW_INVISIBLE;

    RECT outer = {0, 0, client_width, client_height};
    AdjustWindowRect(&outer, flags & ~PLACEMENT_BITS, FALSE);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;

    if ((x == COORD_IGNORE || y == COORD_IGNORE) && (flags & PLACEMENT_BITS) == 0) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    if (flags & WINDOW_CENTER_SCREEN) {
        const int screen_width = GetSystemMetrics(SM_CXSCREEN);
        if (width > screen_width)
            width = screen_width;
        x = (screen_width - width) / 2;
        const int screen_height = GetSystemMetrics(SM_CYSCREEN);
        if (height > screen_height)
            height = screen_height;
        y = (screen_height - height) / 2;
    } else if (flags & WINDOW_CENTER_PARENT) {
        HWND reference = parent ? parent : GetActiveWindow();
        RECT r;
        if (reference && GetWindowRect(reference, &r)) {
            x = r.left + ((r.right - r.left) - width) / 2;
            y = r.top + ((r.bottom - r.top) - height) / 2;
            if (x < 0)
                x = 0;
            if (y < 0)
                y = 0;
        }
    }
    flags &= ~PLACEMENT_BITS;

    // The Tab accelerators are made before the window so that running out of
    // memory leaves no window behind.
    HWND handle = nullptr;
    if (make_focus_accelerators(record))
        handle = CreateWindowExA(0, class_name.text, title, flags, x, y, width, height, parent,
                                 nullptr, module_handle(), nullptr);
    if (!handle) {
        UnregisterClassA(class_name.text, module_handle());
        free_window_record(number, record);
        return 0;
    }
    record->handle = handle;
    store_window_number(handle, number);
    if (show)
        ShowWindow(handle, (flags & WS_MAXIMIZE) ? SW_MAXIMIZE : SW_SHOWNORMAL);

    record->back_colour = -1;
    record->mdi_client = nullptr;
    return table_created_result(requested, record, handle);
}

Window* window_record(ObjectNumber number)
{
    return static_cast<Window*>(table_lookup(the_window_table, number));
}

ObjectNumber window_number_of(HWND handle)
{
    for (HWND w = handle; w; w = GetParent(w)) {
        const ObjectNumber number = stored_window_number(w);
        if (number != -1)
            return number;
    }
    return -1;
}

void close_window(ObjectNumber number)
{
    Window* record = window_record(number);
    if (!record)
        return;
    HWND handle = record->handle;
    HWND owner = GetWindow(handle, GW_OWNER);
    if (owner && !record->mdi_client)
        SetActiveWindow(owner);
    RemovePropA(handle, WINDOW_ID_PROP);
    RemovePropA(handle, DEFAULT_BUTTON_PROP);
    if (RemovePropA(handle, DROP_ACCEPT_PROP))
        RevokeDragDrop(handle);
    if (record->mdi_client) {
        SendMessageA(record->mdi_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle), 0);
    } else {
        DestroyWindow(handle);
        UnregisterClassA(ClassName(number).text, module_handle());
    }
    // Destruction ran window procedures; read the record afresh.
    record = window_record(number);
    if (record)
        free_window_record(number, record);
}

HWND window_handle(ObjectNumber number)
{
    const Window* record = window_record(number);
    return record ? record->handle : nullptr;
}

bool set_window_callback(ObjectNumber number, WindowCallback callback)
{
    Window* record = window_record(number);
    if (!record)
        return false;
    record->callback = callback;
    return true;
}

void close_open_windows()
{
    table_walk_begin(the_window_table);
    ObjectNumber number;
    while (table_walk_next(the_window_table, &number))
        close_window(number);
}

HWND find_numbered_window(HWND handle)
{
    HWND w = handle;
    for (;;) {
        HWND parent = GetParent(w);
        if (!parent || stored_window_number(w) != -1)
            return w;
        w = parent;
    }
}
