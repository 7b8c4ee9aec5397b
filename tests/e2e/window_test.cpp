// The main window as the user first sees it, the spin and the keyboard focus.
#include "tests/e2e/e2e.h"
#include "tests/support/dpi.h"
#include "tests/support/input.h"

namespace {

struct Expected {
    const char* what;
    HWND GameControls::*field;
    const char* cls;
    int x, y, width, height;
    const char* text;  // null: not a fixed text
};

// Positions are in the main window's client area, at the display's DPI. The
// spin's arrows take half its height off the right of its width. The caption
// holds its text as laid out at 96 and 144 DPI; where the display's font
// outgrows it (Wine at 120 DPI) the game widens it, which only a test inside
// the game can measure.
const int ARROWS = scaled(20) / 2;
const Expected LAYOUT[] = {
    {"spin box", &GameControls::edit, "Edit", scaled(170), scaled(25), scaled(55) - ARROWS,
     scaled(20), "10"},
    {"spin arrows", &GameControls::arrows, "msctls_updown32", scaled(170) + scaled(55) - ARROWS,
     scaled(25), ARROWS, scaled(20), nullptr},
    {"start button", &GameControls::button, "Button", scaled(85), scaled(75), scaled(80),
     scaled(20), "Start Timer"},
    {"caption", &GameControls::caption, "Static", scaled(35), scaled(30), scaled(125), scaled(25),
     "Random Delay Maximum"},
    {"read-out", &GameControls::readout, "Static", scaled(15), scaled(125), scaled(100), scaled(35),
     "0.000"},
    {"units", &GameControls::units, "Static", scaled(125), scaled(125), scaled(125), scaled(35),
     "Seconds"},
};

bool same_class(const std::string& actual, const char* expected)
{
    return lstrcmpiA(actual.c_str(), expected) == 0;
}

}  // namespace

TEST_F(GameTest, WindowIsCentredWithA255By192ClientAreaAtTheDisplaysDpi)
{
    HWND w = game.window();
    EXPECT_EQ(text_of(w), "Flinchmeter");
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right - client.left, scaled(255));
    EXPECT_EQ(client.bottom - client.top, scaled(192));

    // Centred as a whole, frame included, with the halves cut toward zero.
    RECT outer{};
    GetWindowRect(w, &outer);
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(outer.left, (sw - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (sh - (outer.bottom - outer.top)) / 2);
    // It has a real frame: a caption with a close box.
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    POINT box{};
    EXPECT_TRUE(game.close_box(&box));
}

TEST_F(GameTest, AltF4EndsTheGameWithExitCodeZero)
{
    game.alt_f4();
    DWORD code = 1;
    ASSERT_TRUE(game.wait_exit(2000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(GameTest, EveryControlHasItsClassPlaceSizeAndText)
{
    const GameControls& c = game.controls();
    for (const Expected& e : LAYOUT) {
        SCOPED_TRACE(e.what);
        HWND h = c.*e.field;
        EXPECT_TRUE(same_class(class_of(h), e.cls)) << class_of(h);
        const RECT r = rect_in_parent(h);
        EXPECT_EQ(GetParent(h), game.window());
        EXPECT_EQ(r.left, e.x);
        EXPECT_EQ(r.top, e.y);
        EXPECT_EQ(r.right - r.left, e.width);
        EXPECT_EQ(r.bottom - r.top, e.height);
        if (e.text) {
            EXPECT_EQ(text_of(h), e.text);
        }
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_TRUE(IsWindowEnabled(h));
    }
    EXPECT_EQ(GetWindowLongA(c.caption, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    EXPECT_EQ(GetWindowLongA(c.readout, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
    EXPECT_EQ(GetWindowLongA(c.units, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
    EXPECT_EQ(GetWindowLongA(c.edit, GWL_STYLE) & ES_RIGHT, ES_RIGHT);
    EXPECT_EQ(GetParent(c.status), game.window());
    EXPECT_TRUE(same_class(class_of(c.status), "msctls_statusbar32"));
    EXPECT_EQ(c.children, 7) << "a child window too many";
    EXPECT_EQ(game.spin_position(), 10);
}

TEST_F(GameTest, StatusBarInvitesTheFirstClick)
{
    EXPECT_EQ(game.status(), status_says::READY);
    // It lies along the bottom of the client area.
    RECT client{};
    GetClientRect(game.window(), &client);
    const RECT bar = rect_in_parent(game.controls().status);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.left, client.left);
    EXPECT_GT(bar.top, scaled(160));
}

TEST_F(GameTest, SpinArrowsMoveTextAndStateTogether)
{
    ASSERT_TRUE(game.wait_spin(10, 1000));
    game.click_up_arrow();
    EXPECT_TRUE(game.wait_spin(11, 2000)) << game.spin_text() << " / " << game.spin_position();
    game.click_up_arrow();
    EXPECT_TRUE(game.wait_spin(12, 2000)) << game.spin_text() << " / " << game.spin_position();
    game.click_down_arrow();
    EXPECT_TRUE(game.wait_spin(11, 2000)) << game.spin_text() << " / " << game.spin_position();
}

TEST_F(GameTest, TypedValueBecomesTheStateAndTheArrowsGoOnFromIt)
{
    ASSERT_TRUE(game.type_delay_max(25)) << game.spin_text() << " / " << game.spin_position();
    game.click_up_arrow();
    EXPECT_TRUE(game.wait_spin(26, 2000)) << game.spin_text() << " / " << game.spin_position();
    // The arrows stop at the top of the range.
    ASSERT_TRUE(game.type_delay_max(60));
    game.click_up_arrow();
    Sleep(100);
    EXPECT_TRUE(game.wait_spin(60, 1000)) << game.spin_text() << " / " << game.spin_position();
}

TEST_F(GameTest, TabMovesTheFocusBetweenTheBoxAndTheButton)
{
    const GameControls& c = game.controls();
    game.click(c.edit);
    ASSERT_TRUE(game.wait_focus(c.edit));
    input_key(VK_TAB);
    EXPECT_TRUE(game.wait_focus(c.button));
    input_key(VK_TAB);
    EXPECT_TRUE(game.wait_focus(c.edit)) << "Tab on the last stop goes round to the first";
    input_key_with(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(game.wait_focus(c.button)) << "Shift+Tab on the first stop goes to the last";
    input_key_with(VK_SHIFT, VK_TAB);
    EXPECT_TRUE(game.wait_focus(c.edit));
    // The Tab went to the focus cycle, not into the box as text.
    EXPECT_EQ(game.spin_text(), "10");
}
