// Numbered status bars along the bottom of a window. Not controls: they have
// their own table and follow their parent's size through a subclass procedure
// installed once on the parent.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "runtime/object_table.h"

struct StatusBar {
    HWND handle;         // the status window; non-zero while live
    int16_t last_width;  // parent client size when the bar was last fitted
    int16_t last_height;
};

constexpr UINT STATUS_BAR_CHILD_ID = 0xE404040F;
constexpr int STATUS_MAX_FIELDS = 52;

constexpr const char STATUS_CALLBACK_PROP[] = "gk_statusbar_callback";
constexpr const char STATUS_ID_PROP[] = "gk_statusbar_id";
// "gk_statusbar_id" once the window's bar has been freed.
constexpr ObjectNumber STATUS_NO_BAR = -1;

// Flags of status_text.
constexpr DWORD STATUS_RAISED = 0x1;
constexpr DWORD STATUS_NO_BORDER = 0x2;  // ignored with STATUS_RAISED
constexpr DWORD STATUS_CENTRED = 0x4;
constexpr DWORD STATUS_RIGHT = 0x8;  // ignored with STATUS_CENTRED

// The table's first allocation holds numbers 0 to STATUS_GROW_STEP - 1; a
// higher number grows it and moves its array.
constexpr int32_t STATUS_GROW_STEP = 16;

void status_bar_library_init();
ObjectTable* status_bar_table();

// The status window's handle for a caller-chosen number, the new number for
// ANY_NUMBER, 0 on failure. The new bar becomes the current one.
LONG_PTR create_status_bar(ObjectNumber number, HWND parent);
// Appends a field `width` pixels wide to the current bar. SB_SETPARTS's
// result; 0 when there is no current bar or all field edges are used.
LRESULT add_status_field(int width);
// Gives field `field` of the bar the width `width`, moving the fields after
// it along. SB_SETPARTS's result; 0 when the number names no live status bar
// or the field is not one of the bar's.
LRESULT set_status_field_width(ObjectNumber number, int field, int width);
// Gives the bar `font` (null: the bar's own), whose height it then takes.
// 0 when the number names no live status bar.
LRESULT status_bar_set_font(ObjectNumber number, HFONT font);
// Non-zero on success, 0 when the number names no live status bar or the
// field is not one of the bar's fields (nothing is changed then).
LRESULT status_text(ObjectNumber number, int field, const char* text, DWORD flags = 0);
// Free hook of the status-bar table.
void free_status_bar(ObjectNumber number);
LRESULT CALLBACK status_parent_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
