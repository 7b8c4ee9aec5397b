// The spin control: arrows and typing as a person gives them, the silent text
// update, its 16-bit state and range, its layout and its two windows.
#include "tests/ui/controls/fixture.h"
#include <commctrl.h>
#include "ui/controls/button.h"
#include "ui/controls/spin.h"

namespace {

class Spin : public ControlsTest {
protected:
    static constexpr ObjectNumber SPIN = 0;
    HWND edit = nullptr;
    Control* record = nullptr;

    void make_game_spin(ObjectNumber number = SPIN)
    {
        const LONG_PTR result = create_spin(number, 170, 25, 55, 20, 1, 60);
        ASSERT_NE(result, 0);
        record = control_lookup(number == ANY_NUMBER ? result : number);
        ASSERT_NE(record, nullptr);
        edit = record->handle;
        if (number != ANY_NUMBER) {
            EXPECT_EQ(reinterpret_cast<HWND>(result), edit);
        }
    }

    static bool is_arrow(LONG_PTR type) { return type == 1 || type == -1; }

    // Clicks the upper or lower half of the arrows.
    void click_arrow(bool up)
    {
        RECT r;
        GetClientRect(record->buddy, &r);
        click(record->buddy, r.right / 2, up ? r.bottom / 4 : (r.bottom * 3) / 4);
    }
};

TEST_F(Spin, UpArrowReportsPlusOneAfterTheMove)
{
    make_game_spin();
    control_set_state(SPIN, 10);
    drain_events();
    click_arrow(true);
    EXPECT_EQ(wait_control_event(SPIN, is_arrow), 1);
    EXPECT_EQ(control_get_state(SPIN), 11);
    click_arrow(false);
    EXPECT_EQ(wait_control_event(SPIN, is_arrow), -1);
    EXPECT_EQ(control_get_state(SPIN), 10);
    // The arrows do not write into the text by themselves.
    EXPECT_EQ(control_text(SPIN), "");
}

TEST_F(Spin, ArrowOfAnyNumberSpinNamesItsNumber)
{
    make_game_spin(ANY_NUMBER);
    const ObjectNumber n = reinterpret_cast<ObjectNumber>(record);
    control_set_state(n, 30);
    drain_events();
    click_arrow(false);
    EXPECT_EQ(wait_control_event(n, is_arrow), -1);
    EXPECT_EQ(control_get_state(n), 29);
}

TEST_F(Spin, ArrowKeysInTheTextBoxStepTheValue)
{
    make_game_spin();
    control_set_state(SPIN, 5);
    bring_to_front(window);
    SetFocus(edit);
    drain_events();
    input_key(VK_UP);
    EXPECT_EQ(wait_control_event(SPIN, is_arrow), 1);
    EXPECT_EQ(control_get_state(SPIN), 6);
}

TEST_F(Spin, TypingReportsEachChange)
{
    make_game_spin();
    bring_to_front(window);
    SetFocus(edit);
    drain_events();
    input_text("4");
    EXPECT_EQ(wait_control_event(SPIN, [](LONG_PTR t) { return t == EN_CHANGE; }), EN_CHANGE);
    input_text("2");
    EXPECT_EQ(wait_control_event(SPIN, [](LONG_PTR t) { return t == EN_CHANGE; }), EN_CHANGE);
    EXPECT_EQ(control_text(SPIN), "42");
}

TEST_F(Spin, SettingTheTextRaisesNoEventButKeepsQueuedOnes)
{
    make_game_spin();
    HWND button = reinterpret_cast<HWND>(create_button(1, 10, 10, 80, 20, "b"));
    drain_events();
    // The current event stays the one the caller was handling.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ASSERT_EQ(wait_event(), EVENT_CONTROL);
    EXPECT_NE(control_set_text(SPIN, "11"), 0);
    EXPECT_EQ(event_control(), 1);
    EXPECT_EQ(event_type(), BN_CLICKED);
    // A click on the button, and a close that queues a window event, both
    // waiting when the text is set: neither is lost.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_NE(control_set_text(SPIN, "10"), 0);
    EXPECT_EQ(control_text(SPIN), "10");

    bool closed = false;
    bool button_event = false;
    bool spin_event = false;
    for (int32_t code; (code = wait_event(0)) != 0 || events_queued();) {
        closed |= code == EVENT_CLOSE_WINDOW;
        button_event |= code == EVENT_CONTROL && event_control() == 1;
        spin_event |= code == EVENT_CONTROL && event_control() == SPIN;
    }
    EXPECT_TRUE(closed);
    EXPECT_TRUE(button_event);
    EXPECT_FALSE(spin_event);
}

// Typing that waits in the queue while the program sets the text (after an
// arrow click, say) is still reported, so that the state can follow it.
TEST_F(Spin, TypingWaitingWhileTheTextIsSetIsReported)
{
    make_game_spin();
    bring_to_front(window);
    SetFocus(edit);
    drain_events();
    input_text("7");
    ASSERT_NE(MsgWaitForMultipleObjectsEx(0, nullptr, 2000, QS_KEY, MWMO_INPUTAVAILABLE),
              static_cast<DWORD>(WAIT_TIMEOUT))
        << "the key press never reached the queue";
    EXPECT_NE(control_set_text(SPIN, "10"), 0);
    EXPECT_EQ(wait_control_event(SPIN, [](LONG_PTR t) { return t == EN_CHANGE; }), EN_CHANGE);
    const std::string text = control_text(SPIN);
    EXPECT_EQ(text.size(), 3u) << text;
    EXPECT_NE(text.find('7'), std::string::npos) << text;
}

TEST_F(Spin, StateAndTextAreIndependent)
{
    make_game_spin();
    control_set_text(SPIN, "7");
    control_set_state(SPIN, 10);
    EXPECT_EQ(control_get_state(SPIN), 10);
    EXPECT_EQ(control_text(SPIN), "7");
}

TEST_F(Spin, NegativeValuesReadBackAsSixteenBitPatterns)
{
    ASSERT_NE(create_spin(SPIN, 10, 10, 55, 20, -100, -1), 0);
    record = control_lookup(SPIN);
    control_set_state(SPIN, -1);
    EXPECT_EQ(control_get_state(SPIN), 65535);
    control_set_state(SPIN, -100);
    EXPECT_EQ(control_get_state(SPIN), 65436);
    EXPECT_EQ(record->kind->get_attribute(record, SPIN_ATTRIBUTE_MINIMUM), 65436);
    EXPECT_EQ(record->kind->get_attribute(record, SPIN_ATTRIBUTE_MAXIMUM), 65535);
    EXPECT_EQ(record->kind->get_attribute(record, 3), 0);
}

TEST_F(Spin, EachLimitChangesAlone)
{
    make_game_spin();
    record->kind->set_attribute(record, SPIN_ATTRIBUTE_MINIMUM, 5);
    EXPECT_EQ(record->kind->get_attribute(record, SPIN_ATTRIBUTE_MINIMUM), 5);
    EXPECT_EQ(record->kind->get_attribute(record, SPIN_ATTRIBUTE_MAXIMUM), 60);
    record->kind->set_attribute(record, SPIN_ATTRIBUTE_MAXIMUM, 99);
    EXPECT_EQ(record->kind->get_attribute(record, SPIN_ATTRIBUTE_MINIMUM), 5);
    EXPECT_EQ(record->kind->get_attribute(record, SPIN_ATTRIBUTE_MAXIMUM), 99);
}

TEST_F(Spin, ArrowsTakeHalfTheHeightAtTheRightEnd)
{
    make_game_spin();
    const RECT box = placement(edit);
    const RECT arrows = placement(record->buddy);
    EXPECT_EQ(box.left, 170);
    EXPECT_EQ(box.top, 25);
    EXPECT_EQ(box.right - box.left, 45);
    EXPECT_EQ(box.bottom - box.top, 20);
    EXPECT_EQ(arrows.left, 215);
    EXPECT_EQ(arrows.top, 25);
    EXPECT_EQ(arrows.right - arrows.left, 10);
    EXPECT_EQ(arrows.bottom - arrows.top, 20);
    EXPECT_EQ(record->kind->get_width(record), 55);
}

TEST_F(Spin, OddHeightTruncatesTheHalf)
{
    ASSERT_NE(create_spin(SPIN, 170, 25, 55, 21, 1, 60), 0);
    record = control_lookup(SPIN);
    const RECT box = placement(record->handle);
    const RECT arrows = placement(record->buddy);
    EXPECT_EQ(box.right - box.left, 45);
    EXPECT_EQ(box.bottom - box.top, 21);
    EXPECT_EQ(arrows.left, 215);
    EXPECT_EQ(arrows.right - arrows.left, 10);
    EXPECT_EQ(arrows.bottom - arrows.top, 21);
    EXPECT_EQ(record->kind->get_width(record), 55);
}

TEST_F(Spin, ResizeKeepsWhatIsNotGiven)
{
    make_game_spin();
    const ControlKind* kind = record->kind;
    kind->resize(record, COORD_IGNORE, COORD_IGNORE, COORD_IGNORE, COORD_IGNORE);
    RECT box = placement(edit);
    RECT arrows = placement(record->buddy);
    EXPECT_EQ(box.left, 170);
    EXPECT_EQ(box.right - box.left, 45);
    EXPECT_EQ(arrows.left, 215);
    EXPECT_EQ(arrows.right - arrows.left, 10);

    // A new height only: the box keeps its width, the arrows widen.
    kind->resize(record, COORD_IGNORE, COORD_IGNORE, COORD_IGNORE, 30);
    box = placement(edit);
    arrows = placement(record->buddy);
    EXPECT_EQ(box.left, 170);
    EXPECT_EQ(box.top, 25);
    EXPECT_EQ(box.right - box.left, 45);
    EXPECT_EQ(box.bottom - box.top, 30);
    EXPECT_EQ(arrows.left, 215);
    EXPECT_EQ(arrows.right - arrows.left, 15);

    kind->resize(record, 20, 40, COORD_IGNORE, COORD_IGNORE);
    box = placement(edit);
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.top, 40);
    EXPECT_EQ(box.right - box.left, 45);
}

