// The main window's layout.
#include "game/main_window.h"
#include "game/game_objects.h"
#include "game/results_window.h"
#include "ui/controls/button.h"
#include "ui/controls/control.h"
#include "ui/controls/spin.h"
#include "ui/controls/status_bar.h"
#include "ui/controls/text.h"
#include "ui/windows/window.h"

bool build_main_window(HFONT readout_font)
{
    if (!open_window(WINDOW_MAIN, 410, 283, 255, 192, "Flinchmeter",
                     WS_CAPTION | WS_SYSMENU | WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT))
        return false;
    if (create_status_bar(STATUS_BAR_MAIN, window_handle(WINDOW_MAIN)))
        add_status_field(250);
    if (!begin_control_list(window_handle(WINDOW_MAIN)))
        return false;

    // A failed control is simply missing; operations on its number do nothing.
    create_spin(CTRL_DELAY_SPIN, 170, 25, 55, 20, 1, 60);
    // The spin does not write its position into its text, so both are set.
    control_set_state(CTRL_DELAY_SPIN, 10);
    control_set_text(CTRL_DELAY_SPIN, "10");
    create_button(CTRL_START_BUTTON, 85, 75, 80, 20, "Start Timer");
    create_text(CTRL_DELAY_CAPTION, 35, 30, 125, 25, "Random Delay Maximum", SS_CENTER);
    status_text(STATUS_BAR_MAIN, 0, TEXT_START_HINT);
    create_text(CTRL_READOUT, 15, 125, 100, 35, "0.000");
    create_text(CTRL_UNITS, 125, 125, 125, 35, "Seconds");
    control_set_font(CTRL_READOUT, reinterpret_cast<LONG_PTR>(readout_font));
    control_set_font(CTRL_UNITS, reinterpret_cast<LONG_PTR>(readout_font));
    // Beyond the layout: the session results, reached from the system menu.
    results_attach_to_main_window();
    return true;
}
