// Start-up and release of the runtime's libraries.
#include "game/lifetime.h"
#include "game/clock.h"
#include "game/press_stamp.h"
#include "game/trial_gate.h"
#include "runtime/core_init.h"
#include "runtime/threads.h"
#include "ui/controls/font.h"
#include "ui/controls/ui_libraries.h"
#include "ui/windows/windows_lifetime.h"

void start_runtime()
{
    runtime_core_init();
    ui_libraries_init();
    threads_init();
    trial_gate_init();
    keep_timer_resolution();
    press_stamp_init();
}

void release_runtime()
{
    trial_gate_close();
    thread_release_all();
    close_all_windows();
    free_all_fonts();
}
