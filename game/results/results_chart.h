// The session results' chart: the presses' readings in trial order (the
// most recent that fit; a coarsely timed one as an open dot), a seconds axis
// with labelled ticks, and a line at the session's median.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "game/results/session_report.h"

// Draws into results_px::CHART of `dc`, at `dpi` and with `font` for the
// labels. median_ms is NO_VALUE without presses.
void draw_results_chart(HDC dc, const TrialRecord* records, int32_t count, double median_ms,
                        int dpi, HFONT font);
