// Buttons and static texts.
#include "tests/ui/controls/fixture.h"
#include "ui/controls/button.h"
#include "ui/controls/text.h"

namespace {

using ButtonAndText = ControlsTest;

TEST_F(ButtonAndText, ClickGivesControlEventWithTypeZero)
{
    HWND button = reinterpret_cast<HWND>(create_button(1, 85, 75, 80, 20, "Start Timer"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(button, GWL_STYLE) & (0xFFFF0000 | BS_TYPEMASK),
              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON);
    drain_events();
    click(button, 40, 10);
    EXPECT_EQ(wait_control_event(1, [](LONG_PTR) { return true; }), BN_CLICKED);
}

TEST_F(ButtonAndText, CheckStateReadsBitZeroOnly)
{
    ASSERT_NE(create_button(1, 10, 10, 100, 20, "box", BS_AUTOCHECKBOX), 0);
    control_set_state(1, 5);
    EXPECT_EQ(control_get_state(1), 1);
    control_set_state(1, 0);
    EXPECT_EQ(control_get_state(1), 0);

    ASSERT_NE(create_button(2, 10, 40, 100, 20, "three", BS_AUTO3STATE), 0);
    SendMessageA(control_lookup(2)->handle, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(control_get_state(2), 0);

    ASSERT_NE(create_button(3, 10, 70, 100, 20, "push"), 0);
    control_set_state(3, 1);
    EXPECT_EQ(control_get_state(3), 0);
}

TEST_F(ButtonAndText, NullTextsAreEmpty)
{
    ASSERT_NE(create_button(1, 10, 10, 100, 20, nullptr), 0);
    ASSERT_NE(create_text(2, 10, 40, 100, 20, nullptr), 0);
    EXPECT_EQ(control_text(1), "");
    EXPECT_EQ(control_text(2), "");
}

TEST_F(ButtonAndText, TextFlagsCentreAndSink)
{
    HWND centred =
        reinterpret_cast<HWND>(create_text(2, 35, 30, 125, 25, "Random Delay Maximum", SS_CENTER));
    ASSERT_NE(centred, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(centred, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    EXPECT_FALSE(GetWindowLongPtrA(centred, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    HWND sunken = reinterpret_cast<HWND>(create_text(3, 35, 60, 125, 25, "x", TEXT_SUNKEN));
    EXPECT_TRUE(GetWindowLongPtrA(sunken, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(control_get_state(2), 0);
    EXPECT_EQ(control_set_state(2, 1), 0);
}

}  // namespace
