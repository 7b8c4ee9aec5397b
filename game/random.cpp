// RANROT type W: a lagged-Fibonacci generator with bit rotations.
#include "game/random.h"
#include <windows.h>

namespace {

RandomState the_random_state;

uint32_t rotate_left(uint32_t x, int count)
{
    return (x << count) | (x >> (32 - count));
}

int32_t previous_pair(int32_t pair)
{
    return pair == 0 ? RANDOM_PAIRS - 1 : pair - 1;
}

}  // namespace

RandomState* random_state()
{
    return &the_random_state;
}

uint64_t random_step()
{
    RandomState& s = the_random_state;
    uint32_t* a = &s.pairs[2 * s.write_pair];
    const uint32_t* b = &s.pairs[2 * s.lag_pair];
    const uint32_t y = rotate_left(a[0], RANDOM_ROTATE_FIRST) + b[0];
    const uint32_t z = rotate_left(a[1], RANDOM_ROTATE_SECOND) + b[1];
    a[0] = z;
    a[1] = y;
    s.write_pair = previous_pair(s.write_pair);
    s.lag_pair = previous_pair(s.lag_pair);
    return (static_cast<uint64_t>(y) << 32) | z;
}

void random_seed(uint32_t x)
{
    RandomState& s = the_random_state;
    if (!s.seeded)
        random_seed_from_clock();
    for (int i = 0; i < RANDOM_WORDS; ++i) {
        x = x * RANDOM_SEED_MULTIPLIER + 1u;
        s.pairs[i] = x;
    }
    s.write_pair = 0;
    s.lag_pair = RANDOM_INITIAL_LAG;
    for (int i = 0; i < RANDOM_WARM_UP_STEPS; ++i)
        random_step();
}

void random_seed_from_clock()
{
    // Set first, so that random_seed does not come back here.
    the_random_state.seeded = 1;
    random_seed(GetTickCount());
}

int32_t random_int(int32_t max)
{
    if (!the_random_state.seeded)
        random_seed_from_clock();
    const uint64_t r = random_step();
    if (max < 0)
        return INT32_MIN;
    // The top 32 bits of the 96-bit product r * n: floor(r * n / 2^64).
    const uint64_t n = static_cast<uint32_t>(max) + 1u;
    const uint64_t high = (r >> 32) * n;
    const uint64_t low = (r & 0xFFFFFFFFu) * n;
    return static_cast<int32_t>((high + (low >> 32)) >> 32);
}

int32_t trial_delay_seconds(int32_t spin_value)
{
    const int8_t max_delay = static_cast<int8_t>(spin_value);
    int16_t delay = static_cast<int16_t>(random_int(max_delay));
    if (delay == 0)
        delay = 1;
    return delay;
}
