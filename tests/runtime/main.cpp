// Brings up the heaps that the runtime's tables and lists live on, the
// string workspace and the thread registry.
#include <gtest/gtest.h>
#include "runtime/heaps.h"
#include "runtime/string_workspace.h"
#include "runtime/threads.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    general_heap_create();
    if (!workspace_init())
        return 2;
    block_list_heap_create();
    threads_init();
    return RUN_ALL_TESTS();
}
