// Real mouse and keyboard input through SendInput, as a person would give it.
#pragma once
#include <windows.h>

// Moves the pointer to a screen point.
void input_move(int x, int y);
// Presses and releases the left button at a screen point.
void input_click(int x, int y);
void input_left_down(int x, int y);
void input_left_up(int x, int y);
void input_key_down(WORD vk);
void input_key_up(WORD vk);
// Presses and releases a key.
void input_key(WORD vk);
// Holds a key down for `ms` milliseconds, as a finger does. A program that
// samples the key's state now and then misses a press shorter than its period.
void input_key_held(WORD vk, DWORD ms);
// Holds a key down for `ms` milliseconds with its key-down coming again every
// 33 ms, as a keyboard repeats a held key.
void input_key_held_repeating(WORD vk, DWORD ms);
// Presses a key while a modifier (VK_MENU, VK_SHIFT, VK_CONTROL) is held.
void input_key_with(WORD modifier, WORD vk);
// Types the characters of a text made of digits and letters.
void input_text(const char* text);
// Brings a top-level window to the front so that input reaches it.
void bring_to_front(HWND window);
