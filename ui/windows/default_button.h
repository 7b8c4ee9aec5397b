// A numbered window's default button: Enter, wherever the focus is in the
// window, does what a click on the button does.
#pragma once
#include <windows.h>
#include "runtime/object_table.h"

// Makes `button`, a child of the window, its default button: Enter without
// Shift, Ctrl or Alt (the keypad's too) becomes the accelerator command
// CMD_DEFAULT_BUTTON. False when no window has the number, the button is not
// its child, or the accelerator table cannot be made.
bool set_default_button(ObjectNumber window, HWND button);
// The answer to CMD_DEFAULT_BUTTON: sends `window` the button's own click
// notification, unless the button is gone, hidden or disabled. False when
// nothing was sent.
bool press_default_button(HWND window);
