// A fixture that builds the game's main window for a test and takes it down
// again the way the game does at its end.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "game/game_objects.h"
#include "runtime/threads.h"
#include "tests/support/pump.h"
#include "ui/controls/control.h"

class GameWindowTest : public testing::Test {
protected:
    // The read-out font that SetUp loads, as the game's entry does.
    HFONT readout_font = nullptr;

    void SetUp() override;
    void TearDown() override;

    HWND main_window() const;
    HWND control(ObjectNumber number) const;
    HWND status_bar() const;
    std::string text_of(HWND window) const;
    std::string control_text(ObjectNumber number) const { return text_of(control(number)); }
    std::string status() const { return text_of(status_bar()); }
    // The width of `text` on one line in the font that `window` draws with,
    // and the height of that font's character cell.
    SIZE text_size(HWND window, const char* text) const;
    // Posts the click notification a press of Start Timer gives.
    void post_start_click() const;
    // Posts an arrow click of the delay spin whose position has moved to `state`.
    void post_arrow(int32_t state, int direction) const;
    // Waits, answering the trial's calls, until the predicate holds.
    template <typename Pred>
    bool wait_until(Pred done, DWORD ms = 5000) const
    {
        return pump_until(done, ms);
    }

public:
    // Starts trials like thread_create and remembers their numbers, and a
    // handle of each of its own: the end sequence empties the registry, and
    // the test still waits for every trial before the next test begins.
    static int32_t recording_starter(LPTHREAD_START_ROUTINE routine, void* argument);
    static std::vector<int32_t> started;
    static std::vector<HANDLE> started_handles;
};
