// The session: the record of every trial that ended, kept on the main thread
// for the life of the process, and the hand-over of each record from the
// trial's thread.
#pragma once
#include <windows.h>
#include <stdint.h>
#include "game/session_report.h"

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
SessionStats session_current_stats();
