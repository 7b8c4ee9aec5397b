// The font table and its operations.
#include "ui/controls/font.h"
#include "runtime/scoped_win.h"

namespace {

constexpr int32_t FONT_GROW_STEP = 16;
constexpr int POINTS_PER_INCH = 72;

ObjectTable* the_font_table;

FontRecord* font_lookup(ObjectNumber number)
{
    return static_cast<FontRecord*>(table_lookup(the_font_table, number));
}

// Keeps `font` in `record`, taken for `number`: the result of a load. Without
// a font the number stays free, and a handed-out record is given back.
LONG_PTR keep(ObjectNumber number, FontRecord* record, HFONT font)
{
    if (!font) {
        table_release(the_font_table, table_number_of(number, record));
        return 0;
    }
    record->handle = font;
    return table_created_result(number, record, font);
}

}  // namespace

void font_library_init()
{
    the_font_table = table_create(sizeof(FontRecord), FONT_GROW_STEP, free_font);
}

ObjectTable* font_table()
{
    return the_font_table;
}

LONG_PTR load_font(ObjectNumber number, const char* face, int size, DWORD flags, int dpi)
{
    auto* record = static_cast<FontRecord*>(table_allocate(the_font_table, number));
    if (!record)
        return 0;
    const int weight = (flags & FONT_BOLD) ? FW_BOLD : FW_NORMAL;
    const DWORD italic = (flags & FONT_ITALIC) ? 1 : 0;
    const DWORD underline = (flags & FONT_UNDERLINE) ? 1 : 0;
    const DWORD strike_out = (flags & FONT_STRIKE_OUT) ? 1 : 0;
    const DWORD quality = (flags & FONT_PROOF_QUALITY) ? PROOF_QUALITY : DEFAULT_QUALITY;

    HFONT font = nullptr;
    {
        DisplayDc display;
        if (display.get()) {
            if (!dpi)
                dpi = GetDeviceCaps(display.get(), LOGPIXELSY);
            // Negative: a character height of `size` points, not a cell height.
            const int height = -MulDiv(size, dpi, POINTS_PER_INCH);
            font =
                CreateFontA(height, 0, 0, 0, weight, italic, underline, strike_out, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, 0, face ? face : "");
        }
    }
    return keep(number, record, font);
}

LONG_PTR load_font_like(ObjectNumber number, const LOGFONTA& model, int model_dpi, int dpi)
{
    if (model_dpi <= 0 || dpi <= 0)
        return 0;
    auto* record = static_cast<FontRecord*>(table_allocate(the_font_table, number));
    if (!record)
        return 0;
    LOGFONTA font = model;
    font.lfHeight = MulDiv(model.lfHeight, dpi, model_dpi);
    font.lfWidth = MulDiv(model.lfWidth, dpi, model_dpi);
    return keep(number, record, CreateFontIndirectA(&font));
}

HFONT font_handle(ObjectNumber number)
{
    const FontRecord* record = font_lookup(number);
    return record ? record->handle : nullptr;
}

void free_font(ObjectNumber number)
{
    FontRecord* record = font_lookup(number);
    if (!record)
        return;
    DeleteObject(record->handle);
    table_release(the_font_table, number);
}

void free_all_fonts()
{
    table_walk_begin(the_font_table);
    ObjectNumber number;
    while (table_walk_next(the_font_table, &number))
        free_font(number);
}
