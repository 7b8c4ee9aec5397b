// The gate between the trial's thread and the window, with its event and
// without it (start-up could not make it), and the end sequence that closes it.
#include <gtest/gtest.h>
#include "game/game_objects.h"
#include "game/lifetime.h"
#include "game/main_window.h"
#include "game/trial_gate.h"
#include "runtime/scoped_win.h"
#include "tests/support/pump.h"
#include "ui/controls/control.h"
#include "ui/windows/window.h"

namespace {

struct GateRestore {
    ~GateRestore()
    {
        trial_gate_replace_event(true);
        trial_gate_open();
    }
};

class TrialGateTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        // Opened first: reopening a closed gate makes an event of its own.
        trial_gate_open();
        trial_gate_replace_event(GetParam());
    }
    GateRestore restore;
};

TEST_P(TrialGateTest, PassesWhileOpenAndRefusesOnceClosed)
{
    {
        TrialGatePass pass;
        EXPECT_TRUE(pass);
    }
    trial_gate_close();
    EXPECT_FALSE(trial_gate_holds_event()) << "the closed gate keeps no event";
    TrialGatePass late;
    EXPECT_FALSE(late);
    trial_gate_open();
    EXPECT_TRUE(trial_gate_holds_event()) << "the reopened gate makes one";
    TrialGatePass again;
    EXPECT_TRUE(again);
}

struct CallUnderWay {
    HWND target;
    HANDLE entered;
    LRESULT answer = 0;
};

DWORD WINAPI send_through_gate(void* data)
{
    auto* call = static_cast<CallUnderWay*>(data);
    TrialGatePass pass;
    SetEvent(call->entered);
    Sleep(100);  // still inside when the main thread starts to close
    call->answer = SendMessageA(call->target, WM_GETTEXTLENGTH, 0, 0);
    return 0;
}

// Runs `close` while another thread is inside the gate and about to ask
// `target` for the length of its text; the answer that thread had got when
// the close returned (0 when it had none yet).
LRESULT answer_during(void (*close)(), HWND target)
{
    const ScopedHandle entered(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    CallUnderWay call{target, entered.get()};
    const ScopedHandle worker(CreateThread(nullptr, 0, send_through_gate, &call, 0, nullptr));
    EXPECT_EQ(WaitForSingleObject(call.entered, 5000), WAIT_OBJECT_0);
    close();  // would hang if it did not answer the worker's message
    const LRESULT answer = call.answer;
    // Answered here instead when the close did not wait for the call.
    EXPECT_TRUE(
        pump_until([&] { return WaitForSingleObject(worker.get(), 0) == WAIT_OBJECT_0; }, 5000));
    return answer;
}

TEST_P(TrialGateTest, ClosingWaitsForACallUnderWayAndAnswersWhatItSends)
{
    HWND target = CreateWindowExA(0, "STATIC", "twelve chars", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    EXPECT_EQ(answer_during(trial_gate_close, target), 12)
        << "the call completed before the close returned";
    DestroyWindow(target);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutItsEvent, TrialGateTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "WithEvent" : "WithoutEvent";
                         });

// The end of the program closes the gate before it takes the windows down.
TEST(EndSequenceTest, ACallUnderWayCompletesBeforeTheWindowsGo)
{
    GateRestore restore;
    // The end of a test before this one may have left it closed.
    trial_gate_open();
    ASSERT_TRUE(build_main_window(nullptr));
    EXPECT_EQ(answer_during(release_runtime, control_lookup(CTRL_READOUT)->handle), 5)
        << "the read-out was gone while the call was under way";
    EXPECT_EQ(window_handle(WINDOW_MAIN), nullptr);
}

}  // namespace
