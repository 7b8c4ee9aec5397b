// Keyboard focus cycling: not yet provided; Tab gets no translation.
#include "ui/windows/focus.h"

void cycle_focus(int) {}

HACCEL accelerators_for(HWND) { return nullptr; }
