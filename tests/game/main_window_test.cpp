// The main window as the game builds it.
#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string.h>
#include <vector>
#include "game/main_window.h"
#include "game/results/results_window.h"
#include "tests/game/game_window.h"
#include "tests/support/dpi.h"
#include "ui/controls/spin.h"
#include "ui/windows/window.h"

namespace {

struct Placement {
    int x, y, width, height;
};

Placement placement_in(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string class_of(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The height of the font a window draws with; 0 for none.
int height_of(HWND window)
{
    LOGFONTA lf{};
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    return GetObjectA(font, sizeof lf, &lf) ? abs(lf.lfHeight) : 0;
}

// What Windows suggests when a window moves to a monitor of another DPI: its
// rectangle scaled about its top-left corner.
RECT suggested(HWND window, int from, int to)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.left + MulDiv(r.right - r.left, to, from),
            r.top + MulDiv(r.bottom - r.top, to, from)};
}

// What a layout decides, read from the window: its rectangle, its client
// size and each child window's place and font.
std::vector<LONG_PTR> layout_of(HWND window)
{
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::vector<LONG_PTR> layout = {outer.left,   outer.top,    outer.right,
                                    outer.bottom, client.right, client.bottom};
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const Placement p = placement_in(window, c);
        for (LONG_PTR value : {LONG_PTR{p.x}, LONG_PTR{p.y}, LONG_PTR{p.width}, LONG_PTR{p.height},
                               SendMessageA(c, WM_GETFONT, 0, 0)})
            layout.push_back(value);
    }
    return layout;
}

class MainWindowTest : public GameWindowTest {
protected:
    // Every control's place and text, the client size and the status field
    // as the layout gives them at `dpi`.
    void expect_layout_at(int dpi) const;
    // The main window told it moved to a monitor of `to` DPI; the DPI taken.
    int change_dpi(int from, int to) const
    {
        const RECT r = suggested(main_window(), from, to);
        return main_window_dpi_changed(MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&r));
    }
    const int start = expected_dpi();
    const int other = start == 96 ? 144 : 96;
};

TEST_F(MainWindowTest, IsCentredOnTheScreenWithTheGivenClientSize)
{
    HWND w = main_window();
    ASSERT_NE(w, nullptr);
    RECT client, outer;
    GetClientRect(w, &client);
    GetWindowRect(w, &outer);
    EXPECT_EQ(client.right, scaled(255));
    EXPECT_EQ(client.bottom, scaled(192));
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    EXPECT_EQ(text_of(w), "Flinchmeter");
    EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU);
}

