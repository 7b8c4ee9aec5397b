// Layouts drawn up at 96 DPI (LAYOUT_DPI), fitted to the DPI of the window
// they lay out: their pixel figures scaled, a text widened where its font
// outgrows them, and the fonts made for that DPI.
#pragma once
#include <windows.h>
#include "runtime/object_table.h"

// A layout figure at `dpi`, rounded as MulDiv rounds. At LAYOUT_DPI the
// figure as it stands.
int px(int figure, int dpi);
RECT px(const RECT& figures, int dpi);

// Where a control stands in a layout, in its window's client area.
struct Place {
    int x, y, width, height;
};
Place px(const Place& figures, int dpi);
// Moves control `number` to the place `figures` give at `dpi`.
void move_control(ObjectNumber number, const Place& figures, int dpi);

// Fonts do not grow exactly in step with the DPI, so a text that all but
// fills its control at 96 DPI can outgrow it at another. Widens the text
// control `number` about its centre to the width of its text (up to 63
// characters) in its own font, if that is wider; does nothing otherwise.
void widen_to_text(ObjectNumber number);

// The fonts a window's layout draws with at one DPI. At the system DPI they
// are the fonts every window starts with: the stock GUI font, the read-out
// font loaded at start-up, and null for the status bar, which then draws
// with its own. At another DPI each is made as a start at that DPI would
// have it, and held here until the window has the next DPI's fonts.
struct LayoutFonts {
    HFONT gui = nullptr;
    HFONT readout = nullptr;
    HFONT status = nullptr;
    // The numbers of the fonts made for this DPI; ANY_NUMBER where none was.
    ObjectNumber made[3] = {ANY_NUMBER, ANY_NUMBER, ANY_NUMBER};
};
// The fonts at `dpi` of a layout whose read-out font at the system DPI is
// `readout` (null: it has no read-out) and that may have a status bar. A font
// that cannot be made falls back to the system DPI's.
LayoutFonts layout_fonts(int dpi, HFONT readout, bool status_bar);
// Deletes the fonts made for `fonts`, once no window uses them.
void free_layout_fonts(LayoutFonts* fonts);
