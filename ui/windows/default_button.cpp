// Default buttons. The window is no dialog, so Enter comes in as an
// accelerator; translated before TranslateMessage, it never reaches the
// focused control as a character (an edit box outside a dialog answers '\r'
// with the error sound).
#include "ui/windows/default_button.h"
#include "runtime/heaps.h"
#include "ui/windows/window.h"

namespace {

constexpr ACCEL ENTER = {FVIRTKEY | FNOINVERT, VK_RETURN, CMD_DEFAULT_BUTTON};

bool has_enter(const Window* record)
{
    for (LONG i = 0; i < record->accel_count; ++i)
        if (record->accels[i].cmd == CMD_DEFAULT_BUTTON)
            return true;
    return false;
}

// The window's accelerators and Enter, as a new table in place of the old.
bool add_enter(Window* record)
{
    const LONG count = record->accel_count + 1;
    auto* accels = static_cast<ACCEL*>(general_alloc(count * sizeof(ACCEL)));
    if (!accels)
        return false;
    CopyMemory(accels, record->accels, record->accel_count * sizeof(ACCEL));
    accels[count - 1] = ENTER;
    HACCEL table = CreateAcceleratorTableA(accels, count);
    if (!table) {
        general_free(accels);
        return false;
    }
    general_free(record->accels);
    DestroyAcceleratorTable(record->accel_table);
    record->accels = accels;
    record->accel_count = count;
    record->accel_table = table;
    return true;
}

}  // namespace

bool set_default_button(ObjectNumber number, HWND button)
{
    Window* record = window_record(number);
    if (!record || !IsChild(record->handle, button))
        return false;
    if (!has_enter(record) && !add_enter(record))
        return false;
    SetPropA(record->handle, DEFAULT_BUTTON_PROP, button);
    return true;
}

bool press_default_button(HWND window)
{
    HWND button = static_cast<HWND>(GetPropA(window, DEFAULT_BUTTON_PROP));
    // A click could not reach a button that is gone, hidden or disabled (the
    // game's Start Timer while a trial runs), so Enter does nothing either.
    if (!button || !IsChild(window, button) || !IsWindowVisible(button) || !IsWindowEnabled(button))
        return false;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return true;
}
