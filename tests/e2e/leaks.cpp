// Leak check of the built game, played from outside through the end-to-end
// driver. Usage: e2e_leaks GAME.exe [TRIALS]   (default 500)
//
// Opens the session results window, so that every trial also redraws its
// texts and chart, then plays the trials one after another with the delay
// maximum at 1 s, pressing the space bar soon after each go signal, and
// samples after every trial the game's handles, GDI and USER objects, private
// memory and threads. Prints the first and last values and the least-squares
// slope per 100 trials, and fails when a count ends above its value after the
// first trial by more than its bound:
//   handles       +3       a handle lost per trial gives +1 per trial
//   threads       +1       a trial thread that never ends gives +1 per trial
//   GDI, USER     +5       where the platform reports them at all
//   memory        +256 KiB a block of 1 KiB kept per trial gives +500 KiB over
//                          500 trials; the heaps grow in steps of up to 64 KiB
// The handle bound leaves room for the thread of the trial just ended, which
// is reaped only when the next trial starts, and for handles that the system
// opens once on the game's behalf.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "tests/e2e/driver.h"
#include "tests/support/input.h"

namespace {

constexpr int DEFAULT_TRIALS = 500;
constexpr DWORD HOLD_MS = 60;
constexpr DWORD PRESS_AFTER_GO_MS = 120;
// Time for the ended trial's thread to finish its last step before sampling.
constexpr DWORD SETTLE_MS = 100;

struct Measure {
    Measure(const char* name, double bound) : name(name), bound(bound) {}
    const char* name;
    double bound;  // allowed growth from the first trial to the last
    std::vector<double> values;
    bool reported = true;  // false when the platform gives nothing real
};

// The least-squares slope of the values over their index, per 100 trials.
double slope_per_100(const std::vector<double>& v)
{
    const double n = static_cast<double>(v.size());
    if (v.size() < 2)
        return 0.0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const double x = static_cast<double>(i);
        sx += x;
        sy += v[i];
        sxx += x * x;
        sxy += x * v[i];
    }
    const double denominator = n * sxx - sx * sx;
    return denominator == 0 ? 0.0 : 100.0 * (n * sxy - sx * sy) / denominator;
}

int fail(const char* what, const Game& game, int trial)
{
    fprintf(stderr, "e2e_leaks: trial %d: %s (status: \"%s\")\n", trial, what,
            game.status().c_str());
    return 1;
}

