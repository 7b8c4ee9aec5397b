// The string workspace: a growable byte area in which text-producing
// operations write their results at a given offset, plus string variables
// (heap blocks of their own) for texts that outlive a statement. Every thread
// has a workspace of its own.
#pragma once
#include <windows.h>
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
// The heap that holds every workspace and string variable; null before
// workspace_init. Serialised, so variables may be made and freed on any thread.
HANDLE string_heap();
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
// Null when there is no workspace or pos lies outside it.
char* workspace_text(int32_t pos);
// What a producer leaves when it cannot reserve: the empty text at pos (when
// pos lies inside the workspace, which is then where used goes).
void workspace_put_empty(int32_t pos);

// Producers: each writes its text and a terminator at pos and leaves used at
// the terminator. When the workspace cannot grow they leave the empty text.
void str_from_int(int32_t value, int32_t pos);
// decimals -1 means the plain "%f" format; so does any other negative count.
// Counts above STR_FLOAT_MAX_DECIMALS are lowered to it, so that the text of
// every float fits the bytes reserved for it.
void str_from_float(float value, int32_t decimals, int32_t pos);
constexpr int32_t STR_FLOAT_MAX_DECIMALS = 8;
int32_t int_from_str(const char* text);

// Copies the text from pos up to used into the variable and sets used to pos.
// When the heap cannot supply the block the variable keeps what it held (and
// the temporary is still consumed).
void string_assign(StringVar* variable, int32_t pos);
// Frees the variable's block, if any; the variable itself is not changed.
void string_free(StringVar variable);

// One statement's use of the calling thread's workspace: notes the fill offset
// when made and puts it back when it goes, whatever the statement produced.
//
//     WorkspaceStatement s;
//     const int32_t pos = s.pos();
//     str_from_int(value, pos);
//     control_set_text(number, s.take(pos));
class WorkspaceStatement {
public:
    WorkspaceStatement() : noted_(workspace_used()) {}
    ~WorkspaceStatement() { workspace_set_used(noted_); }
    WorkspaceStatement(const WorkspaceStatement&) = delete;
    WorkspaceStatement& operator=(const WorkspaceStatement&) = delete;

    // Where the next producer writes: the current fill offset.
    int32_t pos() const { return workspace_used(); }
    // Steps past the terminator of the text produced at `pos` and returns the
    // text's address, good until the next reserve; "" when there is none.
    const char* take(int32_t pos);

private:
    int32_t noted_;
};
