// Brings the runtime up in the program's own order, as far as the controls
// layer needs it.
#include <gtest/gtest.h>
#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/string_workspace.h"
#include "runtime/threads.h"
#include "ui/controls/ui_libraries.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    module_handle_init();
    general_heap_create();
    workspace_init();
    block_list_heap_create();
    ui_libraries_init();
    threads_init();
    return RUN_ALL_TESTS();
}
