// The main window's layout: the window, its status bar and five controls.
#pragma once
#include <windows.h>

constexpr char TEXT_START_HINT[] = "Click on the Start Timer button.";

// The font of the two read-out labels; 0 when it could not be made.
extern HFONT readout_font;

// Builds what the layout lists. False when the window or the control list
// could not be made, in which case nothing can ever close the game.
bool build_main_window();
