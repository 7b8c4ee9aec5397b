// Block lists on the block-list heap.
#include "runtime/block_list.h"
#include "runtime/heaps.h"

void* block_insert(BlockList* list, size_t bytes)
{
    if (!list || bytes < BLOCK_LINK_BYTES || !block_list_heap())
        return nullptr;
    auto* block = static_cast<BlockLinks*>(HeapAlloc(block_list_heap(), HEAP_ZERO_MEMORY, bytes));
    if (!block)
        return nullptr;
    if (*list) {
        (*list)->prev = block;
        block->next = *list;
    }
    *list = block;
    return block_payload(block);
}

void block_remove(BlockList* list, void* payload)
{
    if (!list || !payload)
        return;
    BlockLinks* block = block_of(payload);
    if (block == *list) {
        *list = block->next;
        if (block->next)
            block->next->prev = nullptr;
    } else {
        if (block->prev)
            block->prev->next = block->next;
        if (block->next)
            block->next->prev = block->prev;
    }
    HeapFree(block_list_heap(), 0, block);
}
