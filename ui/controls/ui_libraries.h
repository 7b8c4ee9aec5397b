// Start-up of the user-interface libraries. It lives with the controls, the
// highest of them, because it starts the lower ones too.
#pragma once

// Once, after the heaps and the string workspace: the font table, the window
// library (with the event and sizing state), the brush lock, the control
// library and the status-bar table, in the order each needs the one before.
void ui_libraries_init();
