// Brings up the heaps that the runtime's tables and lists live on, the
// string workspace and the thread registry.
#include <gtest/gtest.h>
#include "runtime/core_init.h"
#include "runtime/threads.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!runtime_core_init())
        return 2;
    threads_init();
    return RUN_ALL_TESTS();
}
