// The session results window, which reads the session and changes nothing of
// it: a numbered window owned by the main window, with a text control per
// statistic, the chart painted by the window's callback, and the Copy button
// whose clicks reach the main loop as events.
#include "game/results/results_window.h"
#include "game/dpi.h"
#include "game/game_objects.h"
#include "game/results/results_chart.h"
#include "game/results/results_layout.h"
#include "game/session.h"
#include "runtime/heaps.h"
#include "runtime/scoped_win.h"
#include "ui/controls/button.h"
#include "ui/controls/control.h"
#include "ui/controls/text.h"
#include "ui/windows/clipboard.h"
#include "ui/windows/messages.h"
#include "ui/windows/window.h"
#include "ui/windows/window_dpi.h"

namespace {

using namespace results_px;

// The lines' numbers run up to Copy's, the highest of the game's controls.
static_assert(CTRL_RESULTS_FIRST_LINE + RESULTS_LINES <= CTRL_RESULTS_COPY);

// The fonts of the DPI the window is laid out at.
LayoutFonts fonts;

// Computed afresh for each refresh and paint; the session is small.
SessionStats current_stats()
{
    return session_stats(session_records(), session_count(), session_scratch());
}

// Line i: the counts on the left, the figures on the right.
Place line_place(int i)
{
    const bool count = i < RESULTS_COUNT_LINES;
    const int row = count ? i : i - RESULTS_COUNT_LINES;
    return {count ? COUNT_X : FIGURE_X, LINE_TOP + row * LINE_STEP,
            count ? COUNT_WIDTH : FIGURE_WIDTH, LINE_HEIGHT};
}
constexpr Place COPY = {BUTTON_X, BUTTON_Y, BUTTON_WIDTH, BUTTON_HEIGHT};
constexpr SIZE CLIENT = {CLIENT_WIDTH, CLIENT_HEIGHT};

// Laid out again at `dpi` by the rules it was built with, the chart painted
// afresh at it; nothing is made or destroyed but fonts.
void lay_out(int dpi)
{
    LayoutFonts next = layout_fonts(dpi, nullptr, false);
    const auto gui = reinterpret_cast<LONG_PTR>(next.gui);
    for (int i = 0; i < RESULTS_LINES; ++i) {
        control_set_font(CTRL_RESULTS_FIRST_LINE + i, gui);
        move_control(CTRL_RESULTS_FIRST_LINE + i, line_place(i), dpi);
    }
    control_set_font(CTRL_RESULTS_COPY, gui);
    move_control(CTRL_RESULTS_COPY, COPY, dpi);
    fit_window_to_dpi(WINDOW_RESULTS, CLIENT, dpi);
    free_layout_fonts(&fonts);
    fonts = next;
}

LRESULT CALLBACK results_window_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DPICHANGED) {
        if (const int dpi = follow_dpi_change(WINDOW_RESULTS, wparam, lparam, CLIENT))
            lay_out(dpi);
        return 0;
    }
    if (message != WM_PAINT)
        return CALLBACK_DEFAULT;
    PaintDc paint(window);
    if (paint.dc())
        draw_results_chart(paint.dc(), session_records(), session_count(),
                           current_stats().median_ms, layout_dpi(WINDOW_RESULTS), fonts.gui);
    return 0;
}

void build_controls(HWND results, int dpi)
{
    // The controls go into the results window, later ones where they went before.
    const HWND previous = control_list() ? control_list()->parent : nullptr;
    const ScopeExit restore([previous] { begin_control_list(previous); });
    begin_control_list(results);
    for (int i = 0; i < RESULTS_LINES; ++i) {
        const Place line = px(line_place(i), dpi);
        create_text(CTRL_RESULTS_FIRST_LINE + i, line.x, line.y, line.width, line.height, "",
                    SS_NOPREFIX);
    }
    const Place copy = px(COPY, dpi);
    create_button(CTRL_RESULTS_COPY, copy.x, copy.y, copy.width, copy.height, "Copy");
}

