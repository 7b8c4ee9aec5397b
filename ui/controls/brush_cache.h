// Background brushes shared by colour: one GDI brush per distinct colour,
// reference-counted under the brush lock, plus the colour operations that the
// spin and text kinds share.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "runtime/block_list.h"
#include "ui/controls/control.h"

struct BrushCacheEntry {
    COLORREF colour;
    HBRUSH brush;
    LONG count;
};

// Entries as blocks of a list, newest at the head.
using BrushCache = BlockList;

// Initialises the brush lock; once, before the control library (ui_libraries_init).
void brush_cache_init();
// The shared brush of `colour` with one more reference, or null.
HBRUSH brush_acquire(int32_t colour);
// Drops one reference; the brush is deleted with the last one.
void brush_release(HBRUSH brush);

// Type COLOUR_TYPE_TEXT or COLOUR_TYPE_BACK; COLOUR_NONE returns to system colours.
void set_control_colour(Control* record, int32_t type, int32_t colour);
int32_t get_control_colour(Control* record, int32_t type);

// Answers a WM_CTLCOLOR* message with the control's own colours: its text
// colour (on the system colour `system_back` when it has no background) and
// its background brush. NOT_HANDLED when it has neither, so the system paints.
LRESULT paint_control_colours(Control* record, HDC dc, int system_back);
// Gives back the control's background brush, if it holds one.
void release_control_brush(Control* record);
