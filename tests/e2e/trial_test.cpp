// Reaction trials played through the real window: the press, the cheat, the
// slowcoach, and closing the game while a trial runs.
#include "tests/e2e/e2e.h"
#include <stdlib.h>
#include <vector>
#include "tests/support/input.h"

namespace {

double reading_of(const std::string& text)
{
    return atof(text.c_str());
}

// Waits until the read-out has shown the same text for `quiet_ms`.
std::string settled_readout(const Game& game, DWORD quiet_ms = 100)
{
    std::string last = game.readout();
    double since = now_ms();
    const double deadline = since + 3000;
    while (now_ms() - since < quiet_ms && now_ms() < deadline) {
        Sleep(5);
        const std::string now = game.readout();
        if (now != last) {
            last = now;
            since = now_ms();
        }
    }
    return last;
}

}  // namespace

TEST_F(GameTest, PressingSpaceAfterGoStopsTheReadout)
{
    const GameControls& c = game.controls();
    ASSERT_TRUE(game.type_delay_max(1));

    game.click_start();
    ASSERT_TRUE(game.wait_status(status_says::DELAY, 2000)) << game.status();
    const double delay_seen = now_ms();
    EXPECT_FALSE(IsWindowEnabled(c.button));
    EXPECT_FALSE(IsWindowEnabled(c.edit));
    EXPECT_TRUE(IsWindowEnabled(c.arrows)) << "the arrows are not part of the disabled spin";
    EXPECT_EQ(game.readout(), "0.000");
    EXPECT_EQ(text_of(c.units), "Seconds");

    // A maximum of 1 always gives a one-second delay.
    ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
    const double go_seen = now_ms();
    EXPECT_GT(go_seen - delay_seen, 900.0);
    EXPECT_LT(go_seen - delay_seen, 1600.0);

    // The read-out counts up in readings with three decimals.
    std::vector<std::string> shown;
    while (now_ms() - go_seen < 300) {
        const std::string text = game.readout();
        if (shown.empty() || text != shown.back())
            shown.push_back(text);
    }
    ASSERT_GE(shown.size(), 10u) << "the read-out barely moved";
    for (size_t i = 1; i < shown.size(); ++i) {
        EXPECT_TRUE(is_reading(shown[i])) << shown[i];
        EXPECT_GT(reading_of(shown[i]), reading_of(shown[i - 1]));
    }
    EXPECT_FALSE(IsWindowEnabled(c.button));

    const double pressed = now_ms();
    input_key_held(VK_SPACE, 60);
    ASSERT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
    const std::string final_text = settled_readout(game);
    ASSERT_TRUE(is_reading(final_text)) << final_text;
    const double final_ms = reading_of(final_text) * 1000.0;
    // The clock starts when the go text is shown, and the beep holds up
    // neither the clock nor the polling.
    EXPECT_LE(final_ms, pressed - go_seen + 20.0);
    EXPECT_GE(final_ms, pressed - go_seen - 10.0);
    EXPECT_TRUE(IsWindowEnabled(c.button));
    EXPECT_TRUE(IsWindowEnabled(c.edit));

    // Start resets the read-out before the next delay begins.
    game.click_start();
    ASSERT_TRUE(game.wait_status(status_says::DELAY, 2000)) << game.status();
    EXPECT_EQ(game.readout(), "0.000");
    EXPECT_FALSE(IsWindowEnabled(c.button));
    ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
    Sleep(100);
    input_key_held(VK_SPACE, 60);
    ASSERT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
    EXPECT_TRUE(IsWindowEnabled(c.button));
}

TEST_F(GameTest, SpaceHeldAcrossTheEndOfTheDelayIsACheat)
{
    const GameControls& c = game.controls();
    ASSERT_TRUE(game.type_delay_max(1));
    game.click_start();
    ASSERT_TRUE(game.wait_status(status_says::DELAY, 2000)) << game.status();
    Sleep(400);
    ASSERT_TRUE(game.hold_key_until_status(VK_SPACE, status_says::CHEAT, 3000)) << game.status();
    EXPECT_EQ(settled_readout(game), "0.000") << "a cheat gets no reading";
    EXPECT_TRUE(IsWindowEnabled(c.button));
    EXPECT_TRUE(IsWindowEnabled(c.edit));
    EXPECT_EQ(game.focus(), game.window());
    // Nothing else follows the cheat.
    Sleep(300);
    EXPECT_EQ(game.status(), status_says::CHEAT);
    EXPECT_EQ(game.readout(), "0.000");

    // A press let go before the delay ends is not noticed.
    game.click_start();
    ASSERT_TRUE(game.wait_status(status_says::DELAY, 2000)) << game.status();
    Sleep(300);
    input_key_held(VK_SPACE, 60);
    ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
    Sleep(50);
    input_key_held(VK_SPACE, 60);
    ASSERT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
}

TEST_F(GameTest, NoPressEndsAsASlowcoachJustAfterTenSeconds)
{
    const GameControls& c = game.controls();
    ASSERT_TRUE(game.type_delay_max(1));
    game.click_start();
    ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
    ASSERT_TRUE(game.wait_status(status_says::SLOW, 12000)) << game.status();
    const std::string final_text = settled_readout(game);
    ASSERT_TRUE(is_reading(final_text)) << final_text;
    EXPECT_GE(reading_of(final_text), 10.0);
    EXPECT_LT(reading_of(final_text), 10.1);
    EXPECT_TRUE(IsWindowEnabled(c.button));
    EXPECT_TRUE(IsWindowEnabled(c.edit));
    EXPECT_EQ(game.focus(), game.window());
}

