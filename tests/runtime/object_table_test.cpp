// Numbered object tables: growth, the free hook, lookups, releases and walks.
#include <gtest/gtest.h>
#include <vector>
#include "runtime/object_table.h"
#include "runtime/shared_record.h"

namespace {

struct Record {
    uintptr_t handle;
    int payload;
};

ObjectTable* hooked_table;
std::vector<ObjectNumber> hook_calls;

// Behaves like the owners' hooks: releases whatever object held the number.
void release_hook(ObjectNumber number)
{
    hook_calls.push_back(number);
    if (table_lookup(hooked_table, number))
        table_release(hooked_table, number);
}

Record* make_live(ObjectTable* table, ObjectNumber number, uintptr_t handle)
{
    auto* r = static_cast<Record*>(table_allocate(table, number));
    if (r)
        r->handle = handle;
    return r;
}

class ObjectTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        hook_calls.clear();
        table = table_create(sizeof(Record), 16, release_hook);
        hooked_table = table;
        ASSERT_NE(table, nullptr);
    }
    ObjectTable* table = nullptr;
};

TEST_F(ObjectTableTest, StartsWithCapacityOfOneGrowStepAndNoHandedOutObjects)
{
    EXPECT_EQ(table->capacity, 16);
    EXPECT_EQ(table->dynamic_head, nullptr);
    EXPECT_EQ(table->record_size, static_cast<int32_t>(sizeof(Record)));
}

TEST_F(ObjectTableTest, GrowsToNumberPlusGrowStepWithZeroedNewSlots)
{
    struct Case {
        ObjectNumber number;
        int32_t capacity;
    };
    // Capacity 16 holds slots 0 to 15: asking for 16 must grow it.
    for (const Case c : {Case{20, 36}, Case{16, 32}, Case{15, 16}}) {
        SCOPED_TRACE(c.number);
        ObjectTable* fresh = table_create(sizeof(Record), 16, nullptr);
        ASSERT_NE(fresh, nullptr);
        make_live(fresh, 3, 0x33);
        auto* r = static_cast<Record*>(table_allocate(fresh, c.number));
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(fresh->capacity, c.capacity);
        for (int i = 16; i < fresh->capacity; ++i) {
            const auto* slot = reinterpret_cast<Record*>(fresh->records + i * sizeof(Record));
            EXPECT_EQ(slot->handle, 0u) << "slot " << i;
            EXPECT_EQ(slot->payload, 0) << "slot " << i;
        }
        auto* kept = static_cast<Record*>(table_lookup(fresh, 3));
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->handle, 0x33u);
        EXPECT_EQ(r, reinterpret_cast<Record*>(fresh->records) + c.number);
    }
}

TEST_F(ObjectTableTest, FreeHookRunsOnEveryFixedNumberAllocation)
{
    table_allocate(table, 5);  // free slot: hook still runs
    make_live(table, 5, 0x55)->payload = 7;
    auto* again = static_cast<Record*>(table_allocate(table, 5));
    EXPECT_EQ(hook_calls, (std::vector<ObjectNumber>{5, 5, 5}));
    // The hook released the old object, so the slot comes back zeroed.
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->handle, 0u);
    EXPECT_EQ(again->payload, 0);
}

TEST_F(ObjectTableTest, FreeHookRunsAfterGrowthWithTheRequestedNumber)
{
    table_allocate(table, 40);
    ASSERT_EQ(hook_calls.size(), 1u);
    EXPECT_EQ(hook_calls[0], 40);
    EXPECT_EQ(table->capacity, 56);
}

TEST_F(ObjectTableTest, AnyNumberNeverCallsTheHookAndGivesDistinctAddresses)
{
    void* a = table_allocate(table, ANY_NUMBER);
    void* b = table_allocate(table, ANY_NUMBER);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_TRUE(hook_calls.empty());
    EXPECT_EQ(table_number_of(ANY_NUMBER, a), reinterpret_cast<ObjectNumber>(a));
    EXPECT_EQ(table_number_of(7, a), 7);
    EXPECT_EQ(static_cast<Record*>(a)->handle, 0u);
}

TEST_F(ObjectTableTest, LookupFindsOnlyLiveRecords)
{
    EXPECT_EQ(table_lookup(table, 2), nullptr);
    auto* r = static_cast<Record*>(table_allocate(table, 2));
    EXPECT_EQ(table_lookup(table, 2), nullptr) << "allocated but not filled";
    r->handle = 0x1234;
    EXPECT_EQ(table_lookup(table, 2), r);

    auto* d = static_cast<Record*>(table_allocate(table, ANY_NUMBER));
    const ObjectNumber dn = reinterpret_cast<ObjectNumber>(d);
    EXPECT_EQ(table_lookup(table, dn), nullptr);
    d->handle = 0x99;
    EXPECT_EQ(table_lookup(table, dn), d);
}

TEST_F(ObjectTableTest, ReleaseZeroesTheSlotAndFreesTheHandedOutNumber)
{
    make_live(table, 4, 0x44)->payload = 9;
    table_release(table, 4);
    EXPECT_EQ(table_lookup(table, 4), nullptr);
    const auto* slot = reinterpret_cast<Record*>(table->records) + 4;
    EXPECT_EQ(slot->payload, 0);

    auto* d = make_live(table, ANY_NUMBER, 0x77);
    const ObjectNumber dn = reinterpret_cast<ObjectNumber>(d);
    table_release(table, dn);
    EXPECT_EQ(table->dynamic_head, nullptr);
    EXPECT_EQ(table_lookup(table, dn), nullptr);
    table_release(table, dn);  // a second release of a stale number does nothing
    EXPECT_EQ(table->dynamic_head, nullptr);
}

