// The session results window: opened from the main window's system menu,
// placed beside the main window, kept up to date as trials end, closed with
// Escape or its close box; its Copy button puts the session on the clipboard.
#pragma once
#include <windows.h>

constexpr char RESULTS_TITLE[] = "Flinchmeter results";
constexpr char RESULTS_MENU_TEXT[] = "Session res&ults...";
// The system-menu command: below the system's own (0xF000 and up), with the
// low four bits clear, which the system keeps for itself.
constexpr UINT CMD_SESSION_RESULTS = 0x0120;

// Adds the item at the end of the main window's system menu and gives the
// main window the callback that opens the results and takes records in.
// False when the main window has neither.
bool results_attach_to_main_window();

// Opens the window beside the main window, or brings it to the front.
void results_window_show();
void results_window_close();
// Escape closes the window while it is active, whichever of its windows has
// the focus. True when the key was taken.
bool results_window_key(WPARAM key);
// Shows the session as it stands now, if the window is open.
void results_window_refresh();
// Puts the whole session on the clipboard; false when it could not.
bool results_window_copy();

// Where a window of `size` stands beside `owner`: to its right where the work
// area has room, else to its left, else centred on it; always within `work`,
// its top-left corner first when it is larger.
POINT place_beside(const RECT& owner, const RECT& work, SIZE size, int gap);
