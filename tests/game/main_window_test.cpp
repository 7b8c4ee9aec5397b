// The main window as the game builds it.
#include <windows.h>
#include <commctrl.h>
#include <string.h>
#include "game/main_window.h"
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

using MainWindowTest = GameWindowTest;

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

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThemWithTheirTexts)
{
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
    EXPECT_EQ(GetWindowLongPtrA(control(CTRL_DELAY_CAPTION), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
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
