// The runtime's private heaps: the general heap (table headers, record arrays,
// process-wide records, small blocks) and the block-list heap (BlockList blocks).
// The string heap belongs to the string workspace.
#pragma once
#include <windows.h>
#include <stddef.h>

// Creates the growable, serialised general heap. Returns it, or null.
HANDLE general_heap_create();
// Destroys the general heap; the last step before the process exits.
void general_heap_destroy();
HANDLE general_heap();

// Creates the block-list heap. It is never destroyed.
HANDLE block_list_heap_create();
HANDLE block_list_heap();

// Zero-filled block from the general heap, or null.
void* general_alloc(size_t bytes);
// Frees a block of the general heap; null is ignored.
void general_free(void* block);
