// Block lists: newest block first, unlinking at head, middle and tail.
#include <gtest/gtest.h>
#include "runtime/block_list.h"

namespace {

struct Three {
    BlockList list = nullptr;
    void* oldest = nullptr;
    void* middle = nullptr;
    void* newest = nullptr;
    Three()
    {
        oldest = block_insert(&list, BLOCK_LINK_BYTES + 4);
        middle = block_insert(&list, BLOCK_LINK_BYTES + 4);
        newest = block_insert(&list, BLOCK_LINK_BYTES + 4);
    }
};

TEST(BlockListTest, InsertLinksNewBlocksAtTheHeadZeroFilled)
{
    Three t;
    ASSERT_NE(t.oldest, nullptr);
    EXPECT_EQ(t.list, block_of(t.newest));
    EXPECT_EQ(t.list->prev, nullptr);
    EXPECT_EQ(t.list->next, block_of(t.middle));
    EXPECT_EQ(block_of(t.middle)->prev, block_of(t.newest));
    EXPECT_EQ(block_of(t.oldest)->next, nullptr);
    EXPECT_EQ(*static_cast<int*>(t.middle), 0);
    EXPECT_EQ(static_cast<char*>(t.newest) - reinterpret_cast<char*>(block_of(t.newest)),
              static_cast<ptrdiff_t>(2 * sizeof(void*)));
}

TEST(BlockListTest, RemovingTheHeadMakesItsNextTheHeadWithNoPrev)
{
    Three t;
    block_remove(&t.list, t.newest);
    EXPECT_EQ(t.list, block_of(t.middle));
    EXPECT_EQ(t.list->prev, nullptr);
    EXPECT_EQ(t.list->next, block_of(t.oldest));
}

TEST(BlockListTest, RemovingAMiddleBlockJoinsItsNeighbours)
{
    Three t;
    block_remove(&t.list, t.middle);
    EXPECT_EQ(t.list, block_of(t.newest));
    EXPECT_EQ(block_of(t.newest)->next, block_of(t.oldest));
    EXPECT_EQ(block_of(t.oldest)->prev, block_of(t.newest));
}

TEST(BlockListTest, RemovingTheTailEndsTheListAtItsPrev)
{
    Three t;
    block_remove(&t.list, t.oldest);
    EXPECT_EQ(block_of(t.middle)->next, nullptr);
    EXPECT_EQ(t.list->next, block_of(t.middle));
}

TEST(BlockListTest, RemovingTheOnlyBlockEmptiesTheList)
{
    BlockList list = nullptr;
    void* only = block_insert(&list, BLOCK_LINK_BYTES + 8);
    ASSERT_NE(only, nullptr);
    block_remove(&list, only);
    EXPECT_EQ(list, nullptr);
}

TEST(BlockListTest, TooSmallABlockIsRefused)
{
    BlockList list = nullptr;
    EXPECT_EQ(block_insert(&list, 3), nullptr);
    EXPECT_EQ(list, nullptr);
}

}  // namespace
