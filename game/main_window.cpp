// The main window's layout, at start-up and again whenever the window's DPI
// changes.
#include "game/main_window.h"
#include "game/dpi.h"
#include "game/game_objects.h"
#include "ui/controls/button.h"
#include "ui/controls/control.h"
#include "ui/controls/spin.h"
#include "ui/controls/status_bar.h"
#include "ui/controls/text.h"
#include "ui/windows/default_button.h"
#include "ui/windows/window.h"
#include "ui/windows/window_dpi.h"

namespace {

// The layout's figures, at LAYOUT_DPI.
constexpr SIZE CLIENT = {255, 192};
constexpr int STATUS_FIELD_WIDTH = 250;

// The controls' places, and the font each takes.
struct Layout {
    ObjectNumber number;
    Place place;
    bool readout_font;  // else the GUI font
};
constexpr Layout SPIN = {CTRL_DELAY_SPIN, {170, 25, 55, 20}, false};
constexpr Layout BUTTON = {CTRL_START_BUTTON, {85, 75, 80, 20}, false};
constexpr Layout CAPTION = {CTRL_DELAY_CAPTION, {35, 30, 125, 25}, false};
constexpr Layout READOUT = {CTRL_READOUT, {15, 125, 100, 35}, true};
constexpr Layout UNITS = {CTRL_UNITS, {125, 125, 125, 35}, true};
constexpr Layout LAYOUT[] = {SPIN, BUTTON, CAPTION, READOUT, UNITS};

// The read-out font that the entry loaded for the system DPI, and the fonts
// of the DPI the window is laid out at.
HFONT system_readout_font;
LayoutFonts fonts;

// The session results are reached from the system menu; the main loop
// answers the command.
void add_results_menu_item(HWND window)
{
    if (HMENU menu = GetSystemMenu(window, FALSE)) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, CMD_SESSION_RESULTS, RESULTS_MENU_TEXT);
    }
}

// Lays the built window out again at `dpi` by the start-up's rules; nothing
// is made or destroyed but fonts, so a trial runs on undisturbed.
void lay_out(int dpi)
{
    LayoutFonts next = layout_fonts(dpi, system_readout_font, true);
    for (const Layout& control : LAYOUT) {
        const HFONT font = control.readout_font ? next.readout : next.gui;
        control_set_font(control.number, reinterpret_cast<LONG_PTR>(font));
        move_control(control.number, control.place, dpi);
    }
    widen_to_text(CTRL_DELAY_CAPTION);
    status_bar_set_font(STATUS_BAR_MAIN, next.status);
    set_status_field_width(STATUS_BAR_MAIN, 0, px(STATUS_FIELD_WIDTH, dpi));
    fit_window_to_dpi(WINDOW_MAIN, CLIENT, dpi);
    // Only now does no window use the old ones.
    free_layout_fonts(&fonts);
    fonts = next;
}

}  // namespace

// The figures are at 96 DPI; px keeps the layout in proportion to the fonts,
// which follow the DPI. x and y go unscaled: the window is centred.
bool build_main_window(HFONT readout_font)
{
    // The window's own DPI is known once it exists.
    const int dpi = system_dpi();
    system_readout_font = readout_font;
    fonts = layout_fonts(dpi, readout_font, true);
    if (!open_window(WINDOW_MAIN, 410, 283, px(CLIENT.cx, dpi), px(CLIENT.cy, dpi), "Flinchmeter",
                     WS_CAPTION | WS_SYSMENU | WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT))
        return false;
    if (create_status_bar(STATUS_BAR_MAIN, window_handle(WINDOW_MAIN)))
        add_status_field(px(STATUS_FIELD_WIDTH, dpi));
    if (!begin_control_list(window_handle(WINDOW_MAIN)))
        return false;

    // A failed control is simply missing; operations on its number do nothing.
    Place p = px(SPIN.place, dpi);
    create_spin(CTRL_DELAY_SPIN, p.x, p.y, p.width, p.height, 1, 60);
    // The spin does not write its position into its text, so both are set.
    control_set_state(CTRL_DELAY_SPIN, 10);
    control_set_text(CTRL_DELAY_SPIN, "10");
    p = px(BUTTON.place, dpi);
    const LONG_PTR start =
        create_button(CTRL_START_BUTTON, p.x, p.y, p.width, p.height, "Start Timer");
    // Enter starts a trial as a click does, wherever the focus is.
    set_default_button(WINDOW_MAIN, reinterpret_cast<HWND>(start));
    p = px(CAPTION.place, dpi);
    create_text(CTRL_DELAY_CAPTION, p.x, p.y, p.width, p.height, "Random Delay Maximum", SS_CENTER);
    // Its text all but fills it at 96 DPI; Wine's font at 120 DPI is 4 pixels
    // wider than the scaled caption.
    widen_to_text(CTRL_DELAY_CAPTION);
    status_text(STATUS_BAR_MAIN, 0, TEXT_START_HINT);
    p = px(READOUT.place, dpi);
    create_text(CTRL_READOUT, p.x, p.y, p.width, p.height, "0.000");
    p = px(UNITS.place, dpi);
    create_text(CTRL_UNITS, p.x, p.y, p.width, p.height, "Seconds");
    control_set_font(CTRL_READOUT, reinterpret_cast<LONG_PTR>(readout_font));
    control_set_font(CTRL_UNITS, reinterpret_cast<LONG_PTR>(readout_font));
    // Beyond the layout.
    add_results_menu_item(window_handle(WINDOW_MAIN));
    // Opened on a monitor whose DPI is not the system's.
    if (const int own = window_dpi(WINDOW_MAIN); own != dpi)
        lay_out(own);
    return true;
}

int main_window_dpi_changed(WPARAM wparam, LPARAM lparam)
{
    const int dpi = follow_dpi_change(WINDOW_MAIN, wparam, lparam, CLIENT);
    if (dpi)
        lay_out(dpi);
    return dpi;
}
