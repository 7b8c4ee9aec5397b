// The RANROT type W random generator behind the trial's random delay, and the
// rule that turns a draw into that delay.
#pragma once
#include <stdint.h>

constexpr int RANDOM_PAIRS = 17;
constexpr int RANDOM_WORDS = 2 * RANDOM_PAIRS;
constexpr int RANDOM_INITIAL_LAG = 10;
constexpr int RANDOM_ROTATE_FIRST = 19;
constexpr int RANDOM_ROTATE_SECOND = 27;
constexpr uint32_t RANDOM_SEED_MULTIPLIER = 2891336453u;
constexpr int RANDOM_WARM_UP_STEPS = 31;

struct RandomState {
    uint32_t pairs[RANDOM_WORDS];  // pair k is words 2k (first) and 2k+1 (second)
    int32_t write_pair;            // the pair the next step replaces
    int32_t lag_pair;              // the pair the next step adds in
    uint8_t seeded;                // set once seeded; never cleared
};

// The process-wide generator. It has no lock: the trial draws once per trial.
RandomState* random_state();

// One step; the replaced pair read as one number, first word low.
uint64_t random_step();
// Fills the table from x and warms up. Seeds from the clock first when never
// seeded, so the outcome is that of x alone either way.
void random_seed(uint32_t x);
void random_seed_from_clock();
// Uniform in 0 to max, or INT32_MIN when max is negative; always one step.
int32_t random_int(int32_t max);

// The trial's delay in whole seconds for the spin's value: a draw in 0 to the
// value (taken as a signed 8-bit number), where a draw of 0 counts as 1. So a
// maximum of n gives 1 to n, 1 twice as often as each other value.
int32_t trial_delay_seconds(int32_t spin_value);
