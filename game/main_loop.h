// The main thread's event loop between building the window and the end.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "runtime/threads.h"

// How a trial's thread is started: thread_create, or a stand-in in tests.
using TrialStarter = int32_t (*)(LPTHREAD_START_ROUTINE routine, void* argument);

// Keeps the delay spin's state and text in step and starts a trial for each
// press of Start Timer. Returns 0 when the window is closed.
int main_event_loop(TrialStarter start_thread = thread_create);
