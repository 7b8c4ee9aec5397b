// Real keyboard and mouse input for the focus and sizing tests, and waiting
// for its effects through wait_event.
#pragma once
#include <windows.h>
#include <functional>
#include <vector>
#include "tests/support/events.h"

INPUT key_input(WORD key, bool up);
// Absolute mouse move to a screen pixel, and the left button there.
INPUT mouse_move_input(int x, int y);
INPUT mouse_button_input(int x, int y, bool down);
// One SendInput batch, so nothing of ours runs between its parts.
void send_inputs(std::vector<INPUT> inputs);
// Presses and releases `key`, holding Shift around it when asked.
void tap_key(WORD key, bool shift = false);

// Runs wait_event until `done` holds or `ms` milliseconds pass; every code it
// returns is handed to `seen` first. Returns whether `done` held.
bool wait_events_until(const std::function<bool()>& done, DWORD ms = 5000,
                       const std::function<void(int)>& seen = nullptr);
// Waits until the release of `key` has come through, as WM_KEYUP or, with no
// focus in the active window, as WM_SYSKEYUP.
bool wait_for_key_up(WORD key, DWORD ms = 5000);
POINT cursor_pos();

// Under Wine on Xvfb the X server's pointer trails the cursor that SendInput
// and SetCursorPos move, and Wine turns what the X server reports into
// further WM_MOUSEMOVE messages at earlier positions; one of these can also
// take the place of a move still waiting in the queue. Windows has no such
// echoes. While an EchoFilter lives, a message hook on this thread turns
// every WM_MOUSEMOVE that is not at the aimed point into WM_NULL before it is
// handed out; at first no point is aimed at.
class EchoFilter {
public:
    EchoFilter();
    ~EchoFilter();
    EchoFilter(const EchoFilter&) = delete;
    EchoFilter& operator=(const EchoFilter&) = delete;

private:
    HHOOK hook_;
};
void aim_pointer(int x, int y);
void aim_pointer_nowhere();
// Aims at (x, y) and moves the pointer there until `done` holds, moving it
// again from time to time in case an echo took the move's place.
bool drive_pointer(int x, int y, const std::function<bool()>& done, DWORD ms = 5000);
// Drives the pointer to (x, y) until the cursor is there, then lets it settle.
bool move_mouse_to(int x, int y);
// Waits until no echo has come for a while: Wine then reports the X
// server's pointer as the cursor position again, not the last echo's. Then
// puts Wine's own cursor where the X pointer is (see the .cpp).
void let_pointer_settle();

// Brings `window` to the front and waits until it is the active window.
bool make_foreground(HWND window);
