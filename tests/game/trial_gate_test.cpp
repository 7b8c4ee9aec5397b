// The gate between the trial's thread and the window.
#include <gtest/gtest.h>
#include "game/trial_gate.h"
#include "tests/support/pump.h"

namespace {

struct GateRestore {
    ~GateRestore() { trial_gate_open(); }
};

TEST(TrialGateTest, PassesWhileOpenAndRefusesOnceClosed)
{
    GateRestore restore;
    trial_gate_open();
    {
        TrialGatePass pass;
        EXPECT_TRUE(pass);
    }
    trial_gate_close();
    TrialGatePass late;
    EXPECT_FALSE(late);
    trial_gate_open();
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

TEST(TrialGateTest, ClosingWaitsForACallUnderWayAndAnswersWhatItSends)
{
    GateRestore restore;
    trial_gate_open();
    HWND target = CreateWindowExA(0, "STATIC", "twelve chars", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    CallUnderWay call{target, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE worker = CreateThread(nullptr, 0, send_through_gate, &call, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(call.entered, 5000), WAIT_OBJECT_0);

    trial_gate_close();  // would hang if it did not answer the worker's message
    EXPECT_EQ(call.answer, 12) << "the call completed before the close returned";
    EXPECT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    CloseHandle(worker);
    CloseHandle(call.entered);
    DestroyWindow(target);
}

} // namespace
