// Brings up the heaps that the runtime's tables and lists live on.
#include <gtest/gtest.h>
#include "runtime/heaps.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    general_heap_create();
    block_list_heap_create();
    return RUN_ALL_TESTS();
}