TEST_F(Spin, HideActsOnBothWindows)
{
    make_game_spin();
    record->kind->hide(record, 1);
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_FALSE(IsWindowVisible(record->buddy));
    record->kind->hide(record, 0);
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_TRUE(IsWindowVisible(record->buddy));
}

TEST_F(Spin, BothWindowsCarryTheNumber)
{
    make_game_spin(3);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_ID), 3);
    EXPECT_EQ(GetWindowLongPtrA(record->buddy, GWLP_ID), 3);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(GetPropA(record->buddy, CONTROL_ID_PROP)), 3);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(record->buddy, UDM_GETBUDDY, 0, 0)), edit);
    EXPECT_EQ(record->kind->kind_id, KIND_SPIN);
}

TEST_F(Spin, ReusedNumberDestroysBothOldWindows)
{
    make_game_spin(3);
    const HWND old_edit = edit;
    const HWND old_arrows = record->buddy;
    make_game_spin(3);
    EXPECT_FALSE(IsWindow(old_edit));
    EXPECT_FALSE(IsWindow(old_arrows));
    ASSERT_NE(edit, old_edit);
    EXPECT_TRUE(IsWindow(record->buddy));
    // The new control works, so its record survived the old one's teardown.
    control_set_state(3, 42);
    EXPECT_EQ(control_get_state(3), 42);
}

