// The session results window, the front of the results (game/results/): it
// shows the session beside the main window and is opened, refreshed and
// closed by the main loop as the main window's messages and events ask; its
// Copy button puts the session on the clipboard.
#pragma once
#include <windows.h>

constexpr char RESULTS_TITLE[] = "Flinchmeter results";

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
