// The string workspace: growth, reservations, the statement pattern, string
// variables, and one workspace per thread.
#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include "runtime/string_workspace.h"

namespace {

// Runs `body` on a thread of its own, which starts with a fresh workspace.
template <typename Body>
void on_fresh_thread(Body body)
{
    std::thread(body).join();
}

SIZE_T block_size(const void* block)
{
    return HeapSize(string_heap(), 0, block);
}

int busy_blocks_of_string_heap()
{
    int count = 0;
    PROCESS_HEAP_ENTRY entry{};
    HeapLock(string_heap());
    while (HeapWalk(string_heap(), &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            ++count;
    }
    HeapUnlock(string_heap());
    return count;
}

TEST(WorkspaceTest, AFreshWorkspaceIsSixteenBytesAndTakesShortTextsWithoutGrowing)
{
    on_fresh_thread([] {
        StringWorkspace* ws = workspace();
        ASSERT_NE(ws, nullptr);
        EXPECT_EQ(ws->capacity, 16);
        EXPECT_EQ(ws->used, 0);
        EXPECT_EQ(block_size(ws->base), 16u);

        char* const first = ws->base;
        EXPECT_EQ(workspace_reserve(5, 0), first);
        EXPECT_EQ(workspace_reserve(6, 5), first + 5);
        EXPECT_EQ(ws->used, 11);
        EXPECT_EQ(ws->capacity, 16) << "11 bytes and a terminator still fit";

        // The twelfth byte reaches the 4 kept free: growth by the need + 16384.
        ASSERT_NE(workspace_reserve(1, 11), nullptr);
        EXPECT_EQ(ws->capacity, 12 + 16384);
        EXPECT_EQ(ws->used, 12);
    });
}

TEST(WorkspaceTest, TheFirstIntegerGrowsItTo16416UsableInABlockOf16421)
{
    on_fresh_thread([] {
        StringWorkspace* ws = workspace();
        ASSERT_NE(ws, nullptr);
        str_from_int(7, 0);
        EXPECT_EQ(ws->capacity, 16416);
        EXPECT_EQ(block_size(ws->base), 16421u);
        EXPECT_STREQ(workspace_text(0), "7");
        EXPECT_EQ(ws->used, 1);
    });
}

TEST(WorkspaceTest, GrowthKeepsTheTextsAlreadyWritten)
{
    on_fresh_thread([] {
        char* text = workspace_reserve(5, 0);
        ASSERT_NE(text, nullptr);
        memcpy(text, "abcd", 5);
        workspace_give_back(1);
        ASSERT_NE(workspace_reserve(40000, workspace_used() + 1), nullptr);
        EXPECT_EQ(workspace()->capacity, 5 + 40000 + 16384);
        EXPECT_STREQ(workspace_text(0), "abcd");
    });
}

TEST(WorkspaceTest, AReservationBeyondTheFillOffsetStillFitsTheBlock)
{
    on_fresh_thread([] {
        StringWorkspace* ws = workspace();
        ASSERT_NE(ws, nullptr);
        // Measured from used alone (0 + 8 < 12) it would not grow, and bytes
        // 10 to 18 lie past the 16-byte block.
        char* text = workspace_reserve(8, 10);
        ASSERT_NE(text, nullptr);
        EXPECT_GE(block_size(ws->base), 10u + 8u + 1u);
        EXPECT_EQ(ws->used, 18);
    });
}

TEST(WorkspaceTest, AReservationThatCannotBeMadeChangesNothing)
{
    on_fresh_thread([] {
        StringWorkspace* ws = workspace();
        ASSERT_NE(ws, nullptr);
        str_from_int(12, 0);
        char* const base = ws->base;
        const int32_t capacity = ws->capacity;

        EXPECT_EQ(workspace_reserve(INT32_MAX - 100, 2), nullptr);
        EXPECT_EQ(workspace_reserve(10, -1), nullptr);
        EXPECT_EQ(workspace_reserve(-1, 2), nullptr);
        EXPECT_EQ(ws->base, base);
        EXPECT_EQ(ws->capacity, capacity);
        EXPECT_EQ(ws->used, 2);

        // A producer that cannot reserve leaves no text and writes nothing.
        str_from_int(99, INT32_MAX - 10);
        str_from_float(1.5f, 3, INT32_MAX - 10);
        EXPECT_EQ(ws->used, 2);
        EXPECT_STREQ(workspace_text(0), "12");
    });
}

TEST(WorkspaceTest, AStatementKeepsItsTextsApartAndRestoresTheFillOffset)
{
    const int32_t before = workspace_used();
    {
        WorkspaceStatement s;
        const int32_t pos = s.pos();
        EXPECT_EQ(pos, before);
        str_from_int(-45, pos);
        const char* text = s.take(pos);
        EXPECT_STREQ(text, "-45");
        EXPECT_EQ(workspace_used(), pos + 4) << "one past the terminator";

        // A second result in the same statement lands after the first.
        const int32_t second = s.pos();
        str_from_int(123456, second);
        EXPECT_STREQ(workspace_text(pos), "-45");
        EXPECT_STREQ(s.take(second), "123456");
    }
    EXPECT_EQ(workspace_used(), before);
}

class StringVarTest : public testing::Test {
protected:
    void TearDown() override { string_free(var); }
    StringVar var = nullptr;
};

TEST_F(StringVarTest, AssigningAnEmptyResultGivesAFiveByteBlockWithOnlyTheTerminator)
{
    const int32_t pos = workspace_used();
    string_assign(&var, pos);
    ASSERT_NE(var, nullptr);
    EXPECT_EQ(block_size(var), 5u);
    EXPECT_EQ(var[0], '\0');
    EXPECT_EQ(workspace_used(), pos);
}

TEST_F(StringVarTest, AssigningCopiesTheTextAndConsumesTheTemporary)
{
    const int32_t pos = workspace_used();
    str_from_int(2147483647, pos);
    string_assign(&var, pos);
    ASSERT_NE(var, nullptr);
    EXPECT_STREQ(var, "2147483647");
    EXPECT_EQ(block_size(var), 15u);
    EXPECT_EQ(workspace_used(), pos);
}

TEST_F(StringVarTest, AssigningAShorterTextShrinksTheBlock)
{
    int32_t pos = workspace_used();
    str_from_int(-1234567890, pos);
    string_assign(&var, pos);
    ASSERT_EQ(block_size(var), 16u);

    pos = workspace_used();
    str_from_int(42, pos);
    string_assign(&var, pos);
    EXPECT_STREQ(var, "42");
    EXPECT_EQ(block_size(var), 7u);
}

TEST_F(StringVarTest, APosBeyondTheFillOffsetAssignsTheEmptyTextAndConsumesNothing)
{
    const int32_t used = workspace_used();
    string_assign(&var, used + 3);
    ASSERT_NE(var, nullptr);
    EXPECT_EQ(var[0], '\0');
    EXPECT_EQ(workspace_used(), used);
}

TEST(WorkspacePerThreadTest, EachThreadWritesInAWorkspaceOfItsOwn)
{
    WorkspaceStatement s;
    const int32_t pos = s.pos();
    str_from_int(111, pos);
    StringWorkspace* mine = workspace();
    StringWorkspace* theirs = nullptr;
    on_fresh_thread([&] {
        theirs = workspace();
        str_from_int(222, pos);
        str_from_int(333, 0);
    });
    EXPECT_NE(theirs, mine);
    EXPECT_STREQ(workspace_text(pos), "111");
}

TEST(WorkspacePerThreadTest, AThreadsWorkspaceGoesBackToTheHeapWhenTheThreadEnds)
{
    const int before = busy_blocks_of_string_heap();
    StringVar made_there = nullptr;
    on_fresh_thread([&] {
        const int32_t pos = workspace_used();
        str_from_float(3.25f, 2, pos);
        string_assign(&made_there, pos);
        ASSERT_NE(made_there, nullptr);
    });
    // The variable outlives its thread and may be freed here.
    EXPECT_EQ(busy_blocks_of_string_heap(), before + 1);
    EXPECT_STREQ(made_there, "3.25");
    string_free(made_there);
    EXPECT_EQ(busy_blocks_of_string_heap(), before);
}

// What goes wrong when threads share a workspace or an unserialised heap:
// texts overwritten by the other thread, or a heap that breaks.
TEST(WorkspacePerThreadTest, ThreadsFormattingAssigningAndFreeingAtOnceGetOnlyTheirOwnTexts)
{
    std::atomic<int> wrong{0};
    std::atomic<long> rounds{0};
    auto work = [&](int seed) {
        StringVar var = nullptr;
        const DWORD start = GetTickCount();
        for (int i = seed; GetTickCount() - start < 2000; i += 2) {
            char expected[32];
            {
                WorkspaceStatement s;
                const int32_t pos = s.pos();
                const auto value = static_cast<int32_t>(static_cast<uint32_t>(i) * 7919u);
                str_from_int(value, pos);
                snprintf(expected, sizeof expected, "%ld", static_cast<long>(value));
                if (strcmp(s.take(pos), expected) != 0)
                    ++wrong;
            }
            const int32_t pos = workspace_used();
            const float reading = static_cast<float>(i % 80000) / 8.0f;
            str_from_float(reading, 3, pos);
            string_assign(&var, pos);
            snprintf(expected, sizeof expected, "%.3f", static_cast<double>(reading));
            if (!var || strcmp(var, expected) != 0 || workspace_used() != pos)
                ++wrong;
            if (i % 64 == seed) {
                string_free(var);
                var = nullptr;
            }
            ++rounds;
        }
        string_free(var);
    };
    std::thread a(work, 0);
    std::thread b(work, 1);
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_GT(rounds.load(), 1000);
    EXPECT_TRUE(HeapValidate(string_heap(), 0, nullptr));
}

}  // namespace
