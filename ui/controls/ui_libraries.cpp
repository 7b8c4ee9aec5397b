// Start-up of the user-interface libraries.
#include "ui/controls/ui_libraries.h"
#include "ui/controls/brush_cache.h"
#include "ui/controls/control.h"
#include "ui/controls/font.h"
#include "ui/controls/status_bar.h"
#include "ui/windows/windows_lifetime.h"

void ui_libraries_init()
{
    font_library_init();
    init_windows();
    // The brush lock before the control library, whose kinds share the brushes.
    brush_cache_init();
    control_library_init();
    status_bar_library_init();
}
