// The string heap, the per-thread workspaces and string variables.
//
// Each thread finds its workspace through a fiber-local slot; the slot's
// callback gives the workspace back to the heap when the thread ends. The
// heap is serialised, so any thread may make and free string variables.
#include "runtime/string_workspace.h"
#include <string.h>

namespace {

constexpr int32_t FIRST_BLOCK_BYTES = 16;
constexpr int32_t GROWTH_BYTES = 16384;
// Kept free below capacity by a reservation, for the terminator.
constexpr int32_t RESERVE_MARGIN = 4;
// Beyond capacity in a grown block, and beyond the text in a variable's block.
constexpr int32_t SPARE_BYTES = 5;

HANDLE the_string_heap;
DWORD the_workspace_slot = FLS_OUT_OF_INDEXES;

void free_workspace(StringWorkspace* ws)
{
    if (ws->base)
        HeapFree(the_string_heap, 0, ws->base);
    HeapFree(the_string_heap, 0, ws);
}

// Runs when a thread that made a workspace ends.
void WINAPI workspace_thread_end(void* data)
{
    if (data)
        free_workspace(static_cast<StringWorkspace*>(data));
}

StringWorkspace* make_workspace()
{
    auto* ws = static_cast<StringWorkspace*>(
        HeapAlloc(the_string_heap, HEAP_ZERO_MEMORY, sizeof(StringWorkspace)));
    if (!ws)
        return nullptr;
    ws->base = static_cast<char*>(HeapAlloc(the_string_heap, HEAP_ZERO_MEMORY, FIRST_BLOCK_BYTES));
    ws->capacity = FIRST_BLOCK_BYTES;
    if (!ws->base || !FlsSetValue(the_workspace_slot, ws)) {
        free_workspace(ws);
        return nullptr;
    }
    return ws;
}

void set_used(StringWorkspace* ws, int64_t used)
{
    if (used < 0)
        used = 0;
    if (used > ws->capacity)
        used = ws->capacity;
    ws->used = static_cast<int32_t>(used);
}

}  // namespace

bool workspace_init()
{
    if (!the_string_heap) {
        the_string_heap = HeapCreate(0, 4096, 0);
        if (!the_string_heap)
            return false;
    }
    if (the_workspace_slot == FLS_OUT_OF_INDEXES) {
        the_workspace_slot = FlsAlloc(workspace_thread_end);
        if (the_workspace_slot == FLS_OUT_OF_INDEXES)
            return false;
    }
    return workspace() != nullptr;
}

HANDLE string_heap()
{
    return the_string_heap;
}

StringWorkspace* workspace()
{
    if (the_workspace_slot == FLS_OUT_OF_INDEXES)
        return nullptr;
    auto* ws = static_cast<StringWorkspace*>(FlsGetValue(the_workspace_slot));
    return ws ? ws : make_workspace();
}

char* workspace_reserve(int32_t request, int32_t pos)
{
    StringWorkspace* ws = workspace();
    if (!ws || request < 0 || pos < 0)
        return nullptr;
    // Measured from pos as well as from used: a pos beyond used must not
    // write past the block.
    const int64_t end = static_cast<int64_t>(ws->used > pos ? ws->used : pos) + request;
    if (end >= ws->capacity - RESERVE_MARGIN) {
        const int64_t capacity = end + GROWTH_BYTES;
        if (capacity + SPARE_BYTES > INT32_MAX || static_cast<int64_t>(pos) + request > INT32_MAX)
            return nullptr;
        void* block =
            HeapReAlloc(the_string_heap, 0, ws->base, static_cast<SIZE_T>(capacity + SPARE_BYTES));
        if (!block)
            return nullptr;
        ws->base = static_cast<char*>(block);
        ws->capacity = static_cast<int32_t>(capacity);
    }
    ws->used = pos + request;
    return ws->base + pos;
}

int32_t workspace_give_back(int32_t count)
{
    if (StringWorkspace* ws = workspace())
        set_used(ws, static_cast<int64_t>(ws->used) - count);
    return count;
}

int32_t workspace_used()
{
    StringWorkspace* ws = workspace();
    return ws ? ws->used : 0;
}

void workspace_set_used(int32_t used)
{
    if (StringWorkspace* ws = workspace())
        set_used(ws, used);
}

char* workspace_text(int32_t pos)
{
    StringWorkspace* ws = workspace();
    if (!ws || pos < 0 || pos >= ws->capacity)
        return nullptr;
    return ws->base + pos;
}

void workspace_put_empty(int32_t pos)
{
    StringWorkspace* ws = workspace();
    if (!ws || pos < 0 || pos >= ws->capacity)
        return;
    ws->base[pos] = '\0';
    ws->used = pos;
}

void string_assign(StringVar* variable, int32_t pos)
{
    StringWorkspace* ws = workspace();
    if (!variable || !the_string_heap)
        return;
    // A pos outside the text area gives the empty text and consumes nothing.
    const bool in_range = ws && pos >= 0 && pos <= ws->used && ws->used < ws->capacity;
    const int32_t len = in_range ? ws->used - pos : 0;
    const SIZE_T bytes = static_cast<SIZE_T>(len) + SPARE_BYTES;
    void* block = *variable ? HeapReAlloc(the_string_heap, 0, *variable, bytes)
                            : HeapAlloc(the_string_heap, 0, bytes);
    if (block) {
        char* text = static_cast<char*>(block);
        if (len > 0)
            memcpy(text, ws->base + pos, static_cast<size_t>(len));
        text[len] = '\0';
        *variable = text;
    }
    if (in_range)
        ws->used = pos;
}

void string_free(StringVar variable)
{
    if (variable && the_string_heap)
        HeapFree(the_string_heap, 0, variable);
}

const char* WorkspaceStatement::take(int32_t pos)
{
    workspace_set_used(workspace_used() + 1);
    const char* text = workspace_text(pos);
    return text ? text : "";
}
