// The clipboard: a global block handed to the system, freed on every path
// where the system did not take it.
#include "ui/windows/clipboard.h"
#include <string.h>
#include "runtime/scoped_win.h"

bool clipboard_put_text(HWND owner, const char* text, size_t length)
{
    ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, length + 1));
    if (!block.get())
        return false;
    auto* copy = static_cast<char*>(GlobalLock(block.get()));
    if (!copy)
        return false;
    memcpy(copy, text, length);
    copy[length] = '\0';
    GlobalUnlock(block.get());

    if (!OpenClipboard(owner))
        return false;
    const ScopeExit close_clipboard([] { CloseClipboard(); });
    if (!EmptyClipboard() || !SetClipboardData(CF_TEXT, block.get()))
        return false;
    block.hand_over();  // the system owns it now
    return true;
}
