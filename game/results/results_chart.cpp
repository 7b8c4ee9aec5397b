// The session results' chart of the readings, drawn with GDI.
#include "game/results/results_chart.h"
#include <stdio.h>
#include <string.h>
#include "game/dpi.h"
#include "game/results/results_layout.h"
#include "runtime/scoped_win.h"

namespace {

using namespace results_px;

constexpr COLORREF PLOT_BACK = RGB(255, 255, 255);
constexpr COLORREF GRID = RGB(225, 225, 225);
constexpr COLORREF AXIS = RGB(90, 90, 90);
constexpr COLORREF LINK = RGB(160, 190, 225);
constexpr COLORREF MARK = RGB(0, 84, 170);
constexpr COLORREF MEDIAN = RGB(215, 90, 0);
constexpr COLORREF NOTE = RGB(110, 110, 110);

// Tick steps that read well, in milliseconds.
constexpr int32_t NICE_STEPS_MS[] = {10, 20, 25, 50, 100, 200, 250, 500, 1000, 2000, 2500, 5000};
// The axis of a chart without presses.
constexpr int32_t EMPTY_TOP_MS = 500;

// The most marks the chart holds at 96 DPI. Scaled, it holds about as many;
// the count drawn is capped here, so rounding never overruns the arrays.
constexpr int MOST_MARKS = (CHART.right - CHART.left) / MARK_SPACING + 1;
constexpr int LABEL_BYTES = 24;

struct Scale {
    int32_t step_ms;
    int32_t top_ms;
};

// The smallest nice step that needs no more than MAX_TICKS ticks.
Scale scale_for(int32_t highest_ms)
{
    int32_t step = 0;
    int32_t ticks = 1;
    for (int32_t s : NICE_STEPS_MS) {
        step = s;
        ticks = (highest_ms + s - 1) / s;
        if (ticks <= MAX_TICKS)
            break;
    }
    if (ticks < 1)
        ticks = 1;
    return {step, step * ticks};
}

// "0.25 s": seconds without the trailing zeros.
void axis_label(int32_t ms, char* out)
{
    seconds_text(ms, out);
    size_t end = strlen(out);
    while (out[end - 1] == '0')
        --end;
    if (out[end - 1] == '.')
        --end;
    strcpy(out + end, " s");
}

int y_of(int32_t ms, const RECT& plot, int32_t top_ms)
{
    return plot.bottom - MulDiv(ms, plot.bottom - plot.top, top_ms);
}

void label(HDC dc, const char* text, RECT where, UINT format, COLORREF colour)
{
    SetTextColor(dc, colour);
    DrawTextA(dc, text, -1, &where, format | DT_SINGLELINE | DT_NOPREFIX);
}

void line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void draw_axis(HDC dc, const RECT& chart, const RECT& plot, Scale scale, int dpi)
{
    ScopedGdiObject<HPEN> grid(CreatePen(PS_SOLID, 1, GRID));
    ScopedGdiObject<HPEN> axis(CreatePen(PS_SOLID, 1, AXIS));
    {
        SelectedObject pen(dc, grid.get());
        for (int32_t ms = scale.step_ms; ms <= scale.top_ms; ms += scale.step_ms)
            line(dc, plot.left, y_of(ms, plot, scale.top_ms), plot.right,
                 y_of(ms, plot, scale.top_ms));
    }
    SelectedObject pen(dc, axis.get());
    line(dc, plot.left, plot.top, plot.left, plot.bottom);
    line(dc, plot.left, plot.bottom, plot.right, plot.bottom);
    const int tick = px(TICK_LENGTH, dpi);
    const int half = px(LABEL_HALF_HEIGHT, dpi);
    for (int32_t ms = 0; ms <= scale.top_ms; ms += scale.step_ms) {
        const int y = y_of(ms, plot, scale.top_ms);
        line(dc, plot.left - tick, y, plot.left, y);
        char text[LABEL_BYTES];
        axis_label(ms, text);
        label(dc, text, {chart.left, y - half, plot.left - tick - px(LABEL_GAP, dpi), y + half},
              DT_RIGHT | DT_VCENTER, AXIS);
    }
}

// A coarsely timed press is an open dot: the plot's background inside.
void draw_marks(HDC dc, const POINT* marks, const bool* coarse, int count, int dpi)
{
    ScopedGdiObject<HPEN> link(CreatePen(PS_SOLID, 1, LINK));
    ScopedGdiObject<HPEN> outline(CreatePen(PS_SOLID, 1, MARK));
    ScopedGdiObject<HBRUSH> fill(CreateSolidBrush(MARK));
    ScopedGdiObject<HBRUSH> open(CreateSolidBrush(PLOT_BACK));
    {
        SelectedObject pen(dc, link.get());
        Polyline(dc, marks, count);
    }
    SelectedObject pen(dc, outline.get());
    const int radius = px(MARK_RADIUS, dpi);
    for (int i = 0; i < count; ++i) {
        SelectedObject brush(dc, coarse[i] ? open.get() : fill.get());
        Ellipse(dc, marks[i].x - radius, marks[i].y - radius, marks[i].x + radius + 1,
                marks[i].y + radius + 1);
    }
}

void draw_median(HDC dc, const RECT& plot, int y, int dpi)
{
    ScopedGdiObject<HPEN> median(CreatePen(PS_SOLID, px(MEDIAN_PEN_WIDTH, dpi), MEDIAN));
    {
        SelectedObject pen(dc, median.get());
        line(dc, plot.left + 1, y, plot.right, y);
    }
    label(
        dc, "median",
        {plot.left, y - 2 * px(LABEL_HALF_HEIGHT, dpi) - 1, plot.right - px(LABEL_GAP, dpi), y - 1},
        DT_RIGHT | DT_BOTTOM, MEDIAN);
}

void trial_label(HDC dc, int32_t number, int x, const RECT& chart, const RECT& plot, UINT align,
                 int dpi)
{
    char text[LABEL_BYTES];
    sprintf(text, "trial %ld", static_cast<long>(number));
    // Reaching from the mark's edge into the plot's width.
    const int top = plot.bottom + px(LABEL_GAP, dpi);
    RECT where = {x, top, plot.right, chart.bottom};
    if (align == DT_RIGHT)
        where = {plot.left, top, x, chart.bottom};
    label(dc, text, where, align | DT_TOP, AXIS);
}

}  // namespace

