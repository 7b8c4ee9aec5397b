// The program's module (instance) handle, which the window and control
// libraries need to register classes, load the icon and create windows.
#pragma once
#include <windows.h>

// Records GetModuleHandleA(NULL); the entry point calls it first.
HINSTANCE module_handle_init();
HINSTANCE module_handle();
