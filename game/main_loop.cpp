// The main event loop, the one place that reacts to the main window: spin
// synchronisation, starting trials, taking the trials' records into the
// session, opening, refreshing and closing the results window, and laying
// the main window out again when its DPI changes.
#include "game/main_loop.h"
#include "game/game_objects.h"
#include "game/main_window.h"
#include "game/results/results_window.h"
#include "game/session.h"
#include "game/trial.h"
#include "runtime/string_workspace.h"
#include "ui/controls/control.h"
#include "ui/controls/status_bar.h"
#include "ui/windows/events.h"
#include "ui/windows/messages.h"
#include "ui/windows/window.h"

namespace {

// The argument run_trial receives and ignores.
char no_argument[] = "";

// The user edits the text: the state follows it. The arrows moved the state:
// the text follows it. The spin's own text update raises no event, so this
// does not come back.
void synchronise_spin()
{
    const int32_t state = control_get_state(CTRL_DELAY_SPIN);
    int32_t value;
    {
        WorkspaceStatement statement;
        const int32_t pos = statement.pos();
        control_get_text(CTRL_DELAY_SPIN, pos);
        value = int_from_str(statement.take(pos));
    }
    if (state == value)
        return;
    if (event_type() == EN_CHANGE) {
        control_set_state(CTRL_DELAY_SPIN, value);
    } else {
        WorkspaceStatement statement;
        const int32_t pos = statement.pos();
        str_from_int(control_get_state(CTRL_DELAY_SPIN), pos);
        control_set_text(CTRL_DELAY_SPIN, statement.take(pos));
    }
}

// The disabled button is what says a trial runs. A click event can still
// arrive while it is disabled (another program can post one), and a second
// trial on the same window would fight the first over every text.
bool trial_running()
{
    const Control* button = control_lookup(CTRL_START_BUTTON);
    return button && !IsWindowEnabled(button->handle);
}

// Disabling the window that has the focus leaves the focus on no window, and
// Windows then makes every key a system key, whose default handling plays the
// error sound. Nothing gives the button the focus back after the trial: a
// Space still held from the press would push it on release.
void focus_main_window()
{
    HWND window = window_handle(WINDOW_MAIN);
    HWND focus = GetFocus();
    if (IsChild(window, focus) || (!focus && GetActiveWindow() == window))
        SetFocus(window);
}

void start_trial(TrialStarter start_thread)
{
    if (trial_running())
        return;
    control_set_text(CTRL_READOUT, "0.000");
    control_set_text(CTRL_UNITS, "Seconds");
    focus_main_window();
    control_disable(CTRL_START_BUTTON, 1);
    control_disable(CTRL_DELAY_SPIN, 1);
    if (!start_thread(run_trial, no_argument)) {
        // No trial will enable them again.
        control_disable(CTRL_START_BUTTON, 0);
        control_disable(CTRL_DELAY_SPIN, 0);
        status_text(STATUS_BAR_MAIN, 0, TEXT_ANOTHER_GO);
    }
}

// The main window's messages that make no event: the system menu's results
// command, the ring that says trial records wait, and the move to a monitor
// of another DPI. They are answered where they are dispatched, since any
// message pump of this thread can dispatch them, and the menu's command can
// come sent as well as posted.
LRESULT CALLBACK main_window_message(HWND, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DPICHANGED) {
        main_window_dpi_changed(wparam, lparam);
        return 0;
    }
    if (message == WM_SYSCOMMAND && system_command(wparam) == CMD_SESSION_RESULTS) {
        results_window_show();
        return 0;
    }
    // Whoever rang, only the waiting list is looked at.
    if (message == MSG_RECORDS_WAITING) {
        if (session_take_in())
            results_window_refresh();
        return 0;
    }
    return CALLBACK_DEFAULT;
}

}  // namespace

int main_event_loop(TrialStarter start_thread)
{
    set_window_callback(WINDOW_MAIN, main_window_message);
    for (;;) {
        const int32_t code = wait_event();
        if (code == EVENT_CLOSE_WINDOW) {
            // Only the main window's close request ends the game.
            if (event_window() != WINDOW_RESULTS)
                break;
            results_window_close();
            continue;
        }
        // Keys go to the focused window, which may be the results' button.
        if (code == WM_KEYDOWN) {
            results_window_key(event_wparam());
            continue;
        }
        if (code != EVENT_CONTROL)
            continue;
        switch (event_control()) {
        case CTRL_DELAY_SPIN:
            synchronise_spin();
            break;
        case CTRL_START_BUTTON:
            start_trial(start_thread);
            break;
        case CTRL_RESULTS_COPY:
            results_window_copy();
            break;
        default:
            break;
        }
    }
    results_window_close();
    return 0;
}
