// Keyboard focus cycling with Tab and Shift+Tab inside numbered windows.
#pragma once
#include <windows.h>

// Moves the focus to the next tab stop of the active window (backward when
// the flag is non-zero), wrapping at the ends.
void cycle_focus(int backward);
// The accelerator table to translate the active window's messages with, or
// null for none (editable rich edit controls keep plain Tab).
HACCEL accelerators_for(HWND window);
