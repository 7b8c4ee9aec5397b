// The live sizing loop: not yet provided; the system's own sizing runs.
#include "ui/windows/sizing.h"
#include "ui/windows/events.h"
#include "runtime/shared_record.h"

namespace {
SizingState* the_sizing_state;
}

void sizing_init()
{
    the_sizing_state = static_cast<SizingState*>(shared_record_create(sizeof(SizingState), nullptr));
}

SizingState* sizing_state() { return shared_record_get(the_sizing_state); }

LRESULT sizing_hook(HWND, UINT, WPARAM, LPARAM) { return NOT_HANDLED; }