// How the trial ended: the status text once it invites another go; empty
// when no ending came. `threads_in_delay`, when given, receives the game's
// thread count while the trial waits out its delay.
std::string play_one_trial(const Game& game, long* threads_in_delay = nullptr)
{
    game.click_start();
    if (!game.wait_status(status_says::DELAY, 3000))
        return {};
    if (threads_in_delay)
        *threads_in_delay = thread_count_of(game.pid());
    if (game.wait_status(status_says::GO, 3000)) {
        Sleep(PRESS_AFTER_GO_MS);
        input_key_held(VK_SPACE, HOLD_MS);
    }
    // A press the game missed ends as a slowcoach within ten seconds.
    const double deadline = now_ms() + 12000;
    while (now_ms() < deadline) {
        const std::string s = game.status();
        if (s == status_says::AGAIN || s == status_says::SLOW || s == status_says::CHEAT)
            return s;
        Sleep(2);
    }
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: e2e_leaks PATH-TO-Flinchmeter.exe [TRIALS]\n");
        return 2;
    }
    const int trials = argc > 2 ? atoi(argv[2]) : DEFAULT_TRIALS;
    if (trials < 2) {
        fprintf(stderr, "e2e_leaks: at least 2 trials\n");
        return 2;
    }

    Game game;
    if (!game.start_for_trials(argv[1], 1)) {
        fprintf(stderr, "e2e_leaks: %s\n", game.error().c_str());
        return 1;
    }
    game.to_front();
    if (!game.open_results())
        return fail("Alt+Space, U opened no results window", game, 0);
    Sleep(300);

    Measure handles{"handles", 3};
    Measure threads{"threads", 1};
    Measure gdi{"GDI objects", 5};
    Measure user{"USER objects", 5};
    Measure memory{"private memory, KiB", 256};
    Measure* const all[] = {&handles, &threads, &gdi, &user, &memory};
    const auto sample = [&] {
        handles.values.push_back(static_cast<double>(game.handle_count()));
        threads.values.push_back(static_cast<double>(thread_count_of(game.pid())));
        gdi.values.push_back(
            static_cast<double>(gui_object_count_of(game.process(), GR_GDIOBJECTS)));
        user.values.push_back(
            static_cast<double>(gui_object_count_of(game.process(), GR_USEROBJECTS)));
        memory.values.push_back(static_cast<double>(game.private_bytes() / 1024));
    };
    sample();
    const std::vector<double> before = {handles.values[0], threads.values[0], gdi.values[0],
                                        user.values[0], memory.values[0]};
    for (Measure* m : all)
        m->values.clear();

    int slow = 0, cheats = 0;
    long threads_in_first_delay = -1;
    const double started = now_ms();
    for (int t = 1; t <= trials; ++t) {
        const std::string ending = play_one_trial(game, t == 1 ? &threads_in_first_delay : nullptr);
        if (!game.running())
            return fail("the game is no longer running", game, t);
        if (ending.empty())
            return fail("the trial did not end as a trial ends", game, t);
        slow += ending == status_says::SLOW;
        cheats += ending == status_says::CHEAT;
        Sleep(SETTLE_MS);
        sample();
        if (t % 50 == 0 || t == 1)
            fprintf(stderr, "trial %d/%d: handles %.0f, threads %.0f, memory %.0f KiB\n", t, trials,
                    handles.values.back(), threads.values.back(), memory.values.back());
    }
    const double minutes = (now_ms() - started) / 60000.0;

    // A process with a window and fonts has GDI and USER objects; zero means
    // the platform does not count them (Wine's GetGuiResources is a stub).
    for (Measure* m : {&gdi, &user})
        m->reported = m->values.front() > 0;
    for (Measure* m : {&handles, &threads, &memory})
        m->reported = m->values.front() >= 0;

    printf("Trials: %d in %.1f minutes, delay maximum 1 s, space bar pressed %lu ms after the\n"
           "go text (%d ended as slowcoach, %d as cheat), the results window open. Sampled\n"
           "%lu ms after each trial.\n\n",
           trials, minutes, static_cast<unsigned long>(PRESS_AFTER_GO_MS), slow, cheats,
           static_cast<unsigned long>(SETTLE_MS));
    printf("  %-20s %9s %9s %9s %12s %7s\n", "", "before", "trial 1", "last", "per 100", "bound");
    bool leak = false;
    std::string verdicts;
    for (size_t i = 0; i < sizeof all / sizeof all[0]; ++i) {
        const Measure& m = *all[i];
        if (!m.reported) {
            printf("  %-20s not reported by this platform\n", m.name);
            continue;
        }
        const double growth = m.values.back() - m.values.front();
        printf("  %-20s %9.0f %9.0f %9.0f %+12.2f %+7.0f\n", m.name, before[i], m.values.front(),
               m.values.back(), slope_per_100(m.values), m.bound);
        if (growth > m.bound) {
            leak = true;
            char line[160];
            snprintf(line, sizeof line, "  %s grew by %.0f (bound %.0f)\n", m.name, growth,
                     m.bound);
            verdicts += line;
        }
    }

    // The trial's own thread shows here: the count sees trial threads.
    printf("\n  threads while the first trial waited out its delay: %ld\n", threads_in_first_delay);

    if (!game.click_close_box())
        return fail("no close box", game, trials);
    DWORD code = 1;
    const bool ended = game.wait_exit(2000, &code);
    printf("\nClosed with the close box: %s, exit code %lu\n",
           ended ? "ended" : "STILL RUNNING after 2 s", static_cast<unsigned long>(code));
    if (leak)
        printf("\nVerdict: LEAK\n%s", verdicts.c_str());
    else
        printf("\nVerdict: flat: no count ended above its value after the first trial by more "
               "than its bound\n");
    return leak || !ended || code != 0 ? 1 : 0;
}
