// Start-up of the runtime's core.
#include "runtime/core_init.h"
#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/string_workspace.h"

bool runtime_core_init()
{
    module_handle_init();
    const bool general = general_heap_create() != nullptr;
    const bool strings = workspace_init();
    const bool blocks = block_list_heap_create() != nullptr;
    return general && strings && blocks;
}
