// The press stamp. The hook runs on the main thread and the trial reads the
// stamp on its own, so both words are only touched with interlocked calls
// (a 64-bit word is not read in one go on 32-bit Windows).
#include "game/press_stamp.h"
#include <windows.h>
#include "game/clock.h"

namespace {

HHOOK hook;
volatile LONG armed;
volatile LONG64 stamp;  // 0: none yet

// Set in a key message's lParam when the key was already down: an auto-repeat.
constexpr LPARAM KEY_WAS_DOWN = LPARAM(1) << 30;

// Without the focus on a window, keys come as system keys; they are presses
// too, as the key's state says.
bool fresh_space_down(const MSG& msg)
{
    return (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_SPACE &&
           !(msg.lParam & KEY_WAS_DOWN);
}

// Runs as GetMessage or PeekMessage retrieves a message, in every message
// loop of the thread, the system's own included.
LRESULT CALLBACK stamp_press(int code, WPARAM removal, LPARAM data)
{
    if (code == HC_ACTION && armed && fresh_space_down(*reinterpret_cast<const MSG*>(data)))
        InterlockedCompareExchange64(&stamp, fine_now(), 0);  // the first one only
    return CallNextHookEx(nullptr, code, removal, data);
}

}  // namespace

bool press_stamp_init()
{
    if (!hook)
        hook = SetWindowsHookExA(WH_GETMESSAGE, stamp_press, nullptr, GetCurrentThreadId());
    return hook != nullptr;
}

void press_stamp_arm()
{
    InterlockedExchange64(&stamp, 0);
    InterlockedExchange(&armed, 1);
}

int64_t press_stamp(int64_t go)
{
    const int64_t at = InterlockedCompareExchange64(&stamp, 0, 0);
    // One taken by the hook just as an earlier trial disarmed, before this
    // one's go text, is no press of this trial.
    return at >= go ? at : 0;
}

void press_stamp_disarm()
{
    InterlockedExchange(&armed, 0);
}
