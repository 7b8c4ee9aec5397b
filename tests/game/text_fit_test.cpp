// Every text the game shows fits where it is shown, at the display's
// resolution: measured in the font of the window that shows it.
#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include "game/dpi.h"
#include "game/main_window.h"
#include "game/results/results_window.h"
#include "game/results/session_report.h"
#include "game/trial.h"
#include "tests/game/game_window.h"
#include "tests/support/dpi.h"
#include "ui/windows/window.h"

namespace {

// Where a text can go in a window: its client area, less what the window
// keeps for itself across and down.
SIZE room_in(HWND window, int across = 0, int down = 0)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left - across, r.bottom - r.top - down};
}

// A push button keeps an edge and a focus rectangle's pixel on each side.
int button_frame()
{
    return 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
}

using TextFitTest = GameWindowTest;

TEST_F(TextFitTest, EveryTextOfTheMainWindowFitsItsControl)
{
    const DWORD margins = SendMessageA(control(CTRL_DELAY_SPIN), EM_GETMARGINS, 0, 0);
    struct Row {
        ObjectNumber number;
        const char* widest;  // the widest text the control shows
        int across;          // what the control keeps for itself
    };
    const Row rows[] = {
        {CTRL_DELAY_SPIN, "60", LOWORD(margins) + HIWORD(margins)},
        {CTRL_START_BUTTON, "Start Timer", button_frame()},
        {CTRL_DELAY_CAPTION, "Random Delay Maximum", 0},
        {CTRL_READOUT, "10.000", 0},
        {CTRL_UNITS, "Seconds", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.widest);
        const SIZE text = text_size(control(row.number), row.widest);
        const SIZE room = room_in(control(row.number), row.across);
        EXPECT_LE(text.cx, room.cx);
        EXPECT_LE(text.cy, room.cy);
    }
}

TEST_F(TextFitTest, EveryStatusTextFitsTheStatusField)
{
    RECT field{};
    ASSERT_TRUE(SendMessageA(status_bar(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&field)));
    // The field's edge, and the status bar's indent of its text.
    const int room = field.right - field.left - 2 * GetSystemMetrics(SM_CXEDGE) - 3;
    for (const char* text : {TEXT_START_HINT, TEXT_DELAY_STARTED, TEXT_CHEAT, TEXT_GO,
                             TEXT_ANOTHER_GO, TEXT_SLOWCOACH}) {
        const SIZE size = text_size(status_bar(), text);
        EXPECT_LE(size.cx, room) << text;
        EXPECT_LE(size.cy, field.bottom - field.top) << text;
    }
}

TEST_F(TextFitTest, TheResultsWindowIsScaledAndItsWidestLinesFit)
{
    results_window_show();
    HWND results = window_handle(WINDOW_RESULTS);
    ASSERT_NE(results, nullptr);
    const SIZE client = room_in(results);
    EXPECT_EQ(client.cx, scaled(320));
    EXPECT_EQ(client.cy, scaled(336));
    // The counts of a long session, then the figures in seconds.
    for (int line = 0; line < RESULTS_LINES; ++line) {
        const char* widest =
            line < RESULTS_COUNT_LINES ? "Early presses: 9999" : "Standard deviation: 9.999";
        HWND text = control(CTRL_RESULTS_FIRST_LINE + line);
        ASSERT_NE(text, nullptr) << line;
        const SIZE size = text_size(text, widest);
        const SIZE room = room_in(text);
        EXPECT_LE(size.cx, room.cx) << line;
        EXPECT_LE(size.cy, room.cy) << line;
    }
    const SIZE copy = text_size(control(CTRL_RESULTS_COPY), "Copy");
    const SIZE room = room_in(control(CTRL_RESULTS_COPY), button_frame(), button_frame());
    EXPECT_LE(copy.cx, room.cx);
    EXPECT_LE(copy.cy, room.cy);
}

RECT window_rect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Whether anything is drawn in the window's client area from row `top` down:
// the colour of every pixel there against that of its bottom-left corner.
bool drawn_from(HWND window, int top)
{
    UpdateWindow(window);
    RECT r{};
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    const COLORREF back = GetPixel(dc, 0, r.bottom - 1);
    bool drawn = back == CLR_INVALID;
    for (int y = top; y < r.bottom && !drawn; ++y)
        for (int x = 0; x < r.right && !drawn; ++x)
            drawn = GetPixel(dc, x, y) != back;
    ReleaseDC(window, dc);
    return drawn;
}

TEST_F(TextFitTest, ATextWiderThanItsControlWidensItAboutItsCentre)
{
    HWND caption = control(CTRL_DELAY_CAPTION);
    const RECT before = window_rect(caption);
    // Wider than the caption at any DPI, yet still inside the window.
    const char* longer = "Random Delay Maximum in seconds";
    SetWindowTextA(caption, longer);
    widen_to_text(CTRL_DELAY_CAPTION);
    const RECT after = window_rect(caption);
    EXPECT_EQ(after.right - after.left, text_size(caption, longer).cx);
    EXPECT_LE(abs((after.left + after.right) - (before.left + before.right)), 1);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
    // Drawn again on one line: no part of the text wrapped at the old width
    // is left below it.
    EXPECT_FALSE(drawn_from(caption, text_size(caption, longer).cy));

    // A text that fits leaves the control as it is.
    SetWindowTextA(caption, "Delay");
    widen_to_text(CTRL_DELAY_CAPTION);
    const RECT same = window_rect(caption);
    EXPECT_EQ(same.left, after.left);
    EXPECT_EQ(same.right, after.right);
}

}  // namespace
