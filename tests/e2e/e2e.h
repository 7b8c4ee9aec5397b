// What every end-to-end test shares: the path of the game under test and a
// fixture that starts a fresh copy of it for each test.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include "tests/e2e/driver.h"

// Set by main from the command line.
extern std::string game_exe;

class GameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(game.start(game_exe)) << game.error();
        ASSERT_TRUE(game.controls().complete())
            << "some controls are missing (" << game.controls().children << " children)";
        game.to_front();
    }
    // A game that is still running must end as a person ends it: with the
    // close box, at once and with exit code 0.
    void TearDown() override
    {
        if (!game.running())
            return;
        ASSERT_TRUE(game.click_close_box()) << "the window has no close box";
        DWORD code = 1;
        ASSERT_TRUE(game.wait_exit(2000, &code)) << "the game did not end after its close box";
        EXPECT_EQ(code, 0u);
    }
    Game game;
};
