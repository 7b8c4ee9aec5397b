// Tab and Shift+Tab in a numbered window, pressed on the real keyboard and
// handled by wait_event.
#include <gtest/gtest.h>
#include <richedit.h>
#include "tests/ui/windows/focus_sizing_input.h"
#include "ui/windows/events.h"
#include "ui/windows/focus.h"
#include "ui/windows/window.h"

namespace {

constexpr ObjectNumber FOCUS_WINDOW = 20;

class FocusCycle : public testing::Test {
protected:
    void SetUp() override
    {
        window = reinterpret_cast<HWND>(open_window(FOCUS_WINDOW, 100, 100, 400, 400, "Focus"));
        ASSERT_NE(nullptr, window);
    }

    void TearDown() override { close_window(FOCUS_WINDOW); }

    // A child of `parent` (the test window by default), placed below the last.
    HWND add(const char* class_name, DWORD style, HWND parent = nullptr)
    {
        next_y += 22;
        return CreateWindowExA(0, class_name, "", WS_CHILD | WS_VISIBLE | style, 10, next_y, 120,
                               20, parent ? parent : window, reinterpret_cast<HMENU>(next_id++),
                               GetModuleHandleA(nullptr), nullptr);
    }
    HWND add_button(DWORD style = WS_TABSTOP, HWND parent = nullptr)
    {
        return add("Button", style, parent);
    }

    void show()
    {
        ASSERT_TRUE(make_foreground(window));
        drain_events();  // the activation's own event
    }

    // Tab (or Shift+Tab) on the keyboard, until its release has come through.
    void press_tab(bool shift = false)
    {
        tap_key(VK_TAB, shift);
        ASSERT_TRUE(wait_for_key_up(shift ? VK_SHIFT : VK_TAB));
    }

    void focus(HWND target)
    {
        SetFocus(target);
        ASSERT_EQ(target, GetFocus());
    }

    HWND window = nullptr;
    int next_y = 0;
    int next_id = 100;
};

// Tab stops a, b, c among children that must be passed over: disabled,
// hidden, and without WS_TABSTOP, at both ends and between.
class FocusAmongMixedChildren : public FocusCycle {
protected:
    void SetUp() override
    {
        FocusCycle::SetUp();
        add_button(WS_TABSTOP | WS_DISABLED);
        a = add_button();
        HWND hidden = add_button();
        ShowWindow(hidden, SW_HIDE);
        plain = add_button(0);
        add("Static", 0);
        b = add_button();
        add_button(WS_TABSTOP | WS_DISABLED);
        c = add_button();
        HWND hidden_last = add_button();
        ShowWindow(hidden_last, SW_HIDE);
        add_button(0);
        show();
    }

    HWND a = nullptr, b = nullptr, c = nullptr, plain = nullptr;
};

TEST_F(FocusAmongMixedChildren, TabVisitsOnlyTabStopsAndWrapsFromLastToFirst)
{
    focus(a);
    press_tab();
    EXPECT_EQ(b, GetFocus());
    press_tab();
    EXPECT_EQ(c, GetFocus());
    press_tab();
    EXPECT_EQ(a, GetFocus());
}

TEST_F(FocusAmongMixedChildren, ShiftTabVisitsThemBackwardAndWrapsFromFirstToLast)
{
    focus(c);
    press_tab(true);
    EXPECT_EQ(b, GetFocus());
    press_tab(true);
    EXPECT_EQ(a, GetFocus());
    press_tab(true);
    EXPECT_EQ(c, GetFocus());
}

TEST_F(FocusAmongMixedChildren, WithoutFocusTabPicksTheFirstAndShiftTabTheLast)
{
    SetFocus(nullptr);
    press_tab();
    EXPECT_EQ(a, GetFocus());
    SetFocus(nullptr);
    press_tab(true);
    EXPECT_EQ(c, GetFocus());
}

TEST_F(FocusAmongMixedChildren, OnAWindowThatIsNoTabStopTabStaysAndShiftTabPicksTheLast)
{
    focus(plain);
    press_tab();
    EXPECT_EQ(plain, GetFocus());
    press_tab(true);
    EXPECT_EQ(c, GetFocus());
}

TEST_F(FocusAmongMixedChildren, TheTabKeyYieldsNoEventOfItsOwn)
{
    focus(a);
    tap_key(VK_TAB);
    int down = 0, other = 0;
    ASSERT_TRUE(wait_events_until([&] { return GetFocus() == b && down; }, 5000,
                                  [&](int code) {
                                      if (code == WM_KEYDOWN && event_wparam() == VK_TAB)
                                          ++down;
                                      else if (code >= EVENT_CONTROL)
                                          ++other;
                                  }));
    EXPECT_EQ(1, down);
    EXPECT_EQ(0, other);
}

TEST_F(FocusCycle, AContainerWithoutTabStopsKeepsTheFocus)
{
    HWND plain = add_button(0);
    show();
    focus(plain);
    press_tab();
    EXPECT_EQ(plain, GetFocus());
    press_tab(true);
    EXPECT_EQ(plain, GetFocus());
}

TEST_F(FocusCycle, TheAcceleratorsAreTheNumberedWindowsOwn)
{
    const Window* record = static_cast<const Window*>(table_lookup(window_table(), FOCUS_WINDOW));
    ASSERT_NE(nullptr, record);
    ASSERT_NE(nullptr, record->accel_table);
    EXPECT_EQ(record->accel_table, accelerators_for(window));

    HWND stranger = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(nullptr, accelerators_for(stranger));
    EXPECT_EQ(nullptr, accelerators_for(nullptr));
    DestroyWindow(stranger);
    // A window that the numbered window owns, such as a message box, is none.
    HWND owned = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(nullptr, accelerators_for(owned));
    DestroyWindow(owned);
}

// Rich edit controls, and windows whose class merely looks like one.
class FocusWithRichEdit : public FocusCycle {
protected:
    static void SetUpTestSuite()
    {
        LoadLibraryA("riched20.dll");
        // Class names are case-insensitive, so the two differ after the
        // first four letters too.
        register_class("Richlike");
        register_class("RICHtext");
    }

