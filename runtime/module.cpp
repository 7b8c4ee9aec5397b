// The program's module handle.
#include "runtime/module.h"

namespace {
HINSTANCE the_module;
}

HINSTANCE module_handle_init()
{
    the_module = GetModuleHandleA(nullptr);
    return the_module;
}

HINSTANCE module_handle()
{
    return the_module ? the_module : GetModuleHandleA(nullptr);
}
