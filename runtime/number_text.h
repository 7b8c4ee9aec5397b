// Signed decimal text of integers as wide as an address, written into the
// caller's buffer: what the string workspace's str_from_int and the window
// class names are made of.
#pragma once
#include <stdint.h>

// A sign, the nineteen digits of the widest 64-bit number and the terminator.
constexpr int DECIMAL_TEXT_BYTES = 21;

// Writes the decimal text of `value` and its terminator at `out`, which has
// room for DECIMAL_TEXT_BYTES; returns the text's length. No leading zeros,
// a sign only when negative.
int decimal_from_int(intptr_t value, char* out);