void place(HWND results, HWND main)
{
    RECT owner, outer;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(main, &owner) || !GetWindowRect(results, &outer) ||
        !GetMonitorInfoA(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const SIZE size = {outer.right - outer.left, outer.bottom - outer.top};
    const POINT at = place_beside(owner, monitor.rcWork, size, px(GAP, layout_dpi(WINDOW_RESULTS)));
    SetWindowPos(results, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void results_window_show()
{
    if (HWND open = window_handle(WINDOW_RESULTS)) {
        SetForegroundWindow(open);
        SetFocus(open);
        return;
    }
    HWND main = window_handle(WINDOW_MAIN);
    // Made hidden, so that it appears once, complete and in its place.
    const int dpi = system_dpi();
    if (!main || !open_window(WINDOW_RESULTS, 0, 0, px(CLIENT.cx, dpi), px(CLIENT.cy, dpi),
                              RESULTS_TITLE, WS_CAPTION | WS_SYSMENU | WINDOW_INVISIBLE, main))
        return;
    HWND results = window_handle(WINDOW_RESULTS);
    fonts = layout_fonts(dpi, nullptr, false);
    set_window_callback(WINDOW_RESULTS, results_window_message);
    build_controls(results, dpi);
    results_window_refresh();
    place(results, main);
    // Placed on a monitor whose DPI is not the system's.
    if (const int own = window_dpi(WINDOW_RESULTS); own != dpi) {
        lay_out(own);
        place(results, main);
    }
    ShowWindow(results, SW_SHOWNORMAL);
    // The window itself, not the button: a Space meant for a trial pushes
    // nothing here.
    SetFocus(results);
}

void results_window_close()
{
    // The fonts of a window closed at the end went with every other font.
    if (!window_handle(WINDOW_RESULTS))
        return;
    close_window(WINDOW_RESULTS);
    free_layout_fonts(&fonts);
}

bool results_window_key(WPARAM key)
{
    HWND results = window_handle(WINDOW_RESULTS);
    if (key != VK_ESCAPE || !results || GetActiveWindow() != results)
        return false;
    results_window_close();
    return true;
}

void results_window_refresh()
{
    HWND results = window_handle(WINDOW_RESULTS);
    if (!results)
        return;
    ResultsLines lines;
    results_lines(current_stats(), &lines);
    for (int i = 0; i < RESULTS_LINES; ++i)
        control_set_text(CTRL_RESULTS_FIRST_LINE + i, lines.text[i]);
    const RECT chart = px(CHART, layout_dpi(WINDOW_RESULTS));
    InvalidateRect(results, &chart, TRUE);
}

bool results_window_copy()
{
    // A click event forged while the window is closed leaves the clipboard be.
    HWND results = window_handle(WINDOW_RESULTS);
    if (!results)
        return false;
    const int32_t count = session_count();
    auto* text = static_cast<char*>(general_alloc(session_table_bytes(count)));
    if (!text)
        return false;
    const ScopeExit free_text([text] { general_free(text); });
    const size_t length = session_table_text(session_records(), count, text);
    return clipboard_put_text(results, text, length);
}

POINT place_beside(const RECT& owner, const RECT& work, SIZE size, int gap)
{
    POINT at;
    if (owner.right + gap + size.cx <= work.right)
        at = {owner.right + gap, owner.top};
    else if (owner.left - gap - size.cx >= work.left)
        at = {owner.left - gap - size.cx, owner.top};
    else
        at = {owner.left + ((owner.right - owner.left) - size.cx) / 2,
              owner.top + ((owner.bottom - owner.top) - size.cy) / 2};
    if (at.x + size.cx > work.right)
        at.x = work.right - size.cx;
    if (at.y + size.cy > work.bottom)
        at.y = work.bottom - size.cy;
    if (at.x < work.left)
        at.x = work.left;
    if (at.y < work.top)
        at.y = work.top;
    return at;
}
