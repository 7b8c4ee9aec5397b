// Putting text on the clipboard.
#pragma once
#include <windows.h>
#include <stddef.h>

// Replaces the clipboard's contents with `length` bytes of `text` as CF_TEXT
// (a terminator is added), the clipboard owned by `owner`. False when the
// clipboard cannot be opened or memory cannot be had; the clipboard is then
// left as it was or empty.
bool clipboard_put_text(HWND owner, const char* text, size_t length);
