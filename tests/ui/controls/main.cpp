// Brings the runtime up in the program's own order, as far as the controls
// layer needs it.
#include <gtest/gtest.h>
#include "runtime/core_init.h"
#include "runtime/threads.h"
#include "ui/controls/ui_libraries.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!runtime_core_init())
        return 2;
    ui_libraries_init();
    threads_init();
    return RUN_ALL_TESTS();
}
