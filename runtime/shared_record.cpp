// Process-wide records on the general heap.
#include "runtime/shared_record.h"
#include "runtime/heaps.h"

void* shared_record_create(size_t size, SharedRecordInit init)
{
    void* record = general_alloc(size);
    if (record && init)
        init(record);
    return record;
}

void* shared_record_get(void* record)
{
    return record;
}
