// Brings up the heaps and the window library for the window tests.
#include <gtest/gtest.h>
#include "runtime/core_init.h"
#include "ui/windows/windows_lifetime.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!runtime_core_init())
        return 2;
    init_windows();
    return RUN_ALL_TESTS();
}
