// The display resolution a test run is meant for, and the layout figures at
// it. A run in a prefix set to another DPI says so with FLINCH_DPI.
#pragma once
#include <windows.h>

// FLINCH_DPI from the environment; 96 when it is not set.
int expected_dpi();
// A figure of a 96-DPI layout at the expected resolution, as MulDiv rounds.
int scaled(int figure);
// Makes this process aware of the DPI, as the game is. False, after saying
// why on stderr, when the screen's LOGPIXELSY is not the expected one: every
// figure of the run would be checked against the wrong resolution.
bool display_has_expected_dpi();