// Keys pressed while no window has the focus go to the active window as
// system keys, and Windows answers each with the error sound: the focus is on
// the main window from the start of a trial on. Nothing gives it back to the
// button, where a Space still held from the press would start a trial.
TEST_F(GameTest, TheMainWindowHasTheFocusThroughTrialsStartedByClickOrByKey)
{
    const GameControls& c = game.controls();
    ASSERT_TRUE(game.type_delay_max(1));
    for (const bool by_key : {false, true}) {
        SCOPED_TRACE(by_key ? "started by Tab and Space" : "started by a click");
        if (by_key) {
            for (int tab = 0; tab < 3 && game.focus() != c.button; ++tab) {
                const HWND from = game.focus();
                input_key(VK_TAB);
                game.wait_focus_leaves(from);
            }
            ASSERT_EQ(game.focus(), c.button);
            input_key_held(VK_SPACE, 60);
        } else {
            game.click_start();
        }
        ASSERT_TRUE(game.wait_status(status_says::DELAY, 2000)) << game.status();
        EXPECT_EQ(game.focus(), game.window()) << "in the delay";
        ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
        EXPECT_EQ(game.focus(), game.window()) << "while timing";
        Sleep(50);
        // The press that ends the trial, held on for a second.
        input_key_held_repeating(VK_SPACE, 1000);
        Sleep(300);
        EXPECT_EQ(game.status(), status_says::AGAIN) << "the held Space started a trial";
        EXPECT_TRUE(IsWindowEnabled(c.button));
        EXPECT_EQ(game.focus(), game.window()) << "after the ending";
    }
}

// Told mid-trial that it moved to a monitor of 144 DPI and back, the game lays
// its window out anew while the read-out counts on, and the press still ends
// the trial.
TEST_F(GameTest, ADpiChangeMidTrialLaysTheWindowOutAnewAndTheTrialRunsOn)
{
    ASSERT_TRUE(game.type_delay_max(1));
    game.click_start();
    ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
    for (const int dpi : {144, 96}) {
        const double before = reading_of(game.readout());
        ASSERT_TRUE(game.change_dpi(240 - dpi, dpi));
        RECT client{};
        GetClientRect(game.window(), &client);
        EXPECT_EQ(client.right, MulDiv(255, dpi, 96)) << dpi;
        EXPECT_EQ(client.bottom, MulDiv(192, dpi, 96)) << dpi;
        Sleep(50);
        EXPECT_GT(reading_of(game.readout()), before) << "the read-out stopped at " << dpi;
    }
    input_key_held(VK_SPACE, 60);
    ASSERT_TRUE(game.wait_status(status_says::AGAIN, 2000)) << game.status();
    EXPECT_TRUE(is_reading(settled_readout(game)));
}

// Closing while a trial runs: the game ends at once with exit code 0, without
// waiting for the trial, however often it is done. Each round starts a fresh
// game and closes it at a different moment, by close box and Alt+F4 in turn.
class CloseDuringTrial : public testing::Test {
protected:
    static constexpr int ROUNDS = 10;

    void close_and_expect_clean_exit(Game& game, int round)
    {
        SCOPED_TRACE("round " + std::to_string(round));
        const double asked = now_ms();
        if (round % 2)
            game.alt_f4();
        else
            ASSERT_TRUE(game.click_close_box());
        DWORD code = 1;
        ASSERT_TRUE(game.wait_exit(2000, &code)) << "still running 2 s after the close";
        EXPECT_EQ(code, 0u);
        EXPECT_LT(now_ms() - asked, 2000.0);
    }
};

TEST_F(CloseDuringTrial, InTheDelay)
{
    for (int round = 0; round < ROUNDS; ++round) {
        Game game;
        ASSERT_TRUE(game.start(game_exe)) << game.error();
        game.to_front();
        ASSERT_TRUE(game.controls().complete());
        // The default maximum of 10 s leaves a delay of 1 to 10 s.
        game.click_start();
        ASSERT_TRUE(game.wait_status(status_says::DELAY, 2000)) << game.status();
        Sleep(static_cast<DWORD>(round * 60));
        ASSERT_EQ(game.status(), status_says::DELAY) << "the delay ended too soon for the test";
        close_and_expect_clean_exit(game, round);
    }
}

TEST_F(CloseDuringTrial, WhileTiming)
{
    for (int round = 0; round < ROUNDS; ++round) {
        Game game;
        ASSERT_TRUE(game.start(game_exe)) << game.error();
        game.to_front();
        ASSERT_TRUE(game.controls().complete());
        ASSERT_TRUE(game.type_delay_max(1));
        game.click_start();
        ASSERT_TRUE(game.wait_status(status_says::GO, 3000)) << game.status();
        // From the first readings to well into the count.
        Sleep(static_cast<DWORD>(round * round * 5));
        ASSERT_EQ(game.status(), status_says::GO);
        close_and_expect_clean_exit(game, round);
    }
}
