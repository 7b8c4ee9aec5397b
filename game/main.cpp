// Entry point: brings the runtime up, shows the main window and waits until
// the user closes it.
#include "runtime/heaps.h"
#include "runtime/module.h"
#include "ui/windows/events.h"
#include "ui/windows/window.h"

constexpr ObjectNumber WINDOW_MAIN = 0;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    module_handle_init();
    general_heap_create();
    block_list_heap_create();
    init_windows();
    if (!open_window(WINDOW_MAIN, 410, 283, 255, 192, "Flinchmeter", 0xC80003))
        ExitProcess(1);
    while (wait_event() != EVENT_CLOSE_WINDOW) {
    }
    close_all_windows();
    general_heap_destroy();
    ExitProcess(0);
}
