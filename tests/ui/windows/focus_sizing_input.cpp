// Real input through SendInput, and waiting for it through wait_event.
#include "tests/ui/windows/focus_sizing_input.h"
#include "ui/windows/events.h"

INPUT key_input(WORD key, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (key >= VK_PRIOR && key <= VK_DOWN)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return in;
}

INPUT mouse_move_input(int x, int y)
{
    // Normalised to 0..65536 over the primary screen, rounded up so that both
    // truncating and rounding conversions back land on the same pixel.
    const long long width = GetSystemMetrics(SM_CXSCREEN);
    const long long height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65536LL + width - 1) / width);
    in.mi.dy = static_cast<LONG>((y * 65536LL + height - 1) / height);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

INPUT mouse_button_input(int x, int y, bool down)
{
    INPUT in = mouse_move_input(x, y);
    in.mi.dwFlags |= down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    return in;
}

void send_inputs(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void tap_key(WORD key, bool shift)
{
    if (shift)
        send_inputs({key_input(VK_SHIFT, false), key_input(key, false), key_input(key, true),
                     key_input(VK_SHIFT, true)});
    else
        send_inputs({key_input(key, false), key_input(key, true)});
}

bool wait_events_until(const std::function<bool()>& done, DWORD ms,
                       const std::function<void(int)>& seen)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms)
            return false;
        const int code = wait_event(20);
        if (code && seen)
            seen(code);
    }
    return true;
}

bool wait_for_key_up(WORD key, DWORD ms)
{
    bool found = false;
    wait_events_until([&] { return found; }, ms,
                      [&](int got) {
                          if ((got == WM_KEYUP || got == WM_SYSKEYUP) && event_wparam() == key)
                              found = true;
                      });
    return found;
}

POINT cursor_pos()
{
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

namespace {

bool aimed;
POINT aim;
DWORD last_echo;

LRESULT CALLBACK filter_echoes(int code, WPARAM remove, LPARAM data)
{
    MSG* msg = reinterpret_cast<MSG*>(data);
    if (code == HC_ACTION && msg->message == WM_MOUSEMOVE) {
        POINT at = {static_cast<short>(LOWORD(msg->lParam)),
                    static_cast<short>(HIWORD(msg->lParam))};
        MapWindowPoints(msg->hwnd, nullptr, &at, 1);
        if (!aimed || at.x != aim.x || at.y != aim.y) {
            msg->message = WM_NULL;
            last_echo = GetTickCount();
        }
    }
    return CallNextHookEx(nullptr, code, remove, data);
}

}  // namespace

EchoFilter::EchoFilter()
    : hook_(SetWindowsHookExA(WH_GETMESSAGE, filter_echoes, nullptr, GetCurrentThreadId()))
{
    aimed = false;
}

EchoFilter::~EchoFilter()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

void aim_pointer(int x, int y)
{
    aimed = true;
    aim = {x, y};
}

void aim_pointer_nowhere()
{
    aimed = false;
}

bool drive_pointer(int x, int y, const std::function<bool()>& done, DWORD ms)
{
    constexpr DWORD RESEND_MS = 300;
    aim_pointer(x, y);
    const DWORD start = GetTickCount();
    DWORD sent = start;
    send_inputs({mouse_move_input(x, y)});
    return wait_events_until(
        [&] {
            if (done())
                return true;
            if (GetTickCount() - sent >= RESEND_MS) {
                send_inputs({mouse_move_input(x, y)});
                sent = GetTickCount();
            }
            return false;
        },
        ms);
}

bool move_mouse_to(int x, int y)
{
    const bool arrived = drive_pointer(x, y, [&] {
        const POINT p = cursor_pos();
        return p.x == x && p.y == y;
    });
    let_pointer_settle();
    return arrived;
}

void let_pointer_settle()
{
    constexpr DWORD QUIET_MS = 200;
    const DWORD start = GetTickCount();
    wait_events_until([&] {
        const DWORD now = GetTickCount();
        return now - start >= QUIET_MS && now - last_echo >= QUIET_MS;
    });
    // Wine keeps a cursor position of its own beside the X server's pointer,
    // and an echo that is handed out, filtered or not, sets it back to the
    // echo's place while the X pointer stays where it went. Wine moves the X
    // pointer only when its own position changes, so a later move to that
    // place would change nothing, and GetCursorPos, which asks the X server
    // once the last change is 100 ms old, would still say where the pointer
    // was. Quiet for longer than that, GetCursorPos says where the X pointer
    // is: putting the cursor there makes the two agree.
    const POINT at = cursor_pos();
    SetCursorPos(at.x, at.y);
}

bool make_foreground(HWND window)
{
    SetForegroundWindow(window);
    return wait_events_until(
        [&] { return GetActiveWindow() == window && GetForegroundWindow() == window; });
}
