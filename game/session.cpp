// The session's records and their hand-over: the trial's thread pushes a heap
// block on an interlocked list and posts a content-free message; the main
// thread, on that message, takes the list over and appends its records.
#include "game/session.h"
#include <stddef.h>
#include "game/game_objects.h"
#include "game/trial_gate.h"
#include "runtime/heaps.h"
#include "ui/windows/window.h"

namespace {

// The list's entries must be aligned to MEMORY_ALLOCATION_ALIGNMENT, which
// heap blocks are on both targets.
struct WaitingRecord {
    SLIST_ENTRY link;
    TrialRecord record;
};
static_assert(offsetof(WaitingRecord, link) == 0);
static_assert(alignof(SLIST_HEADER) >= MEMORY_ALLOCATION_ALIGNMENT);

// A zero-filled header is an empty list, so it needs no start-up step.
SLIST_HEADER waiting;

constexpr int32_t FIRST_CAPACITY = 32;

// Main thread only.
struct Session {
    TrialRecord* records;
    int32_t* scratch;  // room for one reading per record, for the statistics
    int32_t count;
    int32_t capacity;
};
Session session;

bool make_room()
{
    if (session.count < session.capacity)
        return true;
    const int32_t capacity = session.capacity ? session.capacity * 2 : FIRST_CAPACITY;
    auto* records = static_cast<TrialRecord*>(general_alloc(capacity * sizeof(TrialRecord)));
    auto* scratch = static_cast<int32_t*>(general_alloc(capacity * sizeof(int32_t)));
    if (!records || !scratch) {
        general_free(records);
        general_free(scratch);
        return false;
    }
    if (session.count)
        CopyMemory(records, session.records, session.count * sizeof(TrialRecord));
    general_free(session.records);
    general_free(session.scratch);
    session.records = records;
    session.scratch = scratch;
    session.capacity = capacity;
    return true;
}

}  // namespace

bool session_hand_over(const TrialRecord& record)
{
    // The gate keeps the heap and the window alive while we use them.
    TrialGatePass pass;
    if (!pass)
        return false;
    auto* entry = static_cast<WaitingRecord*>(general_alloc(sizeof(WaitingRecord)));
    if (!entry)
        return false;
    entry->record = record;
    InterlockedPushEntrySList(&waiting, &entry->link);
    if (HWND main = window_handle(WINDOW_MAIN))
        PostMessageA(main, MSG_RECORDS_WAITING, 0, 0);
    return true;
}

int32_t session_take_in()
{
    // The list comes newest first; turn it round.
    SLIST_ENTRY* newest = InterlockedFlushSList(&waiting);
    SLIST_ENTRY* oldest = nullptr;
    while (newest) {
        SLIST_ENTRY* next = newest->Next;
        newest->Next = oldest;
        oldest = newest;
        newest = next;
    }
    int32_t taken = 0;
    while (oldest) {
        auto* entry = reinterpret_cast<WaitingRecord*>(oldest);
        oldest = oldest->Next;
        if (make_room()) {
            TrialRecord& r = session.records[session.count++];
            r = entry->record;
            r.number = session.count;
            ++taken;
        }
        general_free(entry);
    }
    return taken;
}

const TrialRecord* session_records()
{
    return session.records;
}

int32_t session_count()
{
    return session.count;
}

int32_t* session_scratch()
{
    return session.scratch;
}
