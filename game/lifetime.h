// Bringing the runtime up at start and releasing it at the end.
#pragma once

// The libraries, in the order they depend on each other, then the timing's
// needs: no throttling of the process, and the press stamp's hook on this
// thread, which will own the main window.
void start_runtime();
// The end: closes the trial gate, so that a trial still running completes the
// call it is in and makes no other, then releases threads, windows (with
// their controls and status bars) and fonts, in that order. The general heap
// goes last, separately.
void release_runtime();
