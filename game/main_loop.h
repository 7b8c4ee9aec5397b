// The main thread's event loop between building the window and the end.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "runtime/threads.h"

// How a trial's thread is started: thread_create, or a stand-in in tests.
using TrialStarter = int32_t (*)(LPTHREAD_START_ROUTINE routine, void* argument);

// Keeps the delay spin's state and text in step and starts a trial for each
// press of Start Timer. It also takes the main window's callback, through
// which it takes finished trials into the session and opens the results
// window from the system menu; the results window's own keys, close request
// and Copy come to it as events. Returns 0 when the main window is closed.
int main_event_loop(TrialStarter start_thread = thread_create);
