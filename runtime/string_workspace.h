// The string workspace: a growable byte area in which text-producing
// operations write their results at a given offset, plus string variables
// (heap blocks of their own) for texts that outlive a statement. Every thread
// has a workspace of its own.
#pragma once
#include <stdint.h>

struct StringWorkspace {
    char* base;        // the workspace block; moves when it grows
    int32_t used;      // offset of the first free byte
    int32_t capacity;  // usable bytes; the block is capacity + 5 bytes once grown
};

// A string variable: null (nothing assigned, the empty text) or a block on the
// string heap holding a zero-terminated text.
using StringVar = char*;

// Creates the string heap and the calling (main) thread's workspace. Once, at
// start-up. False when either cannot be made.
bool workspace_init();
// The calling thread's workspace, made on first use; null if it cannot be.
StringWorkspace* workspace();

// Makes room for `request` bytes and a terminator, sets used to pos + request
// and returns base + pos; null (nothing changed) when the workspace cannot grow.
char* workspace_reserve(int32_t request, int32_t pos);
// Lowers used by `count`; returns count.
int32_t workspace_give_back(int32_t count);
int32_t workspace_used();
void workspace_set_used(int32_t used);
// base + pos of the calling thread's workspace; good until the next reserve.
char* workspace_text(int32_t pos);

void str_from_int(int32_t value, int32_t pos);
// decimals -1 means the plain "%f" format.
void str_from_float(float value, int32_t decimals, int32_t pos);
int32_t int_from_str(const char* text);

// Copies the text from pos up to used into the variable and sets used to pos.
void string_assign(StringVar* variable, int32_t pos);
// Frees the variable's block, if any; the variable itself is not changed.
void string_free(StringVar variable);
