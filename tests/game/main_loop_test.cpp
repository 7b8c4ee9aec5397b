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

// Counts the Enter characters this thread retrieves: one reaching the delay
// box would sound the error beep on Windows.
int returns_retrieved;
LRESULT CALLBACK count_returns(int code, WPARAM removal, LPARAM data)
{
    const auto* msg = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removal == PM_REMOVE && msg->message == WM_CHAR && msg->wParam == '\r')
        ++returns_retrieved;
    return CallNextHookEx(nullptr, code, removal, data);
}

// A trial that never ends, noting the delay maximum it takes.
int32_t delay_taken;
int32_t note_delay(LPTHREAD_START_ROUTINE, void*)
{
    delay_taken = control_get_state(CTRL_DELAY_SPIN);
    return 1;
}

TEST_F(MainLoopTest, EnterStartsATrialAsStartTimerDoesWhereverTheFocusIsUnlessOneRuns)
{
    const struct {
        const char* where;
        ObjectNumber focus;  // -1: the main window
        const char* typed;
        bool running;
        int32_t delay;  // 0: no trial may start
    } rows[] = {
        {"on the main window", -1, "", false, 10},
        {"on the button", CTRL_START_BUTTON, "", false, 10},
        {"in the delay box, a value typed", CTRL_DELAY_SPIN, "25", false, 25},
        {"while a trial runs", -1, "", true, 0},
    };
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, count_returns, nullptr, GetCurrentThreadId());
    returns_retrieved = 0;
    bring_to_front(main_window());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.where);
        delay_taken = 0;
        control_disable(CTRL_START_BUTTON, row.running);
        control_disable(CTRL_DELAY_SPIN, row.running);
        control_set_text(CTRL_READOUT, "1.234");
        SetFocus(row.focus == -1 ? main_window() : control(row.focus));
        SendMessageA(edit(), EM_SETSEL, 0, -1);
        input_text(row.typed);
        input_key(VK_RETURN);
        // Input is taken in order: the close request comes after the keys.
        input_key_with(VK_MENU, VK_F4);
        EXPECT_EQ(main_event_loop(note_delay), 0);
        drain_events();
        EXPECT_EQ(delay_taken, row.delay);
        EXPECT_EQ(control_text(CTRL_READOUT), row.delay ? "0.000" : "1.234");
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(returns_retrieved, 0);
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
