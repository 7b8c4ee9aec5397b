// The windows layer's start-up and end.
#include "ui/windows/windows_lifetime.h"
#include "ui/windows/events.h"
#include "ui/windows/sizing.h"
#include "ui/windows/window.h"
#include "ui/windows/window_proc.h"

void init_windows()
{
    window_table_init(window_proc);
    event_state_init();
    sizing_init();
}

void close_all_windows()
{
    close_open_windows();
    drop_data_release();
}
