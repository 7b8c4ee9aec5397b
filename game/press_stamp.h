// The press timed where it arrives: a message hook on the main window's
// thread stamps, with the fine clock, the first fresh Space key-down that the
// thread retrieves while a trial waits for one. Polling the key can only
// notice a press at its next look; the stamp is the moment the game got it.
#pragma once
#include <stdint.h>

// Once, on the thread that owns the main window. False when the hook could
// not be set; the trial then times the press at its looks, as before.
bool press_stamp_init();
// Trial's thread, once its go text is up: the next fresh Space key-down is
// stamped, and none taken before counts.
void press_stamp_arm();
// Trial's thread: the stamp taken since arming, at or after `go`, or 0.
int64_t press_stamp(int64_t go);
// Trial's thread, when it ends: nothing is stamped until the next arming.
void press_stamp_disarm();
