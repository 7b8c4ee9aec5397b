// The session: the record of every trial that ended, kept on the main thread
// for the life of the process, and the hand-over of each record from the
// trial's thread.
#pragma once
#include <windows.h>
#include <stdint.h>

enum class TrialOutcome : int32_t { PRESS, EARLY, TIME_LIMIT };

// What the session keeps of a trial that ended.
struct TrialRecord {
    int32_t number;  // from 1, in the order the trials ended
    int32_t delay_s;
    TrialOutcome outcome;
    int32_t reading_ms;  // what the read-out showed; 0 when it showed none
    // The longest gap between the trial's looks at the key while it timed,
    // from the go text on; 0 for an early press, which is not timed.
    int32_t longest_gap_us;
};

// Posted to the main window when records wait to be taken in. It carries
// nothing, so one sent by anyone else makes the main thread look and find
// nothing.
constexpr UINT MSG_RECORDS_WAITING = WM_APP + 1;

// Trial's thread: hands the record over (its number is given on taking in)
// and rings the main window, waiting for nothing. False, and the trial is
// not recorded, when the trial gate is closed or memory cannot be had.
bool session_hand_over(const TrialRecord& record);

// Main thread: moves the records handed over into the session, in the order
// they came, numbering them on. Returns how many were taken in.
int32_t session_take_in();

const TrialRecord* session_records();
int32_t session_count();
// Room for one value per record, in which the statistics sort the readings.
// It grows with the records, so it is there whenever they are.
int32_t* session_scratch();
