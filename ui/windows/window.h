// Numbered top-level windows: the window table, one class per window named
// after its number, the "GK_WindowID" property and the Tab accelerators.
#pragma once
#include <windows.h>
#include "runtime/object_table.h"

constexpr DWORD WINDOW_CENTER_SCREEN = 0x00000001;
constexpr DWORD WINDOW_CENTER_PARENT = 0x00000002;
constexpr DWORD WINDOW_INVISIBLE = WS_VISIBLE;  // the visible bit, read the other way round
constexpr DWORD WINDOW_DEFAULT_FLAGS = WS_CAPTION | WS_SYSMENU;
static_assert(WINDOW_INVISIBLE == 0x10000000 && WINDOW_DEFAULT_FLAGS == 0x00C80000);
constexpr int COORD_IGNORE = -65535;

constexpr WORD CMD_FOCUS_NEXT = 1212;
constexpr WORD CMD_FOCUS_PREV = 1213;
// Enter, in a window that has a default button (default_button.h).
constexpr WORD CMD_DEFAULT_BUTTON = 1214;

constexpr const char WINDOW_ID_PROP[] = "GK_WindowID";
constexpr const char DROP_ACCEPT_PROP[] = "GK_DropAccept";
// The handle of the window's default button, while it has one.
constexpr const char DEFAULT_BUTTON_PROP[] = "GK_DefaultButton";

using WindowCallback = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using EraseCallback = LRESULT(CALLBACK*)(HDC, HWND);

struct Window {
    HWND handle;
    LONG accel_count;
    ACCEL* accels;
    HACCEL accel_table;
    WindowCallback callback;
    LONG back_colour;
    HBRUSH back_brush;
    HWND mdi_client;
    EraseCallback erase_callback;
    int dpi;  // the DPI its layout is for; 0: the system's (window_dpi.h)
};

// The window table's first allocation holds numbers 0 to WINDOW_GROW_STEP - 1;
// a higher number grows it and moves its array.
constexpr int32_t WINDOW_GROW_STEP = 16;

// Creates the window table and loads the class icon and cursor; every window
// class registered afterwards has `procedure` as its window procedure. Once,
// at start-up (init_windows).
void window_table_init(WNDPROC procedure);
ObjectTable* window_table();

// Native handle for a caller-chosen number, the handed-out number for
// ANY_NUMBER, 0 on failure.
LONG_PTR open_window(ObjectNumber number, int x, int y, int client_width, int client_height,
                     const char* title, DWORD flags = WINDOW_DEFAULT_FLAGS, HWND parent = nullptr);
void close_window(ObjectNumber number);
HWND window_handle(ObjectNumber number);
// The record of the open window with that number, or null.
Window* window_record(ObjectNumber number);
// The number of `handle`, or of its nearest ancestor that is a numbered window
// (climbing with GetParent, so a popup's owner counts); -1 when there is none.
ObjectNumber window_number_of(HWND handle);
// Gives an open window the callback that sees its messages before the
// built-in handling (null removes it). False when no window has the number.
bool set_window_callback(ObjectNumber number, WindowCallback callback);
// Closes every open window: numbered ones in increasing order, then handed-out
// ones from the oldest.
void close_open_windows();
// The window itself or its nearest ancestor that is a numbered window, else
// its topmost ancestor.
HWND find_numbered_window(HWND handle);
