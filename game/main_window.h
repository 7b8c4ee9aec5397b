// The main window's layout: the window, its status bar and five controls.
#pragma once
#include <windows.h>

constexpr char TEXT_START_HINT[] = "Click on the Start Timer button.";

// Builds what the layout lists, with `readout_font` for the two read-out
// labels (null: the system font). False when the window or the control list
// could not be made, in which case nothing can ever close the game.
bool build_main_window(HFONT readout_font);
