// The windows layer's start-up, in the order its parts need each other, and
// its end.
#pragma once

// Once, at start-up, on the thread that will own the numbered windows: the
// window table with the class icon and cursor, the event state, the sizing
// state.
void init_windows();
// Closes every window that is still open, which takes its controls and status
// bar with it, then frees the drop data that the event state still holds.
void close_all_windows();