void draw_results_chart(HDC dc, const TrialRecord* records, int32_t count, double median_ms,
                        int dpi, HFONT font)
{
    const RECT chart = px(CHART, dpi);
    const RECT plot = {chart.left + px(AXIS_LABEL_WIDTH, dpi), chart.top + px(PLOT_TOP_MARGIN, dpi),
                       chart.right - px(PLOT_RIGHT_MARGIN, dpi),
                       chart.bottom - px(TRIAL_LABEL_HEIGHT, dpi)};

    // The most recent presses that fit, oldest first.
    int fit = (plot.right - plot.left) / px(MARK_SPACING, dpi);
    if (fit > MOST_MARKS)
        fit = MOST_MARKS;
    int32_t presses = 0;
    for (int32_t i = 0; i < count; ++i)
        presses += records[i].outcome == TrialOutcome::PRESS;
    int32_t skip = presses > fit ? presses - fit : 0;
    const TrialRecord* shown[MOST_MARKS];
    int marks = 0;
    int32_t highest = median_ms >= 0 ? static_cast<int32_t>(median_ms + 0.5) : 0;
    for (int32_t i = 0; i < count; ++i) {
        if (records[i].outcome != TrialOutcome::PRESS)
            continue;
        if (skip) {
            --skip;
            continue;
        }
        shown[marks++] = &records[i];
        if (records[i].reading_ms > highest)
            highest = records[i].reading_ms;
    }
    const Scale scale = marks ? scale_for(highest) : scale_for(EMPTY_TOP_MS);

    {
        ScopedGdiObject<HBRUSH> back(CreateSolidBrush(PLOT_BACK));
        if (back.get())
            FillRect(dc, &plot, back.get());
    }
    SelectedObject selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    draw_axis(dc, chart, plot, scale, dpi);
    if (!marks) {
        label(dc, "No presses yet", plot, DT_CENTER | DT_VCENTER, NOTE);
        return;
    }

    int spacing = (plot.right - plot.left) / marks;
    if (spacing > px(MARK_SPACING_WIDEST, dpi))
        spacing = px(MARK_SPACING_WIDEST, dpi);
    POINT points[MOST_MARKS];
    bool coarse[MOST_MARKS];
    for (int i = 0; i < marks; ++i) {
        points[i] = {plot.left + spacing / 2 + i * spacing,
                     y_of(shown[i]->reading_ms, plot, scale.top_ms)};
        coarse[i] = is_coarse(*shown[i]);
    }
    draw_median(dc, plot, y_of(static_cast<int32_t>(median_ms + 0.5), plot, scale.top_ms), dpi);
    draw_marks(dc, points, coarse, marks, dpi);
    trial_label(dc, shown[0]->number, points[0].x - spacing / 2, chart, plot, DT_LEFT, dpi);
    // Two labels need room between them.
    if (points[marks - 1].x - points[0].x >= 2 * px(TRIAL_LABEL_WIDTH, dpi))
        trial_label(dc, shown[marks - 1]->number, points[marks - 1].x + spacing / 2, chart, plot,
                    DT_RIGHT, dpi);
}