TEST_F(Spin, DestroyingTheTextBoxTakesTheArrowsAlong)
{
    make_game_spin();
    const HWND arrows = record->buddy;
    DestroyWindow(edit);
    EXPECT_FALSE(IsWindow(arrows));
    EXPECT_EQ(control_lookup(SPIN), nullptr);
}

TEST_F(Spin, AnyNumberSpinWorksWithEveryGenericOperation)
{
    make_game_spin(ANY_NUMBER);
    const ObjectNumber n = reinterpret_cast<ObjectNumber>(record);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_ID), n);
    EXPECT_EQ(GetWindowLongPtrA(record->buddy, GWLP_ID), n);
    control_set_state(n, 12);
    EXPECT_EQ(control_get_state(n), 12);
    control_set_text(n, "12");
    EXPECT_EQ(control_text(n), "12");
    control_disable(n, 1);
    EXPECT_FALSE(IsWindowEnabled(edit));
    control_disable(n, 0);
    HFONT fixed = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    control_set_font(n, reinterpret_cast<LONG_PTR>(fixed));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), fixed);
}

TEST_F(Spin, DisableTouchesOnlyTheTextBox)
{
    make_game_spin();
    control_disable(SPIN, 1);
    EXPECT_FALSE(IsWindowEnabled(edit));
    EXPECT_TRUE(IsWindowEnabled(record->buddy));
    control_disable(SPIN, 0);
    EXPECT_TRUE(IsWindowEnabled(edit));
}

