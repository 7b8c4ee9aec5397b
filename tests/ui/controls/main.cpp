// Brings the runtime up in the program's own order, as far as the controls
// layer needs it.
#include <gtest/gtest.h>
#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/string_workspace.h"
#include "runtime/threads.h"
#include "ui/controls/control.h"
#include "ui/controls/font.h"
#include "ui/controls/status_bar.h"
#include "ui/windows/window.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    module_handle_init();
    general_heap_create();
    workspace_init();
    block_list_heap_create();
    font_library_init();
    init_windows();
    control_library_init();
    status_bar_library_init();
    threads_init();
    return RUN_ALL_TESTS();
}
