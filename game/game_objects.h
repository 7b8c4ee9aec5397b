// The fixed numbers of the game's window, status bar, font and controls.
#pragma once
#include "runtime/object_table.h"

constexpr ObjectNumber WINDOW_MAIN = 0;
constexpr ObjectNumber STATUS_BAR_MAIN = 0;
constexpr ObjectNumber FONT_READOUT = 1;
constexpr ObjectNumber CTRL_DELAY_SPIN = 0;
constexpr ObjectNumber CTRL_START_BUTTON = 1;
constexpr ObjectNumber CTRL_DELAY_CAPTION = 2;
constexpr ObjectNumber CTRL_READOUT = 9;
constexpr ObjectNumber CTRL_UNITS = 10;

// The session results window and its controls; their numbers keep clear of
// the main window's.
constexpr ObjectNumber WINDOW_RESULTS = 1;
constexpr ObjectNumber CTRL_RESULTS_FIRST_LINE = 20;  // 20 to 28, one per line
constexpr ObjectNumber CTRL_RESULTS_COPY = 29;
