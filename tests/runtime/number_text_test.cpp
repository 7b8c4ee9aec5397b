// Numbers to text and text to numbers.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "runtime/number_text.h"
#include "runtime/string_workspace.h"

namespace {

// The text a producer left at the fill offset, checked against the result
// layout: used at the terminator, used - pos the text's length.
template <typename Produce>
std::string produced(Produce produce)
{
    WorkspaceStatement s;
    const int32_t pos = s.pos();
    produce(pos);
    const char* text = workspace_text(pos);
    EXPECT_NE(text, nullptr);
    if (!text)
        return "<none>";
    EXPECT_EQ(static_cast<size_t>(workspace_used() - pos), strlen(text));
    EXPECT_EQ(*workspace_text(workspace_used()), '\0');
    return text;
}

std::string int_text(int32_t value)
{
    return produced([&](int32_t pos) { str_from_int(value, pos); });
}

std::string float_text(float value, int32_t decimals)
{
    return produced([&](int32_t pos) { str_from_float(value, decimals, pos); });
}

TEST(NumberTextTest, IntegersBecomeDecimalTextWithASignOnlyWhenNegative)
{
    EXPECT_EQ(int_text(0), "0");
    EXPECT_EQ(int_text(10), "10");
    EXPECT_EQ(int_text(-45), "-45");
    EXPECT_EQ(int_text(2147483647), "2147483647");
    EXPECT_EQ(int_text(INT32_MIN), "-2147483648");
    EXPECT_EQ(int_text(1000000007), "1000000007");
}

// Object numbers are as wide as an address: on 64-bit Windows the text must
// not be cut to 32 bits, and the most negative number still fits its room.
TEST(NumberTextTest, PointerWideIntegersBecomeDecimalTextInTheCallersBuffer)
{
    const bool wide = sizeof(intptr_t) == 8;
    const struct {
        intptr_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-1, "-1"},
        {INTPTR_MAX, wide ? "9223372036854775807" : "2147483647"},
        {INTPTR_MIN, wide ? "-9223372036854775808" : "-2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char out[DECIMAL_TEXT_BYTES + 1];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(decimal_from_int(c.value, out), static_cast<int>(strlen(c.text)));
        EXPECT_STREQ(out, c.text);
        EXPECT_EQ(out[DECIMAL_TEXT_BYTES], 'x') << "wrote beyond the room it asks for";
    }
}

TEST(NumberTextTest, FloatsBecomeTextWithTheGivenDecimals)
{
    EXPECT_EQ(float_text(1.5f, 3), "1.500");
    EXPECT_EQ(float_text(2.0f / 3.0f, 3), "0.667");
    EXPECT_EQ(float_text(1234.5678f, 2), "1234.57");
    EXPECT_EQ(float_text(10.0f, 3), "10.000");
    EXPECT_EQ(float_text(12.34567f, -1), "12.345670");
    EXPECT_EQ(float_text(0.1f, -1), "0.100000");
    const int32_t odd = 16777217;
    EXPECT_EQ(float_text(static_cast<float>(odd), 0), "16777216") << "single precision";
}

TEST(NumberTextTest, DecimalCountsBeyondWhatFitsAreLoweredAndNegativeOnesMeanPlain)
{
    EXPECT_EQ(float_text(1.0f / 3.0f, 9), "0.33333334");
    EXPECT_EQ(float_text(1.0f / 3.0f, 1000000), "0.33333334");
    EXPECT_EQ(float_text(1.0f / 3.0f, -7), "0.333333");
    // The longest text there is still fits the 50 bytes reserved for it.
    const std::string longest = float_text(-3.40282347e38f, 1000);
    EXPECT_EQ(longest.size(), 49u);
    EXPECT_EQ(longest.substr(0, 4), "-340");
    EXPECT_EQ(longest.substr(longest.size() - 9), ".00000000");
}

TEST(NumberTextTest, TextBecomesAnIntegerAfterBlanksAndOneSign)
{
    EXPECT_EQ(int_from_str("  42abc"), 42);
    EXPECT_EQ(int_from_str("\t-17"), -17);
    EXPECT_EQ(int_from_str("+8"), 8);
    EXPECT_EQ(int_from_str("12.7"), 12);
    EXPECT_EQ(int_from_str("007"), 7);
}

TEST(NumberTextTest, TextWithoutLeadingDigitsIsZero)
{
    EXPECT_EQ(int_from_str("- 5"), 0);
    EXPECT_EQ(int_from_str("--5"), 0);
    EXPECT_EQ(int_from_str("+-5"), 0);
    EXPECT_EQ(int_from_str("abc"), 0);
    EXPECT_EQ(int_from_str(""), 0);
    EXPECT_EQ(int_from_str(nullptr), 0);
    EXPECT_EQ(int_from_str("\n5"), 0) << "only blanks and tabs are skipped";
    EXPECT_EQ(int_from_str("\xB5"
                           "5"),
              0);
}

TEST(NumberTextTest, DigitsBeyondThirtyTwoBitsWrap)
{
    EXPECT_EQ(int_from_str("2147483648"), INT32_MIN);
    EXPECT_EQ(int_from_str("4294967296"), 0);
    EXPECT_EQ(int_from_str("4294967297"), 1);
    EXPECT_EQ(int_from_str("-2147483648"), INT32_MIN);
}

}  // namespace
