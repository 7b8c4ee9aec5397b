// Entry point: brings the runtime up, builds the main window, runs the event
// loop, and releases everything when the window is closed.
#include "game/game_objects.h"
#include "game/lifetime.h"
#include "game/main_loop.h"
#include "game/main_window.h"
#include "runtime/heaps.h"
#include "ui/controls/font.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    start_runtime();
    const auto readout_font =
        reinterpret_cast<HFONT>(load_font(FONT_READOUT, READOUT_FACE, READOUT_POINTS));
    if (!build_main_window(readout_font)) {
        // Without a window no close request can ever arrive.
        release_runtime();
        ExitProcess(1);
    }
    main_event_loop();
    release_runtime();
    general_heap_destroy();
    ExitProcess(0);
}
