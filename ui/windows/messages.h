// What the windows layer's message handlers, hooks and callbacks share: the
// answers that say a message was not handled, and the reading of a system
// command.
#pragma once
#include <windows.h>

// A hook or handler did not handle the message; the default processing follows.
constexpr LRESULT NOT_HANDLED = static_cast<LRESULT>(0xD0D0D0D1u);
// A window callback asks for the built-in handling to run.
constexpr LRESULT CALLBACK_DEFAULT = static_cast<LRESULT>(0xE0E0E0E1u);

// WM_SYSCOMMAND's command: the system keeps the low four bits of wParam.
constexpr WPARAM system_command(WPARAM wparam)
{
    return wparam & 0xFFF0;
}
