// The main window's layout: the window, its status bar and five controls,
// at the window's DPI.
#pragma once
#include <windows.h>

constexpr char TEXT_START_HINT[] = "Click on the Start Timer button.";

// The item at the end of the system menu that opens the session results.
constexpr char RESULTS_MENU_TEXT[] = "Session res&ults...";
// Its command: below the system's own (0xF000 and up), with the low four
// bits clear, which the system keeps for itself.
constexpr UINT CMD_SESSION_RESULTS = 0x0120;

// Builds what the layout lists, with `readout_font` for the two read-out
// labels (null: the system font), Start Timer as the window's default button
// and the results item of the system menu.
// False when the window or the control list could not be made, in which
// case nothing can ever close the game.
bool build_main_window(HFONT readout_font);

// The answer to WM_DPICHANGED: the window moves to the suggested rectangle
// and is laid out again at the new DPI, fonts included. The new DPI; 0, with
// nothing changed, when the message does not hold up.
int main_window_dpi_changed(WPARAM wparam, LPARAM lparam);
