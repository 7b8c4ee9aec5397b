// Numbered windows: classes, properties, styles, placement and closing.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "runtime/module.h"
#include "tests/support/events.h"
#include "ui/windows/messages.h"
#include "ui/windows/window.h"
#include "ui/windows/windows_lifetime.h"

namespace {

// What CreateWindowExA was asked for, seen through a CBT hook on this thread.
struct CreateRequest {
    int x = 0, y = 0, cx = 0, cy = 0;
    LONG style = 0;
    std::string class_name;
};
CreateRequest last_create;
bool refuse_creation;  // the hook then makes CreateWindowExA fail

LRESULT CALLBACK record_creation(int code, WPARAM wparam, LPARAM lparam)
{
    const CREATESTRUCTA* cs =
        code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs : nullptr;
    // Only our own windows: the system makes helper windows of its own.
    if (cs && HIWORD(reinterpret_cast<UINT_PTR>(cs->lpszClass)) &&
        strncmp(cs->lpszClass, "WindowClass_", 12) == 0) {
        last_create.x = cs->x;
        last_create.y = cs->y;
        last_create.cx = cs->cx;
        last_create.cy = cs->cy;
        last_create.style = cs->style;
        last_create.class_name = cs->lpszClass;
        if (refuse_creation)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        hook = SetWindowsHookExA(WH_CBT, record_creation, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(hook);
        close_all_windows();
        drain_events();
    }
    HHOOK hook = nullptr;
};

// The game's style: a caption and a system menu.
constexpr LONG CAPTION_MENU = WS_CAPTION | WS_SYSMENU;

SIZE outer_size(int client_width, int client_height, DWORD style)
{
    RECT r = {0, 0, client_width, client_height};
    AdjustWindowRect(&r, style, FALSE);
    return {r.right - r.left, r.bottom - r.top};
}

bool class_registered(const char* name)
{
    WNDCLASSA wc;
    return GetClassInfoA(module_handle(), name, &wc) != 0;
}

TEST_F(WindowTest, OpensWithItsOwnClassPropertyAndClientSize)
{
    HWND h = reinterpret_cast<HWND>(open_window(3, 50, 60, 255, 192, "Flinchmeter"));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(window_handle(3), h);
    EXPECT_EQ(last_create.class_name, "WindowClass_3");
    EXPECT_EQ(GetPropA(h, "GK_WindowID"), reinterpret_cast<HANDLE>(4));
    char title[32] = {};
    GetWindowTextA(h, title, sizeof title);
    EXPECT_STREQ(title, "Flinchmeter");
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 255);
    EXPECT_EQ(client.bottom, 192);
    EXPECT_EQ(last_create.x, 50);
    EXPECT_EQ(last_create.y, 60);
    EXPECT_TRUE(IsWindowVisible(h));
    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(module_handle(), "WindowClass_3", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_NE(wc.hIcon, nullptr) << "icon 1 of the program";
}

TEST_F(WindowTest, ReopeningANumberReplacesTheOldWindowAndItsClass)
{
    HWND first = reinterpret_cast<HWND>(open_window(0, 10, 10, 100, 100, "one"));
    ASSERT_NE(first, nullptr);
    auto* record = static_cast<Window*>(table_lookup(window_table(), 0));
    ASSERT_NE(record, nullptr);
    HACCEL old_accelerators = record->accel_table;

    HWND second = reinterpret_cast<HWND>(open_window(0, 10, 10, 100, 100, "two"));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(window_handle(0), second);
    EXPECT_EQ(CopyAcceleratorTableA(old_accelerators, nullptr, 0), 0) << "old table destroyed";
    record = static_cast<Window*>(table_lookup(window_table(), 0));
    EXPECT_EQ(CopyAcceleratorTableA(record->accel_table, nullptr, 0), 2);

    close_window(0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(window_handle(0), nullptr);
    EXPECT_FALSE(class_registered("WindowClass_0"));
}

TEST_F(WindowTest, AcceleratorsMapTabAndShiftTabToTheFocusCommands)
{
    open_window(1, 0, 0, 100, 100, "acc");
    auto* record = static_cast<Window*>(table_lookup(window_table(), 1));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->accel_count, 2);
    ACCEL entries[2];
    ASSERT_EQ(CopyAcceleratorTableA(record->accel_table, entries, 2), 2);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FNOINVERT);
    EXPECT_EQ(entries[0].key, VK_TAB);
    EXPECT_EQ(entries[0].cmd, CMD_FOCUS_NEXT);
    EXPECT_EQ(entries[1].fVirt, FVIRTKEY | FNOINVERT | FSHIFT);
    EXPECT_EQ(entries[1].cmd, CMD_FOCUS_PREV);
    EXPECT_EQ(record->back_colour, -1);
}

TEST_F(WindowTest, GameFlagsCentreOnTheScreenWithCaptionAndSystemMenu)
{
    HWND h = reinterpret_cast<HWND>(
        open_window(0, 410, 283, 255, 192, "Flinchmeter",
                    CAPTION_MENU | WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(last_create.style, CAPTION_MENU);
    const SIZE outer = outer_size(255, 192, CAPTION_MENU);
    EXPECT_EQ(last_create.cx, outer.cx);
    EXPECT_EQ(last_create.x, (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2);
    EXPECT_EQ(last_create.y, (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2);
}

TEST_F(WindowTest, WindowLargerThanTheScreenIsShrunkToItAtTheOrigin)
{
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_NE(open_window(2, 5, 5, sw + 300, sh + 200, "big", CAPTION_MENU | WINDOW_CENTER_SCREEN),
              0);
    EXPECT_EQ(last_create.x, 0);
    EXPECT_EQ(last_create.y, 0);
    EXPECT_EQ(last_create.cx, sw);
    EXPECT_EQ(last_create.cy, sh);
}

TEST_F(WindowTest, CentringOnAParentClampsToZeroButNotOnTheFarSide)
{
    HWND small = reinterpret_cast<HWND>(open_window(4, 0, 0, 40, 30, "small", CAPTION_MENU));
    ASSERT_NE(small, nullptr);
    SetWindowPos(small, nullptr, 10, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_NE(
        open_window(5, 700, 700, 300, 200, "child", CAPTION_MENU | WINDOW_CENTER_PARENT, small), 0);
    EXPECT_EQ(last_create.x, 0);
    EXPECT_EQ(last_create.y, 0);

    RECT pr;
    SetWindowPos(small, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(small, &pr);
    const SIZE outer = outer_size(20, 10, CAPTION_MENU);
    ASSERT_NE(open_window(6, 0, 0, 20, 10, "tiny", CAPTION_MENU | WINDOW_CENTER_PARENT, small), 0);
    EXPECT_EQ(last_create.x, pr.left + ((pr.right - pr.left) - outer.cx) / 2);
    EXPECT_EQ(last_create.y, pr.top + ((pr.bottom - pr.top) - outer.cy) / 2);
}

TEST_F(WindowTest, CentringOnTheParentWithoutOneUsesTheActiveWindow)
{
    HWND active = reinterpret_cast<HWND>(open_window(7, 100, 100, 400, 300, "active"));
    SetActiveWindow(active);
    ASSERT_EQ(GetActiveWindow(), active);
    RECT ar;
    GetWindowRect(active, &ar);
    const SIZE outer = outer_size(100, 50, CAPTION_MENU);
    ASSERT_NE(open_window(8, 0, 0, 100, 50, "popup", CAPTION_MENU | WINDOW_CENTER_PARENT), 0);
    EXPECT_EQ(last_create.x, ar.left + ((ar.right - ar.left) - outer.cx) / 2);
}

TEST_F(WindowTest, IgnoredCoordinateGivesTheSystemDefaultPosition)
{
    // The system picks the place: neither the given coordinate nor the
    // placeholder survives.
    HWND h = reinterpret_cast<HWND>(open_window(9, COORD_IGNORE, 100, 50, 50, "default"));
    ASSERT_NE(h, nullptr);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_GT(r.left, COORD_IGNORE + 1000);
    EXPECT_NE(r.top, 100);
    h = reinterpret_cast<HWND>(open_window(16, 100, COORD_IGNORE, 50, 50, "default"));
    ASSERT_NE(h, nullptr);
    GetWindowRect(h, &r);
    EXPECT_NE(r.left, 100);
    EXPECT_GT(r.top, COORD_IGNORE + 1000);
    // With a centring bit the coordinates are the centring's business.
    ASSERT_NE(open_window(10, COORD_IGNORE, COORD_IGNORE, 50, 50, "centred",
                          CAPTION_MENU | WINDOW_CENTER_SCREEN),
              0);
    EXPECT_NE(last_create.x, CW_USEDEFAULT);
}

TEST_F(WindowTest, FlagsWithoutStyleBitsGetACaption)
{
    HWND plain = reinterpret_cast<HWND>(open_window(11, 0, 0, 50, 50, nullptr, 0));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(last_create.style, WS_CAPTION);
    char title[8] = "x";
    GetWindowTextA(plain, title, sizeof title);
    EXPECT_STREQ(title, "") << "a null title is the empty text";

    HWND hidden = reinterpret_cast<HWND>(open_window(12, 0, 0, 50, 50, "hidden", WINDOW_INVISIBLE));
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(last_create.style, WS_CAPTION);
    EXPECT_FALSE(IsWindowVisible(hidden));

    open_window(13, 0, 0, 50, 50, "popup", WS_POPUP | WS_BORDER);
    EXPECT_EQ(last_create.style, static_cast<LONG>(WS_POPUP | WS_BORDER)) << "no caption added";
}

TEST_F(WindowTest, AnyNumberHandsOutTheRecordAddress)
{
    const LONG_PTR number = open_window(ANY_NUMBER, 0, 0, 80, 60, "dynamic");
    ASSERT_NE(number, 0);
    HWND h = window_handle(number);
    ASSERT_NE(h, nullptr);
    EXPECT_NE(reinterpret_cast<LONG_PTR>(h), number);
    EXPECT_EQ(table_lookup(window_table(), number), reinterpret_cast<void*>(number));
    EXPECT_EQ(last_create.class_name, "WindowClass_" + std::to_string(number));
    EXPECT_EQ(GetPropA(h, "GK_WindowID"), reinterpret_cast<HANDLE>(number + 1));
    close_window(number);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(window_handle(number), nullptr);
}

TEST_F(WindowTest, AWindowThatCannotBeMadeLeavesNothingBehind)
{
    refuse_creation = true;
    const LONG_PTR numbered = open_window(5, 0, 0, 50, 50, "refused");
    const LONG_PTR handed_out = open_window(ANY_NUMBER, 0, 0, 50, 50, "refused");
    refuse_creation = false;
    EXPECT_EQ(numbered, 0);
    EXPECT_EQ(handed_out, 0);
    EXPECT_FALSE(class_registered("WindowClass_5"));
    EXPECT_FALSE(class_registered(last_create.class_name.c_str())) << "the handed-out one's";
    ObjectNumber left;
    table_walk_begin(window_table());
    EXPECT_EQ(table_walk_next(window_table(), &left), nullptr) << "its record is given back";
}

TEST_F(WindowTest, ClosingANumberThatWasNeverOpenedDoesNothing)
{
    HWND h = reinterpret_cast<HWND>(open_window(14, 0, 0, 50, 50, "stays"));
    close_window(15);
    close_window(-7);
    close_window(reinterpret_cast<ObjectNumber>(&h));
    EXPECT_TRUE(IsWindow(h));
    EXPECT_EQ(window_handle(reinterpret_cast<ObjectNumber>(&h)), nullptr);
}

TEST_F(WindowTest, CloseAllWindowsClosesNumberedAndHandedOutWindows)
{
    HWND a = reinterpret_cast<HWND>(open_window(0, 0, 0, 50, 50, "a"));
    const LONG_PTR n = open_window(ANY_NUMBER, 0, 0, 50, 50, "b");
    HWND b = window_handle(n);
    HWND c = reinterpret_cast<HWND>(open_window(20, 0, 0, 50, 50, "c"));
    close_all_windows();
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
    EXPECT_FALSE(IsWindow(c));
    ObjectNumber left;
    table_walk_begin(window_table());
    EXPECT_EQ(table_walk_next(window_table(), &left), nullptr);
}

TEST_F(WindowTest, FindNumberedWindowClimbsToTheNumberedAncestor)
{
    HWND top = reinterpret_cast<HWND>(open_window(0, 0, 0, 200, 200, "top"));
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, top, nullptr,
                                 module_handle(), nullptr);
    HWND grandchild = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, child, nullptr,
                                      module_handle(), nullptr);
    EXPECT_EQ(find_numbered_window(grandchild), top);
    EXPECT_EQ(find_numbered_window(top), top);
    EXPECT_EQ(window_number_of(grandchild), 0);

    HWND loose = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 module_handle(), nullptr);
    HWND inner = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, loose, nullptr,
                                 module_handle(), nullptr);
    EXPECT_EQ(find_numbered_window(inner), loose) << "topmost ancestor without a number";
    EXPECT_EQ(window_number_of(inner), -1);
    DestroyWindow(loose);
}

}  // namespace
