// The thread registry: numbering, lazy reaping, look-ups and the release at
// the end of the program.
#include <gtest/gtest.h>
#include <vector>
#include "runtime/threads.h"

namespace {

// More stack than the address space can hold, so CreateThread fails whatever
// the routine.
const SIZE_T UNMAKEABLE_STACK =
    sizeof(void*) == 4 ? static_cast<SIZE_T>(0xF0000000u) : static_cast<SIZE_T>(1) << 50;

struct Gate {
    HANDLE open = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    volatile LONG passed = 0;
    ~Gate() { CloseHandle(open); }
};

DWORD WINAPI wait_at_gate(void* argument)
{
    auto* gate = static_cast<Gate*>(argument);
    WaitForSingleObject(gate->open, INFINITE);
    InterlockedExchange(&gate->passed, 1);
    return 0;
}

bool ends_within(int32_t number, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (thread_is_running(number)) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(1);
    }
    return true;
}

class ThreadsTest : public testing::Test {
protected:
    int32_t start(LPTHREAD_START_ROUTINE routine)
    {
        const int32_t number = thread_create(routine, &gate);
        if (number)
            started.push_back(number);
        return number;
    }
    // Every thread is past the gate before the gate goes.
    void TearDown() override
    {
        SetEvent(gate.open);
        for (int32_t number : started)
            EXPECT_TRUE(ends_within(number, 5000));
        thread_release_all();
    }
    Gate gate;
    std::vector<int32_t> started;
};

// Must stay the first test of the program that starts a registered thread.
TEST_F(ThreadsTest, NumbersStartAtOneAndAFailedCreationUsesNone)
{
    ASSERT_EQ(thread_record_count(), 0);
    EXPECT_EQ(start(wait_at_gate), 1);
    EXPECT_EQ(thread_create_with_stack(wait_at_gate, &gate, UNMAKEABLE_STACK), 0);
    EXPECT_EQ(thread_record_count(), 1) << "a failed creation registers nothing";
    EXPECT_EQ(start(wait_at_gate), 2);
    EXPECT_EQ(thread_record_count(), 2);
    EXPECT_EQ(thread_is_running(1), 1);
    EXPECT_EQ(thread_is_running(2), 1);
    SetEvent(gate.open);
    EXPECT_TRUE(ends_within(1, 5000));
    EXPECT_TRUE(ends_within(2, 5000));
}

TEST_F(ThreadsTest, AnEndedThreadStaysRegisteredUntilTheNextCreationReapsIt)
{
    Gate first_gate;
    const int32_t first = thread_create(wait_at_gate, &first_gate);
    ASSERT_NE(first, 0);
    started.push_back(first);
    HANDLE first_handle = thread_handle(first);
    ASSERT_NE(first_handle, nullptr);
    SetEvent(first_gate.open);
    ASSERT_TRUE(ends_within(first, 5000));
    EXPECT_EQ(thread_record_count(), 1);
    EXPECT_EQ(thread_handle(first), nullptr);
    EXPECT_EQ(thread_is_running(first), 0);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(first_handle, &flags)) << "still open until reaped";

    const int32_t second = start(wait_at_gate);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(thread_record_count(), 1) << "only the running thread is left";
    EXPECT_EQ(thread_handle(first), nullptr);
    HANDLE second_handle = thread_handle(second);
    EXPECT_NE(second_handle, nullptr);
    if (second_handle != first_handle) {
        EXPECT_FALSE(GetHandleInformation(first_handle, &flags)) << "the reaped handle is closed";
    }
}

TEST_F(ThreadsTest, ARunningThreadIsFoundByItsNumberAndNothingElseIs)
{
    const int32_t number = start(wait_at_gate);
    ASSERT_NE(number, 0);
    HANDLE handle = thread_handle(number);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(WaitForSingleObject(handle, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(thread_is_running(number), 1);

    for (int32_t other : {0, number + 1000, -1}) {
        EXPECT_EQ(thread_handle(other), nullptr) << other;
        EXPECT_EQ(thread_is_running(other), 0) << other;
    }

    SetEvent(gate.open);
    ASSERT_TRUE(ends_within(number, 5000));
    EXPECT_EQ(thread_handle(number), nullptr) << "ended, not yet reaped";
}

TEST_F(ThreadsTest, ReleasingAllForgetsEveryThreadButStopsNone)
{
    thread_release_all();
    EXPECT_EQ(thread_record_count(), 0) << "an empty list stays empty";

    const int32_t number = start(wait_at_gate);
    ASSERT_NE(number, 0);
    thread_release_all();
    EXPECT_EQ(thread_record_count(), 0);
    EXPECT_EQ(thread_handle(number), nullptr);

    SetEvent(gate.open);
    const DWORD start = GetTickCount();
    while (!gate.passed && GetTickCount() - start < 5000)
        Sleep(1);
    EXPECT_EQ(gate.passed, 1) << "the thread went on after its handle was closed";
}

}  // namespace
