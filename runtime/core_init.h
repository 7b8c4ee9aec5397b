// Start-up of the runtime's core: what every other library is built on.
#pragma once

// Records the module handle, then makes the general heap, the string heap
// with the calling thread's workspace, and the block-list heap, in that order.
// Once, first thing. False when any of them cannot be made.
bool runtime_core_init();