TEST_F(ObjectTableTest, NumbersNeverHandedOutNameNoObject)
{
    Record outsider{0xABCD, 1};  // looks live, but this table never handed it out
    const ObjectNumber forged = reinterpret_cast<ObjectNumber>(&outsider);
    auto* mine = make_live(table, ANY_NUMBER, 0x10);

    EXPECT_EQ(table_lookup(table, forged), nullptr);
    EXPECT_EQ(table_lookup(table, -2), nullptr);
    EXPECT_EQ(table_lookup(table, 1000000), nullptr);
    EXPECT_EQ(table_lookup(table, reinterpret_cast<ObjectNumber>(mine) + 4), nullptr);

    table_release(table, forged);
    table_release(table, -5);
    EXPECT_EQ(outsider.handle, 0xABCDu) << "foreign memory must not be touched";
    EXPECT_EQ(table_lookup(table, reinterpret_cast<ObjectNumber>(mine)), mine);

    EXPECT_EQ(table_allocate(table, -2), nullptr);
    EXPECT_TRUE(hook_calls.empty());
}

TEST_F(ObjectTableTest, NumbersTooLargeForAnArrayFailCleanly)
{
    make_live(table, 1, 0x11);
    EXPECT_EQ(table_allocate(table, 0x7FFFFFF0), nullptr);
    EXPECT_EQ(table->capacity, 16);
    EXPECT_NE(table_lookup(table, 1), nullptr);
}

TEST_F(ObjectTableTest, WalkYieldsNumberedAscendingThenHandedOutOldestFirst)
{
    auto* a = make_live(table, ANY_NUMBER, 0xA);
    make_live(table, 9, 0x9);
    auto* b = make_live(table, ANY_NUMBER, 0xB);
    make_live(table, 0, 0x1);
    make_live(table, 2, 0x2);
    auto* c = static_cast<Record*>(table_allocate(table, ANY_NUMBER));  // not filled

    std::vector<ObjectNumber> seen;
    table_walk_begin(table);
    ObjectNumber n = 0;
    while (void* r = table_walk_next(table, &n)) {
        seen.push_back(n);
        if (n < 100)
            EXPECT_EQ(r, table_lookup(table, n));
        else
            EXPECT_EQ(r, reinterpret_cast<void*>(n));
    }
    const std::vector<ObjectNumber> want{0,
                                         2,
                                         9,
                                         reinterpret_cast<ObjectNumber>(a),
                                         reinterpret_cast<ObjectNumber>(b),
                                         reinterpret_cast<ObjectNumber>(c)};
    EXPECT_EQ(seen, want);
}

TEST_F(ObjectTableTest, WalkOverEmptyTableYieldsNothing)
{
    table_walk_begin(table);
    ObjectNumber n = 123;
    EXPECT_EQ(table_walk_next(table, &n), nullptr);
    EXPECT_EQ(n, 123);
}

TEST_F(ObjectTableTest, ReleasingTheYieldedObjectDuringAWalkIsSafe)
{
    make_live(table, 1, 0x1);
    make_live(table, 3, 0x3);
    auto* a = make_live(table, ANY_NUMBER, 0xA);
    auto* b = make_live(table, ANY_NUMBER, 0xB);

    std::vector<ObjectNumber> seen;
    table_walk_begin(table);
    ObjectNumber n;
    while (table_walk_next(table, &n)) {
        seen.push_back(n);
        table_release(table, n);
    }
    EXPECT_EQ(seen, (std::vector<ObjectNumber>{1, 3, reinterpret_cast<ObjectNumber>(a),
                                               reinterpret_cast<ObjectNumber>(b)}));
    EXPECT_EQ(table->dynamic_head, nullptr);
    EXPECT_EQ(table_lookup(table, 1), nullptr);
    EXPECT_EQ(table_lookup(table, 3), nullptr);
}

TEST_F(ObjectTableTest, ReleasingTheNextHandedOutObjectDuringAWalkIsSafe)
{
    auto* a = make_live(table, ANY_NUMBER, 0xA);
    auto* b = make_live(table, ANY_NUMBER, 0xB);
    table_walk_begin(table);
    ObjectNumber n;
    ASSERT_EQ(table_walk_next(table, &n), a);
    table_release(table, reinterpret_cast<ObjectNumber>(b));
    EXPECT_EQ(table_walk_next(table, &n), nullptr);
}

TEST(ObjectTableNullTest, OperationsOnAMissingTableDoNothing)
{
    EXPECT_EQ(table_create(sizeof(Record), 0, nullptr), nullptr);
    EXPECT_EQ(table_allocate(nullptr, 1), nullptr);
    EXPECT_EQ(table_lookup(nullptr, 1), nullptr);
    table_release(nullptr, 1);
    table_walk_begin(nullptr);
    EXPECT_EQ(table_walk_next(nullptr, nullptr), nullptr);
}

int init_calls;
void count_init(void* record)
{
    ++init_calls;
    static_cast<int*>(record)[1] = 42;
}

TEST(SharedRecordTest, CreatedZeroFilledAndInitialisedOnce)
{
    init_calls = 0;
    auto* r = static_cast<int*>(shared_record_create(4 * sizeof(int), count_init));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(init_calls, 1);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[1], 42);
    EXPECT_EQ(r[3], 0);
    EXPECT_EQ(shared_record_get(r), r);

    auto* plain = static_cast<int*>(shared_record_create(8, nullptr));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain[0] | plain[1], 0);
    EXPECT_NE(plain, r);
}

}  // namespace
