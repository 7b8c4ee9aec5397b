// The general heap and the block-list heap.
#include "runtime/heaps.h"

namespace {
HANDLE the_general_heap;
HANDLE the_block_list_heap;
}  // namespace

HANDLE general_heap_create()
{
    the_general_heap = HeapCreate(0, 4096, 0);
    return the_general_heap;
}

void general_heap_destroy()
{
    if (the_general_heap) {
        HeapDestroy(the_general_heap);
        the_general_heap = nullptr;
    }
}

HANDLE general_heap()
{
    return the_general_heap;
}

HANDLE block_list_heap_create()
{
    the_block_list_heap = HeapCreate(0, 1024, 0);
    return the_block_list_heap;
}

HANDLE block_list_heap()
{
    return the_block_list_heap;
}

void* general_alloc(size_t bytes)
{
    if (!the_general_heap)
        return nullptr;
    return HeapAlloc(the_general_heap, HEAP_ZERO_MEMORY, bytes);
}

void general_free(void* block)
{
    if (block && the_general_heap)
        HeapFree(the_general_heap, 0, block);
}
