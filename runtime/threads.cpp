// The thread registry: started threads by number, newest first, under the
// thread lock. Ended threads are reaped when the next one is started.
#include "runtime/threads.h"
#include "runtime/block_list.h"
#include "runtime/scoped_win.h"

namespace {

CRITICAL_SECTION thread_lock;
bool thread_lock_ready;
BlockList thread_list;
int32_t next_thread_number = 1;

bool has_ended(HANDLE handle)
{
    return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
}

ThreadRecord* record_of(BlockLinks* block)
{
    return static_cast<ThreadRecord*>(block_payload(block));
}

// Closes and unlinks every ended thread from `block` to the oldest. A failed
// wait keeps the record.
void reap_from(BlockLinks* block)
{
    while (block) {
        BlockLinks* older = block->next;
        ThreadRecord* record = record_of(block);
        if (has_ended(record->handle)) {
            CloseHandle(record->handle);
            block_remove(&thread_list, record);
        }
        block = older;
    }
}

// The newest record with `number`, or null. Under the lock.
ThreadRecord* find(int32_t number)
{
    for (BlockLinks* block = thread_list; block; block = block->next) {
        if (record_of(block)->number == number)
            return record_of(block);
    }
    return nullptr;
}

}  // namespace

void threads_init()
{
    if (!thread_lock_ready) {
        InitializeCriticalSection(&thread_lock);
        thread_lock_ready = true;
    }
}

int32_t thread_create(LPTHREAD_START_ROUTINE routine, void* argument)
{
    return thread_create_with_stack(routine, argument, THREAD_STACK_COMMIT);
}

int32_t thread_create_with_stack(LPTHREAD_START_ROUTINE routine, void* argument,
                                 SIZE_T stack_commit)
{
    if (!thread_lock_ready || !routine)
        return 0;
    SectionLock hold(&thread_lock);
    // The record comes first: once the thread runs, there is no way back.
    auto* record = static_cast<ThreadRecord*>(
        block_insert(&thread_list, BLOCK_LINK_BYTES + sizeof(ThreadRecord)));
    if (!record)
        return 0;
    DWORD id = 0;
    HANDLE handle = CreateThread(nullptr, stack_commit, routine, argument, 0, &id);
    if (!handle) {
        block_remove(&thread_list, record);
        return 0;
    }
    reap_from(block_of(record)->next);
    record->handle = handle;
    record->number = next_thread_number++;
    return record->number;
}

HANDLE thread_handle(int32_t number)
{
    if (!thread_lock_ready)
        return nullptr;
    SectionLock hold(&thread_lock);
    ThreadRecord* record = find(number);
    if (!record || has_ended(record->handle))
        return nullptr;
    return record->handle;
}

int thread_is_running(int32_t number)
{
    // One look under the lock: the handle is never used after a reap on
    // another thread could have closed it.
    return thread_handle(number) ? 1 : 0;
}

void thread_release_all()
{
    if (!thread_lock_ready)
        return;
    SectionLock hold(&thread_lock);
    while (thread_list) {
        ThreadRecord* record = record_of(thread_list);
        CloseHandle(record->handle);
        block_remove(&thread_list, record);
    }
}

int32_t thread_record_count()
{
    if (!thread_lock_ready)
        return 0;
    SectionLock hold(&thread_lock);
    int32_t count = 0;
    for (BlockLinks* block = thread_list; block; block = block->next)
        ++count;
    return count;
}