    static void register_class(const char* name)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }

    void SetUp() override
    {
        FocusCycle::SetUp();
        a = add_button();
        rich = add("RichEdit20A", WS_TABSTOP | WS_BORDER | ES_MULTILINE);
        ASSERT_NE(nullptr, rich);
        b = add_button();
    }

    HWND a = nullptr, rich = nullptr, b = nullptr;
};

TEST_F(FocusWithRichEdit, AnEditableRichEditKeepsPlainTab)
{
    show();
    focus(rich);
    press_tab();
    EXPECT_EQ(rich, GetFocus());
    char text[16] = {};
    GetWindowTextA(rich, text, sizeof text);
    EXPECT_STREQ("\t", text);
}

TEST_F(FocusWithRichEdit, ShiftTabLeavesAnEditableRichEdit)
{
    show();
    focus(rich);
    press_tab(true);
    EXPECT_EQ(a, GetFocus());
}

TEST_F(FocusWithRichEdit, AReadOnlyRichEditPassesTabOn)
{
    SendMessageA(rich, EM_SETOPTIONS, ECOOP_OR, ECO_READONLY);
    ASSERT_TRUE(SendMessageA(rich, EM_GETOPTIONS, 0, 0) & ECO_READONLY);
    show();
    focus(rich);
    press_tab();
    EXPECT_EQ(b, GetFocus());
}

TEST_F(FocusWithRichEdit, OnlyTheExactLettersRichMarkARichEdit)
{
    HWND lookalike = add("Richlike", WS_TABSTOP);
    HWND capitals = add("RICHtext", WS_TABSTOP);
    HWND last = add_button();
    show();
    focus(lookalike);  // answers EM_GETOPTIONS with 0: editable
    press_tab();
    EXPECT_EQ(lookalike, GetFocus());
    focus(capitals);
    press_tab();
    EXPECT_EQ(last, GetFocus());
}

// Windows of class "MDI_ChildClass" hold the cycle inside them.
class FocusInMdiChild : public FocusCycle {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MDI_ChildClass";
        RegisterClassA(&wc);
    }

    HWND add_mdi_child(HWND parent = nullptr)
    {
        HWND child = add("MDI_ChildClass", 0, parent);
        MoveWindow(child, 140, next_y, 200, 150, FALSE);
        return child;
    }

    HWND add_inside(HWND parent, int index, DWORD style = WS_TABSTOP)
    {
        return CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | style, 5, 5 + 24 * index,
                               80, 20, parent, reinterpret_cast<HMENU>(next_id++),
                               GetModuleHandleA(nullptr), nullptr);
    }
};

TEST_F(FocusInMdiChild, TheCycleStaysInsideTheMdiChild)
{
    add_button();
    HWND mdi = add_mdi_child();
    HWND m1 = add_inside(mdi, 0);
    HWND m2 = add_inside(mdi, 1);
    add_button();
    show();

    focus(m2);
    press_tab();
    EXPECT_EQ(m1, GetFocus());
    press_tab(true);
    EXPECT_EQ(m2, GetFocus());
}

TEST_F(FocusInMdiChild, TabOnTheMdiChildItselfGoesToItsFirstTabStop)
{
    add_button();
    HWND mdi = add_mdi_child();
    HWND m1 = add_inside(mdi, 0);
    HWND m2 = add_inside(mdi, 1);
    add_button();
    show();

    focus(mdi);
    press_tab();
    EXPECT_EQ(m1, GetFocus());
    focus(mdi);
    press_tab(true);
    EXPECT_EQ(m2, GetFocus());
}

TEST_F(FocusInMdiChild, TheOutermostMdiChildIsTheContainer)
{
    HWND outer = add_mdi_child();
    HWND inner = CreateWindowExA(0, "MDI_ChildClass", "", WS_CHILD | WS_VISIBLE, 5, 5, 120, 60,
                                 outer, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND x = add_inside(inner, 0);
    HWND y = add_inside(outer, 3);
    add_button();
    show();

    focus(x);
    press_tab();
    EXPECT_EQ(y, GetFocus());
}

}  // namespace
