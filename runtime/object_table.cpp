// Numbered object tables.
#include "runtime/object_table.h"
#include "runtime/heaps.h"

namespace {

bool in_array(const ObjectTable* table, ObjectNumber number)
{
    return number >= 0 && number < table->capacity;
}

unsigned char* slot(const ObjectTable* table, ObjectNumber number)
{
    return table->records + number * table->record_size;
}

bool is_live(const void* record)
{
    return *static_cast<const uintptr_t*>(record) != 0;
}

// A handed-out number is trusted only if this table handed it out and still
// holds it; anything else could be an arbitrary address.
BlockLinks* handed_out_block(const ObjectTable* table, ObjectNumber number)
{
    for (BlockLinks* b = table->dynamic_head; b; b = b->next)
        if (reinterpret_cast<ObjectNumber>(block_payload(b)) == number)
            return b;
    return nullptr;
}

}  // namespace

ObjectTable* table_create(int32_t record_size, int32_t grow_step, FreeHook free_hook)
{
    if (record_size < static_cast<int32_t>(sizeof(uintptr_t)) || grow_step <= 0)
        return nullptr;
    auto* table = static_cast<ObjectTable*>(general_alloc(sizeof(ObjectTable)));
    if (!table)
        return nullptr;
    table->records =
        static_cast<unsigned char*>(general_alloc(static_cast<size_t>(grow_step) * record_size));
    if (!table->records) {
        general_free(table);
        return nullptr;
    }
    table->record_size = record_size;
    table->grow_step = grow_step;
    table->capacity = grow_step;
    table->free_hook = free_hook;
    return table;
}

void* table_allocate(ObjectTable* table, ObjectNumber number)
{
    if (!table)
        return nullptr;
    if (number == ANY_NUMBER)
        return block_insert(&table->dynamic_head, BLOCK_LINK_BYTES + table->record_size);
    if (number < 0)
        return nullptr;
    if (number >= table->capacity) {
        // The array moves. Lookups take no lock, so a table that another
        // thread reads must never get here while it does: the game's trial
        // reads the control, status-bar and window tables while the main
        // thread may create controls and windows, and every number the game
        // uses lies within their first allocations (game/game_objects.h).
        const int64_t wanted = static_cast<int64_t>(number) + table->grow_step;
        const int64_t bytes = wanted * table->record_size;
        if (wanted > INT32_MAX || bytes > INT32_MAX)
            return nullptr;
        void* grown = HeapReAlloc(general_heap(), HEAP_ZERO_MEMORY, table->records,
                                  static_cast<size_t>(bytes));
        if (!grown)
            return nullptr;
        table->records = static_cast<unsigned char*>(grown);
        table->capacity = static_cast<int32_t>(wanted);
    }
    if (table->free_hook)
        table->free_hook(number);
    // Address taken after the hook, in case its teardown touched the array.
    return slot(table, number);
}

void* table_lookup(ObjectTable* table, ObjectNumber number)
{
    if (!table)
        return nullptr;
    void* record;
    if (in_array(table, number)) {
        record = slot(table, number);
    } else {
        BlockLinks* block = handed_out_block(table, number);
        if (!block)
            return nullptr;
        record = block_payload(block);
    }
    return is_live(record) ? record : nullptr;
}

void table_release(ObjectTable* table, ObjectNumber number)
{
    if (!table)
        return;
    if (in_array(table, number)) {
        ZeroMemory(slot(table, number), table->record_size);
        return;
    }
    if (BlockLinks* block = handed_out_block(table, number)) {
        if (table->walk_block == block)
            table->walk_block = block->prev;
        block_remove(&table->dynamic_head, block_payload(block));
    }
}

void table_walk_begin(ObjectTable* table)
{
    if (!table)
        return;
    table->walk_index = 0;
    table->walk_block = table->dynamic_head;
    while (table->walk_block && table->walk_block->next)
        table->walk_block = table->walk_block->next;
}

void* table_walk_next(ObjectTable* table, ObjectNumber* number)
{
    if (!table)
        return nullptr;
    while (table->walk_index >= 0 && table->walk_index < table->capacity) {
        const int32_t index = table->walk_index++;
        void* record = slot(table, index);
        if (is_live(record)) {
            if (number)
                *number = index;
            return record;
        }
    }
    if (BlockLinks* block = table->walk_block) {
        table->walk_block = block->prev;
        void* record = block_payload(block);
        if (number)
            *number = reinterpret_cast<ObjectNumber>(record);
        return record;
    }
    return nullptr;
}
