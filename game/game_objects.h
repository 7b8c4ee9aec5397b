// The fixed numbers of the game's windows, status bar, font and controls.
#pragma once
#include "runtime/object_table.h"
#include "ui/controls/control.h"
#include "ui/controls/status_bar.h"
#include "ui/windows/window.h"

constexpr ObjectNumber WINDOW_MAIN = 0;
constexpr ObjectNumber STATUS_BAR_MAIN = 0;
constexpr ObjectNumber FONT_READOUT = 1;
// The read-out's font: its face and size in points.
constexpr char READOUT_FACE[] = "Lucida Console";
constexpr int READOUT_POINTS = 20;
constexpr ObjectNumber CTRL_DELAY_SPIN = 0;
constexpr ObjectNumber CTRL_START_BUTTON = 1;
constexpr ObjectNumber CTRL_DELAY_CAPTION = 2;
constexpr ObjectNumber CTRL_READOUT = 9;
constexpr ObjectNumber CTRL_UNITS = 10;

// The session results window and its controls; their numbers keep clear of
// the main window's.
constexpr ObjectNumber WINDOW_RESULTS = 1;
constexpr ObjectNumber CTRL_RESULTS_FIRST_LINE = 20;  // one per line, all below Copy's
constexpr ObjectNumber CTRL_RESULTS_COPY = 31;

// The trial's thread looks the main window, its status bar and its controls
// up without a lock, while the main thread may create windows and controls
// (the results window makes ten, possibly mid-trial). A table whose number
// outgrows its first allocation moves its array under such a lookup, so no
// number of the game may.
constexpr ObjectNumber GAME_CONTROLS[] = {
    CTRL_DELAY_SPIN, CTRL_START_BUTTON,       CTRL_DELAY_CAPTION, CTRL_READOUT,
    CTRL_UNITS,      CTRL_RESULTS_FIRST_LINE, CTRL_RESULTS_COPY};
constexpr ObjectNumber GAME_WINDOWS[] = {WINDOW_MAIN, WINDOW_RESULTS};
constexpr ObjectNumber GAME_STATUS_BARS[] = {STATUS_BAR_MAIN};

template <size_t N>
constexpr bool within_first_allocation(const ObjectNumber (&numbers)[N], int32_t grow_step)
{
    for (ObjectNumber n : numbers)
        if (n < 0 || n >= grow_step)
            return false;
    return true;
}
static_assert(within_first_allocation(GAME_CONTROLS, CONTROL_GROW_STEP));
static_assert(within_first_allocation(GAME_WINDOWS, WINDOW_GROW_STEP));
static_assert(within_first_allocation(GAME_STATUS_BARS, STATUS_GROW_STEP));
