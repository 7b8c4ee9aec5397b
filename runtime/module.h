// The program's module (instance) handle, which the window and control
// libraries need to register classes, load the icon and create windows.
#pragma once
#include <windows.h>

// Records GetModuleHandleA(NULL); the entry point calls it first.
HINSTANCE module_handle_init();
HINSTANCE module_handle();

// A function of a system DLL that not every Windows has, looked up at run
// time so that the program still starts where it is missing; null there.
// `Function` is its pointer type, WINAPI included.
template <typename Function>
Function system_function(const char* dll, const char* name)
{
    HMODULE module = GetModuleHandleA(dll);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
