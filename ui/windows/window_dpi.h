// The resolution each numbered window is laid out at. Layouts are drawn up at
// LAYOUT_DPI; a window shows them at its own DPI, which per-monitor awareness
// lets differ from the system's and change when the window moves to another
// monitor (WM_DPICHANGED).
#pragma once
#include <windows.h>
#include "runtime/object_table.h"

// The resolution every layout's pixel figures are drawn up at.
constexpr int LAYOUT_DPI = 96;

// The system DPI: the screen's LOGPIXELSY, asked once (it stays the same for
// the life of the process); LAYOUT_DPI when the screen cannot be asked.
int system_dpi();
// The DPI the system gives the window now: GetDpiForWindow where Windows has
// it (10, 1607 on), else the system DPI. 0 when no window has the number.
int window_dpi(ObjectNumber number);
// The DPI the window was last laid out at: the system DPI from open_window
// on, until fit_window_to_dpi notes another. 0 when no window has the number.
int layout_dpi(ObjectNumber number);
// Gives the window the client area `layout_client` (figures at LAYOUT_DPI)
// at `dpi`, its top-left corner kept, has it drawn afresh, and notes `dpi` as
// its layout's DPI. False when no window has the number.
bool fit_window_to_dpi(ObjectNumber number, SIZE layout_client, int dpi);
// Answers WM_DPICHANGED for the window, whose client area is `layout_client`
// (figures at LAYOUT_DPI): moves it to the suggested rectangle and returns
// the new DPI, for the caller to lay the window out at. 0, with nothing
// moved, when the message does not hold up: any program can send it.
int follow_dpi_change(ObjectNumber number, WPARAM wparam, LPARAM lparam, SIZE layout_client);
