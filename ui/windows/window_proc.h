// The window procedure of every numbered window, and the hook through which
// it offers child notifications to the control layer.
#pragma once
#include <windows.h>
#include "ui/windows/messages.h"

LRESULT CALLBACK window_proc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam);
// The handling inside window_proc; NOT_HANDLED where the default processing
// is to follow.
LRESULT handle_window_message(HWND handle, UINT message, WPARAM wparam, LPARAM lparam);

// The control layer offers the window procedure's child notifications to the
// control's kind through this hook; without it they go unhandled.
using RouteToControlHook = LRESULT (*)(HWND child, HWND window, UINT message, WPARAM wparam,
                                       LPARAM lparam);
void set_route_to_control_hook(RouteToControlHook hook);
