// Numbered fonts sized in points at the display's resolution.
#include <gtest/gtest.h>
#include <windows.h>
#include "runtime/scoped_win.h"
#include "ui/controls/font.h"

namespace {

LOGFONTA logfont_of(LONG_PTR handle)
{
    LOGFONTA lf = {};
    EXPECT_EQ(GetObjectA(reinterpret_cast<HFONT>(handle), sizeof lf, &lf),
              static_cast<int>(sizeof lf));
    return lf;
}

int display_dpi()
{
    const DisplayDc dc;
    return GetDeviceCaps(dc.get(), LOGPIXELSY);
}

bool is_font(LONG_PTR handle)
{
    return GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) == OBJ_FONT;
}

TEST(Font, SizeInPointsAtTheDisplayResolution)
{
    const LONG_PTR font = load_font(1, "Lucida Console", 20);
    ASSERT_TRUE(is_font(font));
    const LOGFONTA lf = logfont_of(font);
    EXPECT_EQ(lf.lfHeight, -MulDiv(20, display_dpi(), 72));
    if (display_dpi() == 96) {
        EXPECT_EQ(lf.lfHeight, -27);
    }
    EXPECT_STREQ(lf.lfFaceName, "Lucida Console");
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfQuality, DEFAULT_QUALITY);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    free_font(1);
    EXPECT_FALSE(is_font(font));
}

TEST(Font, LoadingANumberAgainDeletesTheFirstFont)
{
    const LONG_PTR first = load_font(1, "Lucida Console", 20);
    ASSERT_TRUE(is_font(first));
    const LONG_PTR second = load_font(1, "Arial", 12);
    ASSERT_TRUE(is_font(second));
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u);
    EXPECT_STREQ(logfont_of(second).lfFaceName, "Arial");
    free_font(1);
}

TEST(Font, FlagsChooseStyleAndQuality)
{
    const LOGFONTA bold_italic = logfont_of(load_font(2, "Arial", 10, FONT_BOLD | FONT_ITALIC));
    EXPECT_EQ(bold_italic.lfWeight, FW_BOLD);
    EXPECT_EQ(bold_italic.lfItalic, 1);
    EXPECT_EQ(bold_italic.lfUnderline, 0);

    const LOGFONTA lined = logfont_of(
        load_font(2, "Arial", 10, FONT_UNDERLINE | FONT_STRIKE_OUT | FONT_PROOF_QUALITY));
    EXPECT_EQ(lined.lfWeight, FW_NORMAL);
    EXPECT_EQ(lined.lfItalic, 0);
    EXPECT_EQ(lined.lfUnderline, 1);
    EXPECT_EQ(lined.lfStrikeOut, 1);
    EXPECT_EQ(lined.lfQuality, PROOF_QUALITY);
    free_font(2);
}

TEST(Font, AnyNumberFontIsItsRecord)
{
    const ObjectNumber n = load_font(ANY_NUMBER, "Arial", 9);
    ASSERT_NE(n, 0);
    auto* record = static_cast<FontRecord*>(table_lookup(font_table(), n));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(record), n);
    const HFONT handle = record->handle;
    EXPECT_TRUE(is_font(reinterpret_cast<LONG_PTR>(handle)));
    free_font(n);
    EXPECT_FALSE(is_font(reinterpret_cast<LONG_PTR>(handle)));
    EXPECT_EQ(table_lookup(font_table(), n), nullptr);
}

TEST(Font, FreeAllDeletesNumberedAndHandedOutFonts)
{
    const LONG_PTR a = load_font(0, "Arial", 8);
    const LONG_PTR b = load_font(20, "Arial", 9);
    const ObjectNumber c = load_font(ANY_NUMBER, "Arial", 10);
    const HFONT c_handle = static_cast<FontRecord*>(table_lookup(font_table(), c))->handle;
    free_all_fonts();
    EXPECT_FALSE(is_font(a));
    EXPECT_FALSE(is_font(b));
    EXPECT_FALSE(is_font(reinterpret_cast<LONG_PTR>(c_handle)));
    table_walk_begin(font_table());
    ObjectNumber number;
    EXPECT_EQ(table_walk_next(font_table(), &number), nullptr);
}

TEST(Font, NumbersThatNameNoFontAreIgnored)
{
    int local = 0;
    free_font(5);
    free_font(99999);
    free_font(reinterpret_cast<ObjectNumber>(&local));
    EXPECT_EQ(load_font(-5, "Arial", 10), 0);
}

}  // namespace