TEST_F(Spin, DisabledTextBoxIsPaintedWhileItsWindowIsEnabled)
{
    make_game_spin();
    HDC dc = CreateCompatibleDC(nullptr);
    const auto colour_static = [&] {
        return SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(edit));
    };
    const LRESULT highlight = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    SetTextColor(dc, RGB(1, 1, 1));
    EXPECT_EQ(colour_static(), highlight);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNHIGHLIGHT));

    EnableWindow(window, FALSE);
    EXPECT_NE(colour_static(), highlight);
    EnableWindow(window, TRUE);

    record->kind->set_colour(record, COLOUR_TYPE_BACK, RGB(7, 8, 9));
    EXPECT_EQ(colour_static(), reinterpret_cast<LRESULT>(record->back_brush));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(edit)),
              reinterpret_cast<LRESULT>(record->back_brush));
    EXPECT_EQ(GetBkColor(dc), RGB(7, 8, 9));
    DeleteDC(dc);
}

TEST_F(Spin, TextColourAloneUsesTheHighlightBackground)
{
    make_game_spin();
    HDC dc = CreateCompatibleDC(nullptr);
    record->kind->set_colour(record, COLOUR_TYPE_TEXT, RGB(90, 0, 0));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(edit)),
              reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(GetTextColor(dc), RGB(90, 0, 0));
    DeleteDC(dc);
}

TEST_F(Spin, ScrollMessagesFromTheArrowsAreSwallowed)
{
    make_game_spin();
    EXPECT_EQ(route_to_control(record->buddy, window, WM_VSCROLL, SB_THUMBPOSITION,
                               reinterpret_cast<LPARAM>(record->buddy)),
              0);
    EXPECT_EQ(route_to_control(edit, window, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
                               reinterpret_cast<LPARAM>(edit)),
              NOT_HANDLED);
}

TEST_F(Spin, ReadOnlyAndBuddyIntegerFlags)
{
    ASSERT_NE(create_spin(SPIN, 10, 10, 55, 20, 0, 9, SPIN_READ_ONLY | SPIN_SET_BUDDY_INT), 0);
    record = control_lookup(SPIN);
    EXPECT_TRUE(GetWindowLongPtrA(record->handle, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongPtrA(record->buddy, GWL_STYLE) & UDS_SETBUDDYINT);
    control_set_state(SPIN, 4);
    EXPECT_EQ(control_text(SPIN), "4");
}

}  // namespace
