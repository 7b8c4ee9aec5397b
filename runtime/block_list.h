// Doubly linked lists of zero-filled blocks on the block-list heap. A list is
// one word, its head (the newest block). Users hold the payload address, which
// lies two link words into the block.
#pragma once
#include <stddef.h>

struct BlockLinks {
    BlockLinks* next;  // next older block, null at the oldest
    BlockLinks* prev;  // next newer block, null at the head
};

using BlockList = BlockLinks*;

constexpr size_t BLOCK_LINK_BYTES = sizeof(BlockLinks);

// Links a new block of `bytes` (link words included) at the head and returns
// its payload, or null when the heap cannot supply it.
void* block_insert(BlockList* list, size_t bytes);
// Unlinks the block that carries `payload` and frees it.
void block_remove(BlockList* list, void* payload);

inline BlockLinks* block_of(void* payload)
{
    return reinterpret_cast<BlockLinks*>(payload) - 1;
}

inline void* block_payload(BlockLinks* block)
{
    return block + 1;
}
