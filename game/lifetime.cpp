// Start-up and release of the runtime's libraries.
#include "game/lifetime.h"
#include "game/trial_gate.h"
#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/string_workspace.h"
#include "runtime/threads.h"
#include "ui/controls/font.h"
#include "ui/controls/ui_libraries.h"
#include "ui/windows/window.h"

void start_runtime()
{
    module_handle_init();
    general_heap_create();
    workspace_init();
    block_list_heap_create();
    ui_libraries_init();
    threads_init();
    trial_gate_init();
}

void release_runtime()
{
    trial_gate_close();
    thread_release_all();
    close_all_windows();
    free_all_fonts();
}
