// Layouts fitted to the display's resolution.
#include "game/dpi.h"
#include "ui/controls/control.h"
#include "runtime/scoped_win.h"

namespace {

constexpr int LAYOUT_DPI = 96;

// Asked once: the system DPI stays the same for the life of the process, and
// a paint of the chart scales dozens of figures.
int the_dpi;

int display_dpi()
{
    if (!the_dpi) {
        const WindowDc screen(nullptr);
        const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        the_dpi = dpi > 0 ? dpi : LAYOUT_DPI;
    }
    return the_dpi;
}

}  // namespace

int px(int figure)
{
    return MulDiv(figure, display_dpi(), LAYOUT_DPI);
}

RECT px(const RECT& figures)
{
    return {px(figures.left), px(figures.top), px(figures.right), px(figures.bottom)};
}

void widen_to_text(ObjectNumber number)
{
    const Control* control = control_lookup(number);
    if (!control)
        return;
    HWND window = control->handle;
    char text[64];
    const int length = GetWindowTextA(window, text, sizeof text);
    SIZE extent = {};
    if (const WindowDc dc(window); dc.get()) {
        // A control without a font of its own draws with the DC's.
        const SelectedObject font(
            dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc.get(), text, length, &extent);
    }
    RECT at;
    GetWindowRect(window, &at);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&at), 2);
    const int width = at.right - at.left;
    // Drawn afresh: a static may already have drawn its text wrapped at the
    // old width, and the window system would keep those pixels.
    if (extent.cx > width)
        SetWindowPos(window, nullptr, at.left - (extent.cx - width + 1) / 2, at.top, extent.cx,
                     at.bottom - at.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}
