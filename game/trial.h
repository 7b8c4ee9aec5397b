// The reaction trial: a random delay, the go signal, and the read-out counting
// up until the space bar is pressed or the time limit passes.
#pragma once
#include <windows.h>
#include <stdint.h>

constexpr char TEXT_DELAY_STARTED[] = "Random delay started.  Get ready... ";
constexpr char TEXT_CHEAT[] = "Cheat!  Another go?  Click on Start Timer.";
constexpr char TEXT_GO[] = "Go!  Press the Space Bar now!";
constexpr char TEXT_ANOTHER_GO[] = "Another go?  Click on Start Timer.";
constexpr char TEXT_SLOWCOACH[] = "Slowcoach!  Another go?  Click on Start Timer.";

constexpr uint32_t TRIAL_LIMIT_MS = 10000;
constexpr DWORD BEEP_FREQUENCY = 500;
constexpr DWORD BEEP_DURATION_MS = 50;
constexpr int READOUT_DECIMALS = 3;

// The thread procedure of one trial; ignores its argument and returns 0.
DWORD WINAPI run_trial(void* argument);

// What sounds the go signal: Beep, or a stand-in in tests; null means Beep.
// It runs on a worker of the system's thread pool, so the clock and the
// polling do not wait for the tone.
using TrialBeep = BOOL(WINAPI*)(DWORD frequency, DWORD duration_ms);
void set_trial_beep(TrialBeep beep);
