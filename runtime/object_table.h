// Registries of numbered objects. Caller-chosen numbers index a growable array
// of fixed-size records; ANY_NUMBER asks for a handed-out object whose number
// is its record's address. A record is live while its first word is non-zero.
#pragma once
#include <stdint.h>
#include "runtime/block_list.h"

using ObjectNumber = intptr_t;

constexpr ObjectNumber ANY_NUMBER = -1;

using FreeHook = void (*)(ObjectNumber number);

struct ObjectTable {
    int32_t record_size;
    int32_t grow_step;
    int32_t capacity;
    BlockList dynamic_head;
    FreeHook free_hook;
    int32_t walk_index;
    BlockLinks* walk_block;
    unsigned char* records;
};

// Null when the header or the first array cannot be allocated.
ObjectTable* table_create(int32_t record_size, int32_t grow_step, FreeHook free_hook);
// The record for `number` (growing the array and letting the free hook release
// an object that held the number first), a new handed-out record for
// ANY_NUMBER, or null when memory runs out or the number is not allocatable.
void* table_allocate(ObjectTable* table, ObjectNumber number);
// The live record for `number`, or null.
void* table_lookup(ObjectTable* table, ObjectNumber number);
// Frees the slot or block of `number`; does not call the free hook.
void table_release(ObjectTable* table, ObjectNumber number);
void table_walk_begin(ObjectTable* table);
// Next object of the walk: numbered ones in increasing order, then handed-out
// ones oldest first. Null at the end.
void* table_walk_next(ObjectTable* table, ObjectNumber* number);

// The number to use for a record that table_allocate returned.
inline ObjectNumber table_number_of(ObjectNumber requested, void* record)
{
    return requested == ANY_NUMBER ? reinterpret_cast<ObjectNumber>(record) : requested;
}

// What a create operation returns: the handed-out number (the record's
// address) for an object asked for with ANY_NUMBER, else its native handle.
// `number` may be the one asked for or the one table_number_of made of it.
inline intptr_t table_created_result(ObjectNumber number, const void* record, const void* handle)
{
    const auto own = reinterpret_cast<ObjectNumber>(record);
    return number == ANY_NUMBER || number == own ? own : reinterpret_cast<intptr_t>(handle);
}
