// Static texts: a single "Static" window that can be given its own text and
// background colours.
#pragma once
#include <windows.h>
#include "runtime/object_table.h"
#include "ui/controls/control.h"

// Flag bit 17 asks for a sunken client edge; the other bits are static styles
// (1 is SS_CENTER).
constexpr DWORD TEXT_SUNKEN = 0x20000;

// The text's handle for a caller-chosen number, the new number for
// ANY_NUMBER, 0 on failure.
LONG_PTR create_text(ObjectNumber number, int x, int y, int width, int height, const char* text,
                     DWORD flags = 0);
// The text kind's operations (KIND_TEXT).
extern const ControlKind TEXT_KIND;
