// The main window's layout.
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

namespace {

// The session results are reached from the system menu; the main loop
// answers the command.
void add_results_menu_item(HWND window)
{
    if (HMENU menu = GetSystemMenu(window, FALSE)) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, CMD_SESSION_RESULTS, RESULTS_MENU_TEXT);
    }
}

}  // namespace

// The figures are at 96 DPI; px keeps the layout in proportion to the fonts,
// which follow the display. x and y go unscaled: the window is centred.
bool build_main_window(HFONT readout_font)
{
    if (!open_window(WINDOW_MAIN, 410, 283, px(255), px(192), "Flinchmeter",
                     WS_CAPTION | WS_SYSMENU | WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT))
        return false;
    if (create_status_bar(STATUS_BAR_MAIN, window_handle(WINDOW_MAIN)))
        add_status_field(px(250));
    if (!begin_control_list(window_handle(WINDOW_MAIN)))
        return false;

    // A failed control is simply missing; operations on its number do nothing.
    create_spin(CTRL_DELAY_SPIN, px(170), px(25), px(55), px(20), 1, 60);
    // The spin does not write its position into its text, so both are set.
    control_set_state(CTRL_DELAY_SPIN, 10);
    control_set_text(CTRL_DELAY_SPIN, "10");
    const LONG_PTR start =
        create_button(CTRL_START_BUTTON, px(85), px(75), px(80), px(20), "Start Timer");
    // Enter starts a trial as a click does, wherever the focus is.
    set_default_button(WINDOW_MAIN, reinterpret_cast<HWND>(start));
    create_text(CTRL_DELAY_CAPTION, px(35), px(30), px(125), px(25), "Random Delay Maximum",
                SS_CENTER);
    // Its text all but fills it at 96 DPI; Wine's font at 120 DPI is 4 pixels
    // wider than the scaled caption.
    widen_to_text(CTRL_DELAY_CAPTION);
    status_text(STATUS_BAR_MAIN, 0, TEXT_START_HINT);
    create_text(CTRL_READOUT, px(15), px(125), px(100), px(35), "0.000");
    create_text(CTRL_UNITS, px(125), px(125), px(125), px(35), "Seconds");
    control_set_font(CTRL_READOUT, reinterpret_cast<LONG_PTR>(readout_font));
    control_set_font(CTRL_UNITS, reinterpret_cast<LONG_PTR>(readout_font));
    // Beyond the layout.
    add_results_menu_item(window_handle(WINDOW_MAIN));
    return true;
}
