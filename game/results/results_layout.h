// Every pixel figure of the session results' window and chart, in one place,
// at 96 DPI; px (game/dpi.h) scales each to the window's DPI where it is used.
#pragma once
#include <windows.h>

namespace results_px {

constexpr int CLIENT_WIDTH = 320;
constexpr int CLIENT_HEIGHT = 336;
// Between the main window and this one when they stand side by side.
constexpr int GAP = 8;

// The lines: five counts on the left, six figures on the right.
constexpr int LINE_TOP = 10;
constexpr int LINE_STEP = 18;
constexpr int LINE_HEIGHT = 16;
constexpr int COUNT_X = 10;
constexpr int COUNT_WIDTH = 120;
constexpr int FIGURE_X = 135;
constexpr int FIGURE_WIDTH = 175;

// The chart's whole area, labels included, in the client area.
constexpr RECT CHART = {10, 122, 310, 294};
// Inside it: room for the seconds on the left and the trial numbers below.
constexpr int AXIS_LABEL_WIDTH = 40;
constexpr int PLOT_TOP_MARGIN = 8;
constexpr int PLOT_RIGHT_MARGIN = 8;
constexpr int TRIAL_LABEL_HEIGHT = 16;
constexpr int TRIAL_LABEL_WIDTH = 45;
constexpr int LABEL_HALF_HEIGHT = 7;
constexpr int TICK_LENGTH = 4;
// Between a label and the axis it belongs to.
constexpr int LABEL_GAP = 2;
// Marks stand this far apart when the chart is full, and spread out up to
// the widest spacing while there are fewer.
constexpr int MARK_SPACING = 10;
constexpr int MARK_SPACING_WIDEST = 24;
constexpr int MARK_RADIUS = 3;
constexpr int MEDIAN_PEN_WIDTH = 2;
// The most ticks on the seconds axis, zero not counted.
constexpr int MAX_TICKS = 5;

constexpr int BUTTON_X = 235;
constexpr int BUTTON_Y = 303;
constexpr int BUTTON_WIDTH = 75;
constexpr int BUTTON_HEIGHT = 23;

}  // namespace results_px
