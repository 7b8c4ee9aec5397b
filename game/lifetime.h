// Bringing the runtime up at start and releasing it at the end.
#pragma once

// The libraries, in the order they depend on each other.
void start_runtime();
// The end: closes the trial gate, so that a trial still running completes the
// call it is in and makes no other, then releases threads, windows (with
// their controls and status bars) and fonts, in that order. The general heap
// goes last, separately.
void release_runtime();
