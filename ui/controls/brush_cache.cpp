// The brush cache: a block list of (colour, brush, count) entries, newest at
// the head, guarded by the brush lock for every search, create and delete.
#include "ui/controls/brush_cache.h"
#include "runtime/scoped_win.h"
#include "ui/windows/messages.h"

namespace {

CRITICAL_SECTION brush_lock;
BrushCache brush_cache;

BrushCacheEntry* entry_of(BlockLinks* block)
{
    return static_cast<BrushCacheEntry*>(block_payload(block));
}

constexpr UINT REDRAW_ALL = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE;

}  // namespace

void brush_cache_init()
{
    InitializeCriticalSection(&brush_lock);
}

HBRUSH brush_acquire(int32_t colour)
{
    SectionLock guard(&brush_lock);
    for (BlockLinks* block = brush_cache; block; block = block->next) {
        BrushCacheEntry* entry = entry_of(block);
        if (entry->colour == static_cast<COLORREF>(colour)) {
            ++entry->count;
            return entry->brush;
        }
    }
    auto* entry = static_cast<BrushCacheEntry*>(
        block_insert(&brush_cache, BLOCK_LINK_BYTES + sizeof(BrushCacheEntry)));
    if (!entry)
        return nullptr;
    entry->brush = CreateSolidBrush(static_cast<COLORREF>(colour));
    if (!entry->brush) {
        // An entry without a brush could never be released.
        block_remove(&brush_cache, entry);
        return nullptr;
    }
    entry->colour = static_cast<COLORREF>(colour);
    entry->count = 1;
    return entry->brush;
}

void brush_release(HBRUSH brush)
{
    if (!brush)
        return;
    SectionLock guard(&brush_lock);
    for (BlockLinks* block = brush_cache; block; block = block->next) {
        BrushCacheEntry* entry = entry_of(block);
        if (entry->brush != brush)
            continue;
        if (--entry->count == 0) {
            DeleteObject(brush);
            block_remove(&brush_cache, entry);
        }
        return;
    }
}

void set_control_colour(Control* record, int32_t type, int32_t colour)
{
    if (type == COLOUR_TYPE_TEXT) {
        record->text_colour = colour;
    } else if (type == COLOUR_TYPE_BACK) {
        if (record->back_brush)
            brush_release(record->back_brush);
        record->back_brush = colour == COLOUR_NONE ? nullptr : brush_acquire(colour);
        record->back_colour = colour;
    }
    RedrawWindow(record->handle, nullptr, nullptr, REDRAW_ALL);
}

int32_t get_control_colour(Control* record, int32_t type)
{
    if (type == COLOUR_TYPE_TEXT)
        return record->text_colour;
    if (type == COLOUR_TYPE_BACK)
        return record->back_colour;
    return COLOUR_NONE;
}

LRESULT paint_control_colours(Control* record, HDC dc, int system_back)
{
    LRESULT result = NOT_HANDLED;
    if (record->text_colour != COLOUR_NONE) {
        SetTextColor(dc, static_cast<COLORREF>(record->text_colour));
        if (record->back_colour == COLOUR_NONE) {
            SetBkColor(dc, GetSysColor(system_back));
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(system_back));
        }
    }
    if (record->back_colour != COLOUR_NONE) {
        SetBkColor(dc, static_cast<COLORREF>(record->back_colour));
        result = reinterpret_cast<LRESULT>(record->back_brush);
    }
    return result;
}

void release_control_brush(Control* record)
{
    if (record->back_brush) {
        brush_release(record->back_brush);
        record->back_brush = nullptr;
    }
}
