// The live window-sizing loop that replaces the system's own when full-window
// dragging is on.
#pragma once
#include <windows.h>

struct SizingState {
    LONG active;
    LONG restore_cursor;
    POINT saved_cursor;
    RECT rect;
    RECT start_rect;
    LONG side;
    MINMAXINFO limits;
};

void sizing_init();
SizingState* sizing_state();
// 0 when the message was consumed, NOT_HANDLED otherwise. SC_SIZE to a window
// without a sizing border, or minimised or maximised, is consumed and ignored.
LRESULT sizing_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
