// Keyboard focus cycling. Numbered windows are plain top-level windows, not
// dialogs, so Tab and Shift+Tab come in as accelerator commands and this file
// walks the tab stops itself.
#include "ui/windows/focus.h"
#include "ui/windows/window.h"
#include <richedit.h>
#include <string.h>

namespace {

constexpr char MDI_CHILD_CLASS[] = "MDI_ChildClass";
constexpr int CLASS_NAME_SIZE = 50;
// A rich edit control is recognised by these first four letters alone.
constexpr char RICH_PREFIX[] = "Rich";
constexpr int RICH_PREFIX_LENGTH = 4;

// What one cycle_focus call shares with its enumeration callback.
struct FocusSearch {
    HWND current;    // the window to move on from; null when starting afresh
    HWND previous;   // last tab stop passed going backward
    LONG take_next;  // forward: current has been passed
    LONG done;       // backward: the focus has moved
};

bool is_tab_stop(HWND window)
{
    return IsWindowEnabled(window) && IsWindowVisible(window) &&
           (GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP);
}

BOOL CALLBACK forward_step(HWND window, LPARAM data)
{
    FocusSearch* search = reinterpret_cast<FocusSearch*>(data);
    if (!is_tab_stop(window))
        return TRUE;
    if (search->take_next) {
        SetFocus(window);
        search->take_next = 0;
        return FALSE;
    }
    if (!search->current) {
        SetFocus(window);
        return FALSE;
    }
    if (window == search->current)
        search->take_next = 1;
    return TRUE;
}

BOOL CALLBACK backward_step(HWND window, LPARAM data)
{
    FocusSearch* search = reinterpret_cast<FocusSearch*>(data);
    if (!is_tab_stop(window))
        return TRUE;
    BOOL go_on = TRUE;
    if (window == search->current && search->previous) {
        SetFocus(search->previous);
        search->done = 1;
        go_on = FALSE;
    }
    search->previous = window;
    return go_on;
}

bool key_down(int key)
{
    return (GetKeyState(key) & 0x80) != 0;
}

}  // namespace

void cycle_focus(int backward)
{
    HWND container = GetActiveWindow();
    // Enumerating the children of no window would walk every top-level
    // window on the desktop.
    if (!container)
        return;
    HWND focus = GetFocus();
    FocusSearch search = {};

    if (IsChild(container, focus)) {
        search.current = focus;
        // The outermost MDI child around the focus keeps the cycle inside it.
        for (HWND w = focus; w; w = GetParent(w)) {
            char name[CLASS_NAME_SIZE] = {};
            GetClassNameA(w, name, CLASS_NAME_SIZE);
            if (strcmp(name, MDI_CHILD_CLASS) == 0) {
                container = w;
                if (w == focus)
                    search.current = nullptr;
            }
        }
    }

    const LPARAM data = reinterpret_cast<LPARAM>(&search);
    if (!backward) {
        EnumChildWindows(container, forward_step, data);
        if (search.take_next)
            EnumChildWindows(container, forward_step, data);
    } else {
        EnumChildWindows(container, backward_step, data);
        if (!search.done && search.previous)
            SetFocus(search.previous);
    }
}

HACCEL accelerators_for(HWND window)
{
    // An editable rich edit control takes a plain Tab as text.
    if (key_down(VK_TAB) && !key_down(VK_CONTROL) && !key_down(VK_SHIFT) && !key_down(VK_MENU)) {
        HWND focus = GetFocus();
        char name[RICH_PREFIX_LENGTH + 1] = {};
        GetClassNameA(focus, name, sizeof name);
        if (strncmp(name, RICH_PREFIX, RICH_PREFIX_LENGTH) == 0 &&
            !(SendMessageA(focus, EM_GETOPTIONS, 0, 0) & ECO_READONLY))
            return nullptr;
    }

    // Only a numbered window itself: not a window it owns, such as a message box.
    const Window* record = window_record(window_number_of(window));
    return record && record->handle == window ? record->accel_table : nullptr;
}
