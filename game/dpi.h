// Layouts drawn up at 96 DPI, fitted to the display: their pixel figures
// scaled to its resolution.
#pragma once
#include <windows.h>

// A layout figure at the display's resolution (the screen's LOGPIXELSY: the
// system DPI), rounded as MulDiv rounds. At 96 DPI, or when the screen cannot
// be asked, the figure as it stands.
int px(int figure);
RECT px(const RECT& figures);
