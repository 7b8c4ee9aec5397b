// Layouts fitted to the display's resolution.
#include "game/dpi.h"

namespace {

constexpr int LAYOUT_DPI = 96;

// Asked once: the system DPI stays the same for the life of the process, and
// a paint of the chart scales dozens of figures.
int the_dpi;

int display_dpi()
{
    if (!the_dpi) {
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        ReleaseDC(nullptr, screen);
        the_dpi = dpi > 0 ? dpi : LAYOUT_DPI;
    }
    return the_dpi;
}

} // namespace

int px(int figure)
{
    return MulDiv(figure, display_dpi(), LAYOUT_DPI);
}

RECT px(const RECT& figures)
{
    return {px(figures.left), px(figures.top), px(figures.right), px(figures.bottom)};
}

