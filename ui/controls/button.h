// Push buttons (and the other "Button" styles): a single window whose clicks
// reach the event loop as EVENT_CONTROL with the notification code as type.
#pragma once
#include <windows.h>
#include "runtime/object_table.h"
#include "ui/controls/control.h"

// The button's handle for a caller-chosen number, the new number for
// ANY_NUMBER, 0 on failure. flags is OR-ed into the style; 0 is BS_PUSHBUTTON.
LONG_PTR create_button(ObjectNumber number, int x, int y, int width, int height, const char* text,
                       DWORD flags = 0);
// The button kind's operations (KIND_BUTTON).
extern const ControlKind BUTTON_KIND;
