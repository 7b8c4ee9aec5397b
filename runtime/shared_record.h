// Process-wide records (event state, control list, sizing state): made once at
// start-up and reached through one accessor from every thread.
#pragma once
#include <stddef.h>

using SharedRecordInit = void (*)(void* record);

// Zero-filled record from the general heap, passed to `init` when given.
// Null when it cannot be allocated.
void* shared_record_create(size_t size, SharedRecordInit init);
// The same record.
void* shared_record_get(void* record);

template <typename T>
T* shared_record_get(T* record)
{
    return static_cast<T*>(shared_record_get(static_cast<void*>(record)));
}
