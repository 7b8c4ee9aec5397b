// Layouts fitted to a window's DPI.
#include "game/dpi.h"
#include "game/game_objects.h"
#include "runtime/scoped_win.h"
#include "ui/controls/control.h"
#include "ui/controls/font.h"
#include "ui/windows/window_dpi.h"

namespace {

// `model`, one of the system's fonts at the system DPI, made for `dpi` under
// a handed-out number kept in `*made`; `fallback` when it cannot be.
HFONT font_at(const LOGFONTA& model, int dpi, HFONT fallback, ObjectNumber* made)
{
    const LONG_PTR number = load_font_like(ANY_NUMBER, model, system_dpi(), dpi);
    if (!number)
        return fallback;
    *made = number;
    return font_handle(number);
}

}  // namespace

int px(int figure, int dpi)
{
    return MulDiv(figure, dpi, LAYOUT_DPI);
}

RECT px(const RECT& figures, int dpi)
{
    return {px(figures.left, dpi), px(figures.top, dpi), px(figures.right, dpi),
            px(figures.bottom, dpi)};
}

Place px(const Place& figures, int dpi)
{
    return {px(figures.x, dpi), px(figures.y, dpi), px(figures.width, dpi),
            px(figures.height, dpi)};
}

void move_control(ObjectNumber number, const Place& figures, int dpi)
{
    const Place place = px(figures, dpi);
    control_move(number, place.x, place.y, place.width, place.height);
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

LayoutFonts layout_fonts(int dpi, HFONT readout, bool status_bar)
{
    LayoutFonts fonts;
    fonts.gui = default_gui_font();
    fonts.readout = readout;
    if (dpi == system_dpi())
        return fonts;
    LOGFONTA model;
    if (GetObjectA(fonts.gui, sizeof model, &model))
        fonts.gui = font_at(model, dpi, fonts.gui, &fonts.made[0]);
    // Made as the entry made it, at the new DPI: scaling its height would
    // round differently (27 pixels at 96 DPI are 41 at 144, not 40).
    if (readout) {
        if (const LONG_PTR number = load_font(ANY_NUMBER, READOUT_FACE, READOUT_POINTS, 0, dpi)) {
            fonts.made[1] = number;
            fonts.readout = font_handle(number);
        }
    }
    // A status bar draws with the system's status font unless given another.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (status_bar && SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        fonts.status = font_at(metrics.lfStatusFont, dpi, nullptr, &fonts.made[2]);
    return fonts;
}

void free_layout_fonts(LayoutFonts* fonts)
{
    for (ObjectNumber& number : fonts->made) {
        free_font(number);
        number = ANY_NUMBER;
    }
}
