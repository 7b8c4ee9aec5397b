// Layouts drawn up at 96 DPI, fitted to the display: their pixel figures
// scaled to its resolution, and a text widened where the display's font
// outgrows them.
#pragma once
#include <windows.h>
#include "runtime/object_table.h"

// A layout figure at the display's resolution (the screen's LOGPIXELSY: the
// system DPI), rounded as MulDiv rounds. At 96 DPI, or when the screen cannot
// be asked, the figure as it stands.
int px(int figure);
RECT px(const RECT& figures);

// Fonts do not grow exactly in step with the DPI, so a text that all but
// fills its control at 96 DPI can outgrow it at another. Widens the text
// control `number` about its centre to the width of its text (up to 63
// characters) in its own font, if that is wider; does nothing otherwise.
void widen_to_text(ObjectNumber number);
