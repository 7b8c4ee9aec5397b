// Worker threads named by small numbers (1, 2, 3, ...), with a registry that
// reaps ended threads lazily.
#pragma once
#include <windows.h>
#include <stdint.h>

struct ThreadRecord {
    HANDLE handle;
    int32_t number;
};

void threads_init();
// The new thread's number, or 0 when it could not be started.
int32_t thread_create(LPTHREAD_START_ROUTINE routine, void* argument);
// The handle while the thread runs; null for no such thread or an ended one.
HANDLE thread_handle(int32_t number);
int thread_is_running(int32_t number);
// Closes every registered handle without waiting for or stopping any thread.
void thread_release_all();