void MainWindowTest::expect_layout_at(int dpi) const
{
    const auto scaled = [dpi](int figure) { return MulDiv(figure, dpi, 96); };
    HWND w = main_window();
    struct Expected {
        ObjectNumber number;
        const char* class_name;
        Placement at;
        const char* text;
    };
    // The spin's arrows take half its height off the right of its width.
    const int arrows_width = scaled(20) / 2;
    const Expected expected[] = {
        {CTRL_DELAY_SPIN,
         "Edit",
         {scaled(170), scaled(25), scaled(55) - arrows_width, scaled(20)},
         "10"},
        {CTRL_START_BUTTON,
         "Button",
         {scaled(85), scaled(75), scaled(80), scaled(20)},
         "Start Timer"},
        {CTRL_DELAY_CAPTION,
         "Static",
         {scaled(35), scaled(30), scaled(125), scaled(25)},
         "Random Delay Maximum"},
        {CTRL_READOUT, "Static", {scaled(15), scaled(125), scaled(100), scaled(35)}, "0.000"},
        {CTRL_UNITS, "Static", {scaled(125), scaled(125), scaled(125), scaled(35)}, "Seconds"},
    };
    for (const Expected& e : expected) {
        HWND c = control(e.number);
        ASSERT_NE(c, nullptr) << e.number;
        EXPECT_EQ(_stricmp(class_of(c).c_str(), e.class_name), 0) << class_of(c);
        const Placement p = placement_in(w, c);
        Placement at = e.at;
        // Where the display's font outgrows the caption, it widens about its
        // centre (under Wine at 120 DPI).
        const int text = e.number == CTRL_DELAY_CAPTION ? text_size(c, e.text).cx : 0;
        if (text > at.width) {
            at.x -= (text - at.width + 1) / 2;
            at.width = text;
        }
        EXPECT_EQ(p.x, at.x) << e.text;
        EXPECT_EQ(p.y, at.y) << e.text;
        EXPECT_EQ(p.width, at.width) << e.text;
        EXPECT_EQ(p.height, at.height) << e.text;
        EXPECT_EQ(text_of(c), e.text);
    }
    const Placement arrows = placement_in(w, control_lookup(CTRL_DELAY_SPIN)->buddy);
    EXPECT_EQ(arrows.x, scaled(170) + scaled(55) - arrows_width);
    EXPECT_EQ(arrows.width, arrows_width);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, scaled(255));
    EXPECT_EQ(client.bottom, scaled(192));
    int edges[4] = {};
    EXPECT_EQ(SendMessageA(status_bar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 1);
    EXPECT_EQ(edges[0], scaled(250));
}

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThemWithTheirTexts)
{
    expect_layout_at(expected_dpi());
    EXPECT_EQ(GetWindowLongPtrA(control(CTRL_DELAY_CAPTION), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

// Moved to a monitor of another DPI and back: laid out as a start at that
// DPI would be, then exactly as before, with the stock fonts back. Any
// program can send the message: one that does not hold up changes nothing.
TEST_F(MainWindowTest, ADpiChangeLaysItOutAsAStartThereWouldAndBackUnlessItDoesNotHoldUp)
{
    const std::vector<LONG_PTR> before = layout_of(main_window());
    const RECT good = suggested(main_window(), start, other);
    RECT nowhere = good, wide = good;
    OffsetRect(&nowhere, -30000, -30000);
    wide.right += 40;
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    const struct {
        const char* what;
        WPARAM wparam;
        const void* rect;
    } bad[] = {
        {"no DPI", 0, &good},
        {"two different DPIs", MAKEWPARAM(other, start), &good},
        {"an unreadable rectangle", MAKEWPARAM(other, other), unreadable},
        {"a rectangle on no monitor", MAKEWPARAM(other, other), &nowhere},
        {"a rectangle too wide", MAKEWPARAM(other, other), &wide},
    };
    for (const auto& row : bad) {
        EXPECT_EQ(main_window_dpi_changed(row.wparam, reinterpret_cast<LPARAM>(row.rect)), 0)
            << row.what;
        EXPECT_EQ(layout_of(main_window()), before) << row.what;
    }
    VirtualFree(unreadable, 0, MEM_RELEASE);

    const HWND fonts[] = {control(CTRL_READOUT),       control(CTRL_UNITS),
                          control(CTRL_DELAY_SPIN),    control(CTRL_START_BUTTON),
                          control(CTRL_DELAY_CAPTION), status_bar()};
    int heights[6];
    for (int i = 0; i < 6; ++i)
        heights[i] = height_of(fonts[i]);
    ASSERT_EQ(change_dpi(start, other), other);
    expect_layout_at(other);
    // The read-out's font is made in points, as at start-up; the system's
    // own fonts (GUI, status) have their heights scaled.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(height_of(fonts[i]),
                  i < 2 ? MulDiv(20, other, 72) : MulDiv(heights[i], other, start))
            << text_of(fonts[i]);
    ASSERT_EQ(change_dpi(other, start), start);
    EXPECT_EQ(layout_of(main_window()), before);
}

TEST_F(MainWindowTest, TheResultsWindowFollowsADpiChangeAndComesBackAsBefore)
{
    results_window_show();
    HWND results = window_handle(WINDOW_RESULTS);
    ASSERT_NE(results, nullptr);
    const std::vector<LONG_PTR> before = layout_of(results);
    const int font = height_of(control(CTRL_RESULTS_COPY));
    const auto change = [results](int from, int to) {
        const RECT r = suggested(results, from, to);
        SendMessageA(results, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&r));
    };
    change(start, other);
    const auto at = [this](int figure) { return MulDiv(figure, other, 96); };
    RECT client{};
    GetClientRect(results, &client);
    const Placement copy = placement_in(results, control(CTRL_RESULTS_COPY));
    EXPECT_EQ((std::vector<int>{client.right, client.bottom, copy.x, copy.y, copy.width,
                                copy.height, height_of(control(CTRL_RESULTS_COPY))}),
              (std::vector<int>{at(320), at(336), at(235), at(303), at(75), at(23),
                                MulDiv(font, other, start)}));
    change(other, start);
    EXPECT_EQ(layout_of(results), before);
}

TEST_F(MainWindowTest, SpinRunsFromOneToSixtyAndStartsAtTen)
{
    EXPECT_EQ(control_get_state(CTRL_DELAY_SPIN), 10);
    const LRESULT range = SendMessageA(control_lookup(CTRL_DELAY_SPIN)->buddy, UDM_GETRANGE, 0, 0);
    EXPECT_EQ(HIWORD(range), 1);
    EXPECT_EQ(LOWORD(range), 60);
}

TEST_F(MainWindowTest, ReadoutLabelsUseTheLargeFontAndTheRestTheDefault)
{
    ASSERT_NE(readout_font, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control(CTRL_READOUT), WM_GETFONT, 0, 0)),
              readout_font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control(CTRL_UNITS), WM_GETFONT, 0, 0)),
              readout_font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control(CTRL_START_BUTTON), WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf;
    ASSERT_TRUE(GetObjectA(readout_font, sizeof lf, &lf));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -MulDiv(20, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ(lf.lfFaceName, "Lucida Console");
}

TEST_F(MainWindowTest, StatusBarHasOneFieldWithTheFirstInstruction)
{
    HWND bar = status_bar();
    ASSERT_NE(bar, nullptr);
    int edges[4] = {};
    EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 1);
    EXPECT_EQ(edges[0], scaled(250));
    EXPECT_EQ(status(), "Click on the Start Timer button.");
}

}  // namespace

namespace {

// Refuses to create the game's main window, as a system out of resources would.
LRESULT CALLBACK refuse_main_window(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HCBT_CREATEWND) {
        const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs->lpszClass;
        if (HIWORD(reinterpret_cast<UINT_PTR>(name)) && strcmp(name, "WindowClass_0") == 0)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST(MainWindowFailureTest, WithoutAWindowBuildingReportsFailureAndMakesNoControls)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, refuse_main_window, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    EXPECT_FALSE(build_main_window(nullptr));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(window_handle(WINDOW_MAIN), nullptr);
    EXPECT_EQ(control_lookup(CTRL_DELAY_SPIN), nullptr);
    EXPECT_EQ(control_lookup(CTRL_START_BUTTON), nullptr);
}

}  // namespace
