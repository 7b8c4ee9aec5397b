// The spin control: a number field made of an "EDIT" box and an up-down
// ("msctls_updown32") attached to it as its buddy, one control with one number.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "runtime/object_table.h"
#include "ui/controls/control.h"

constexpr DWORD SPIN_READ_ONLY = 0x1;      // the edit box takes no typing
constexpr DWORD SPIN_SET_BUDDY_INT = 0x2;  // the arrows write their position into the text

constexpr int32_t SPIN_ATTRIBUTE_MINIMUM = 1;
constexpr int32_t SPIN_ATTRIBUTE_MAXIMUM = 2;

// The edit box's handle for a caller-chosen number, the new number for
// ANY_NUMBER, 0 on failure. Range limits are cut to 16 bits.
LONG_PTR create_spin(ObjectNumber number, int x, int y, int width, int height, int32_t minimum,
                     int32_t maximum, DWORD flags = 0);
// The spin kind's operations (KIND_SPIN).
extern const ControlKind SPIN_KIND;
