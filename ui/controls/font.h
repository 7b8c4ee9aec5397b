// Numbered GDI fonts made from a face name and a size in points at the
// display's vertical resolution, or like another font at another resolution.
#pragma once
#include <windows.h>
#include "runtime/object_table.h"

struct FontRecord {
    HFONT handle;  // non-zero while live
};

// Flags of load_font.
constexpr DWORD FONT_UNDERLINE = 0x4;
constexpr DWORD FONT_STRIKE_OUT = 0x8;
constexpr DWORD FONT_PROOF_QUALITY = 0x10;
constexpr DWORD FONT_BOLD = 0x100;
constexpr DWORD FONT_ITALIC = 0x200;

// Once at start-up, before the window library.
void font_library_init();
ObjectTable* font_table();

// The font handle for a caller-chosen number, the new number for ANY_NUMBER,
// 0 on failure. A font that already has the number is deleted first. `size`
// is in points at `dpi`; 0 stands for the display's vertical resolution.
LONG_PTR load_font(ObjectNumber number, const char* face, int size, DWORD flags = 0, int dpi = 0);
// A font like `model`, which is sized for `model_dpi`, sized for `dpi` the
// way the system sizes its own fonts for a DPI: the height in pixels scaled.
// Results as load_font's.
LONG_PTR load_font_like(ObjectNumber number, const LOGFONTA& model, int model_dpi, int dpi);
// The handle of the live font with that number, or null.
HFONT font_handle(ObjectNumber number);
// Deletes the font and frees its number; the font table's free hook.
void free_font(ObjectNumber number);
// Deletes every font; once, at shutdown, after the windows are closed.
void free_all_fonts();
