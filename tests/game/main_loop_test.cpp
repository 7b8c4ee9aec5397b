// The main loop: the delay spin's state and text kept in step, trials
// started by Start Timer, and the end on a close request.
#include "game/main_loop.h"
#include "game/trial.h"
#include "tests/game/game_window.h"
#include "tests/support/events.h"
#include "tests/support/input.h"
#include "ui/windows/clipboard.h"
#include "ui/windows/events.h"
#include "ui/windows/window.h"

namespace {

class MainLoopTest : public GameWindowTest {
protected:
    // Runs the loop over what has been posted, then closes the window.
    void run_loop(TrialStarter starter = recording_starter)
    {
        PostMessageA(main_window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(main_event_loop(starter), 0);
        // The loop ends on the close message itself (its number is the close
        // event's code), so the queued close event is still waiting.
        drain_events();
    }
    HWND edit() const { return control(CTRL_DELAY_SPIN); }
};

int32_t failing_starter(LPTHREAD_START_ROUTINE, void*)
{
    return 0;
}

TEST_F(MainLoopTest, AnArrowClickWritesTheNewStateIntoTheText)
{
    post_arrow(11, +1);
    run_loop();
    EXPECT_EQ(control_text(CTRL_DELAY_SPIN), "11");
    EXPECT_EQ(control_get_state(CTRL_DELAY_SPIN), 11);
}

DWORD WINAPI type_25_then_close(void* window)
{
    input_text("25");
    const DWORD start = GetTickCount();
    while (control_get_state(CTRL_DELAY_SPIN) != 25 && GetTickCount() - start < 3000)
        Sleep(5);
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    return 0;
}

TEST_F(MainLoopTest, TypingSetsTheStateAndALaterArrowCountsFromIt)
{
    bring_to_front(main_window());
    SetFocus(edit());
    SendMessageA(edit(), EM_SETSEL, 0, -1);
    HANDLE typist = CreateThread(nullptr, 0, type_25_then_close, main_window(), 0, nullptr);
    EXPECT_EQ(main_event_loop(recording_starter), 0);
    WaitForSingleObject(typist, INFINITE);
    CloseHandle(typist);
    EXPECT_EQ(control_get_state(CTRL_DELAY_SPIN), 25);
    EXPECT_EQ(control_text(CTRL_DELAY_SPIN), "25");

    drain_events();
    post_arrow(26, +1);
    run_loop();
    EXPECT_EQ(control_text(CTRL_DELAY_SPIN), "26");
}

TEST_F(MainLoopTest, TheLoopsOwnTextUpdateRaisesNoFurtherEvent)
{
    post_arrow(12, +1);
    PostMessageA(main_window(), WM_CLOSE, 0, 0);
    int32_t code;
    int control_events = 0;
    do {
        code = wait_event();
        if (code == EVENT_CONTROL) {
            ++control_events;
            // What the loop does for the arrow event.
            control_set_text(CTRL_DELAY_SPIN, "12");
        }
    } while (code != EVENT_CLOSE_WINDOW);
    EXPECT_EQ(control_events, 1);
}

std::string clipboard_text()
{
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* p = static_cast<const char*>(GlobalLock(data)))
                text = p;
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

TEST_F(MainLoopTest, EventsOfOtherControlsChangeNothing)
{
    ASSERT_TRUE(clipboard_put_text(nullptr, "kept", 4));
    // Copy's number while the results window is closed, as well.
    for (ObjectNumber other : {CTRL_DELAY_CAPTION, CTRL_READOUT, CTRL_UNITS, CTRL_RESULTS_COPY})
        PostMessageA(main_window(), MSG_CONTROL_EVENT, other, 0);
    PostMessageA(main_window(), WM_COMMAND, 5, 0);  // a menu command
    run_loop();
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(IsWindowEnabled(control(CTRL_START_BUTTON)));
    EXPECT_EQ(control_text(CTRL_DELAY_SPIN), "10");
    EXPECT_EQ(control_text(CTRL_READOUT), "0.000");
    EXPECT_EQ(clipboard_text(), "kept");
}

TEST_F(MainLoopTest, StartResetsTheReadoutDisablesTheControlsAndStartsATrial)
{
    control_set_text(CTRL_READOUT, "3.456");
    control_set_text(CTRL_UNITS, "x");
    control_set_state(CTRL_DELAY_SPIN, 1);
    post_start_click();
    run_loop();
    EXPECT_EQ(control_text(CTRL_READOUT), "0.000");
    EXPECT_EQ(control_text(CTRL_UNITS), "Seconds");
    EXPECT_FALSE(IsWindowEnabled(control(CTRL_START_BUTTON)));
    EXPECT_FALSE(IsWindowEnabled(control(CTRL_DELAY_SPIN)));
    EXPECT_TRUE(IsWindowEnabled(control_lookup(CTRL_DELAY_SPIN)->buddy)) << "arrows stay";
    ASSERT_EQ(started.size(), 1u);
    EXPECT_TRUE(wait_until([&] { return status() == TEXT_DELAY_STARTED; }));
}

TEST_F(MainLoopTest, AClickEventWhileATrialRunsStartsNoSecondTrial)
{
    control_set_state(CTRL_DELAY_SPIN, 1);
    post_start_click();
    // Forged while the button is disabled: by another program, or a stale
    // notification.
    PostMessageA(main_window(), MSG_CONTROL_EVENT, CTRL_START_BUTTON, 0);
    PostMessageA(main_window(), WM_COMMAND, MAKEWPARAM(CTRL_START_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(CTRL_START_BUTTON)));
    run_loop();
    EXPECT_EQ(started.size(), 1u);
    EXPECT_FALSE(IsWindowEnabled(control(CTRL_START_BUTTON)));
}

TEST_F(MainLoopTest, AClickEventWhenIdleStartsATrialLikeAClick)
{
    control_set_state(CTRL_DELAY_SPIN, 1);
    PostMessageA(main_window(), MSG_CONTROL_EVENT, CTRL_START_BUTTON, 0);
    run_loop();
    EXPECT_EQ(started.size(), 1u);
}

TEST_F(MainLoopTest, WhenNoTrialCanStartTheControlsComeBackWithAnInvitation)
{
    post_start_click();
    run_loop(failing_starter);
    EXPECT_TRUE(IsWindowEnabled(control(CTRL_START_BUTTON)));
    EXPECT_TRUE(IsWindowEnabled(control(CTRL_DELAY_SPIN)));
    EXPECT_EQ(status(), TEXT_ANOTHER_GO);
}

TEST_F(MainLoopTest, TheLoopEndsOnTheCloseRequestAndLeavesTheWindowOpen)
{
    run_loop();
    EXPECT_TRUE(IsWindow(main_window()));
}

}  // namespace
