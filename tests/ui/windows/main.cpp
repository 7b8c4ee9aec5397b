// Brings up the heaps and the window library for the window tests.
#include <gtest/gtest.h>
#include "runtime/heaps.h"
#include "runtime/module.h"
#include "ui/windows/window.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    module_handle_init();
    general_heap_create();
    block_list_heap_create();
    init_windows();
    return RUN_ALL_TESTS();
}
