// The resolution a test run expects.
#include "tests/support/dpi.h"
#include <stdio.h>
#include <stdlib.h>

int expected_dpi()
{
    const char* set = getenv("FLINCH_DPI");
    return set && atoi(set) > 0 ? atoi(set) : 96;
}

int scaled(int figure)
{
    return MulDiv(figure, expected_dpi(), 96);
}

bool display_has_expected_dpi()
{
    // As the game's manifest does for the game: Windows shows a process that
    // is not aware of the DPI 96 DPI.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi == expected_dpi())
        return true;
    fprintf(stderr, "the display has %d DPI; this run is for %d (FLINCH_DPI)\n", dpi,
            expected_dpi());
    return false;
}
