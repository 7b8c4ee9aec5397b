// SendInput helpers.
#include "tests/support/input.h"
#include "tests/support/pump.h"

namespace {

void send_mouse(int x, int y, DWORD flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Absolute coordinates are 0..65535 over the primary screen.
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((x * 65536LL + w / 2) / w);
    in.mi.dy = static_cast<LONG>((y * 65536LL + h / 2) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void send_key(WORD vk, DWORD flags)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

}  // namespace

void input_move(int x, int y)
{
    send_mouse(x, y, 0);
}
void input_left_down(int x, int y)
{
    send_mouse(x, y, MOUSEEVENTF_LEFTDOWN);
}
void input_left_up(int x, int y)
{
    send_mouse(x, y, MOUSEEVENTF_LEFTUP);
}

void input_click(int x, int y)
{
    input_move(x, y);
    input_left_down(x, y);
    input_left_up(x, y);
}

void input_key_down(WORD vk)
{
    send_key(vk, 0);
}
void input_key_up(WORD vk)
{
    send_key(vk, KEYEVENTF_KEYUP);
}

void input_key(WORD vk)
{
    input_key_down(vk);
    input_key_up(vk);
}

void input_key_held(WORD vk, DWORD ms)
{
    input_key_down(vk);
    Sleep(ms);
    input_key_up(vk);
}

void input_key_held_repeating(WORD vk, DWORD ms)
{
    constexpr DWORD REPEAT_MS = 33;
    for (DWORD held = 0; held < ms; held += REPEAT_MS) {
        input_key_down(vk);
        Sleep(REPEAT_MS);
    }
    input_key_up(vk);
}

void input_key_with(WORD modifier, WORD vk)
{
    input_key_down(modifier);
    input_key(vk);
    input_key_up(modifier);
}

void input_text(const char* text)
{
    for (; *text; ++text) {
        char c = *text;
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        input_key(static_cast<WORD>(c));
    }
}

void bring_to_front(HWND window)
{
    SetForegroundWindow(window);
    SetActiveWindow(window);
    pump_until([&] { return GetForegroundWindow() == window; }, 2000);
}
