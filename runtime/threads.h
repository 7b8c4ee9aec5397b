// Worker threads named by small numbers (1, 2, 3, ...), with a registry that
// reaps ended threads lazily.
#pragma once
#include <windows.h>
#include <stdint.h>

struct ThreadRecord {
    HANDLE handle;
    int32_t number;
};

// The stack a worker thread starts with committed; it grows on demand.
constexpr SIZE_T THREAD_STACK_COMMIT = 4096;

// Makes the thread lock. Until then no thread is started or found.
void threads_init();
// The new thread's number, or 0 when it could not be started. The record is
// made before the thread starts, so a thread never runs unregistered: when
// the record cannot be made, no thread is started.
int32_t thread_create(LPTHREAD_START_ROUTINE routine, void* argument);
// thread_create with another initial stack commitment.
int32_t thread_create_with_stack(LPTHREAD_START_ROUTINE routine, void* argument,
                                 SIZE_T stack_commit);
// The handle while the thread runs; null for no such thread or an ended one.
HANDLE thread_handle(int32_t number);
int thread_is_running(int32_t number);
// Closes every registered handle without waiting for or stopping any thread.
void thread_release_all();
// How many threads are registered (running, or ended and not yet reaped).
int32_t thread_record_count();
