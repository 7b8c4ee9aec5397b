// The main thread's event loop between building the window and the end.
#pragma once

// Keeps the delay spin's state and text in step and starts a trial for each
// press of Start Timer. Returns 0 when the window is closed.
int main_event_loop();
