// The clipboard: a global block handed to the system, freed on every path
// where the system did not take it.
#include "ui/windows/clipboard.h"
#include <string.h>

namespace {

class OpenClipboardGuard {
public:
    explicit OpenClipboardGuard(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~OpenClipboardGuard()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardGuard(const OpenClipboardGuard&) = delete;
    OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

class GlobalBlock {
public:
    explicit GlobalBlock(size_t bytes) : block_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalBlock()
    {
        if (block_)
            GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return block_; }
    // The system owns it from now on.
    void hand_over() { block_ = nullptr; }

private:
    HGLOBAL block_;
};

} // namespace

bool clipboard_put_text(HWND owner, const char* text, size_t length)
{
    GlobalBlock block(length + 1);
    if (!block.get())
        return false;
    auto* copy = static_cast<char*>(GlobalLock(block.get()));
    if (!copy)
        return false;
    memcpy(copy, text, length);
    copy[length] = '\0';
    GlobalUnlock(block.get());

    OpenClipboardGuard clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block.get()))
        return false;
    block.hand_over();
    return true;
}
