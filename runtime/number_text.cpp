// Numbers to text in the string workspace, and text to numbers.
#include "runtime/number_text.h"
#include "runtime/string_workspace.h"
#include <stdio.h>
#include <string.h>

namespace {

// Room for a sign and ten digits, with plenty to spare.
constexpr int32_t INT_TEXT_BYTES = 32;
static_assert(DECIMAL_TEXT_BYTES <= INT_TEXT_BYTES);
// The longest float text with STR_FLOAT_MAX_DECIMALS decimals: a sign, 39
// digits, the point and the decimals, then the terminator.
constexpr int32_t FLOAT_TEXT_BYTES = 50;
// Holds "%.NNNNNNf" and its terminator.
constexpr int32_t FLOAT_FORMAT_BYTES = 10;

static_assert(1 + 39 + 1 + STR_FLOAT_MAX_DECIMALS + 1 <= FLOAT_TEXT_BYTES);

}  // namespace

int decimal_from_int(intptr_t value, char* out)
{
    int len = 0;
    // Unsigned negation also covers the most negative value, which has no
    // positive twin.
    uintptr_t magnitude = static_cast<uintptr_t>(value);
    if (value < 0) {
        out[len++] = '-';
        magnitude = 0u - magnitude;
    }
    char digits[DECIMAL_TEXT_BYTES];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (count > 0)
        out[len++] = digits[--count];
    out[len] = '\0';
    return len;
}

void str_from_int(int32_t value, int32_t pos)
{
    char* out = workspace_reserve(INT_TEXT_BYTES, pos);
    if (!out) {
        workspace_put_empty(pos);
        return;
    }
    workspace_give_back(INT_TEXT_BYTES - decimal_from_int(value, out));
}

void str_from_float(float value, int32_t decimals, int32_t pos)
{
    char format[FLOAT_FORMAT_BYTES];
    if (decimals < 0) {
        strcpy(format, "%f");
    } else {
        if (decimals > STR_FLOAT_MAX_DECIMALS)
            decimals = STR_FLOAT_MAX_DECIMALS;
        sprintf(format, "%%.%df", static_cast<int>(decimals));
    }
    char* out = workspace_reserve(FLOAT_TEXT_BYTES, pos);
    if (!out) {
        workspace_put_empty(pos);
        return;
    }
    int written = sprintf(out, format, static_cast<double>(value));
    if (written < 0) {
        out[0] = '\0';
        written = 0;
    }
    workspace_give_back(FLOAT_TEXT_BYTES - written);
}

int32_t int_from_str(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        ++text;
    bool negative = false;
    if (*text == '-') {
        negative = true;
        ++text;
    } else if (*text == '+') {
        ++text;
    }
    // Wraps modulo 2^32 like the 32-bit arithmetic it stands for.
    uint32_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10u + static_cast<uint32_t>(*text - '0');
        ++text;
    }
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}
