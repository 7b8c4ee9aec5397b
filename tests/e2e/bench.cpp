// Benchmark of the built game, played from outside through the same driver as
// the end-to-end tests. Usage: e2e_bench GAME.exe [TRIALS]
//
// Plays the trials with the delay maximum at 1 s and presses the space bar
// 150, 250 and 400 ms after the go text appears, in turn. Prints figures; it
// judges nothing and fails only when it cannot play.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>
#include "tests/e2e/driver.h"
#include "tests/support/input.h"

namespace {

constexpr double PRESS_DELAYS_MS[] = {150.0, 250.0, 400.0};
constexpr DWORD HOLD_MS = 60;

struct Usage {
    long handles;
    SIZE_T bytes;
};

Usage usage_of(const Game& game)
{
    return {game.handle_count(), game.private_bytes()};
}

// The value at fraction q of sorted values, by the nearest rank.
double quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    size_t rank = static_cast<size_t>(std::ceil(q * static_cast<double>(v.size())));
    rank = std::clamp<size_t>(rank, 1, v.size());
    return v[rank - 1];
}

double mean(const std::vector<double>& v)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0.0 : sum / static_cast<double>(v.size());
}

int fail(const char* what, const Game& game)
{
    fprintf(stderr, "e2e_bench: %s (status: \"%s\")\n", what, game.status().c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: e2e_bench PATH-TO-Flinchmeter.exe [TRIALS]\n");
        return 2;
    }
    const int trials = std::max(30, argc > 2 ? atoi(argv[2]) : 30);

    Game game;
    if (!game.start_for_trials(argv[1], 1)) {
        fprintf(stderr, "e2e_bench: %s\n", game.error().c_str());
        return 1;
    }
    Sleep(300);
    const Usage before = usage_of(game);
    Usage after_first{};

    std::vector<double> errors, abs_errors, intervals;
    std::vector<double> errors_by_delay[3];
    for (int t = 0; t < trials; ++t) {
        const double target = PRESS_DELAYS_MS[t % 3];
        game.click_start();
        if (!game.wait_status(status_says::DELAY, 2000))
            return fail("the trial did not start", game);
        // Watch for the go text as closely as the window lets us.
        const double give_up = now_ms() + 3000;
        while (game.status() != status_says::GO)
            if (now_ms() > give_up)
                return fail("no go text within 3 s", game);
        const double go_seen = now_ms();

        // Until the press, sample the read-out as fast as possible and note
        // when its text changes.
        std::string last = game.readout();
        double last_change = -1;
        double now = now_ms();
        while (now < go_seen + target) {
            const std::string text = game.readout();
            now = now_ms();
            if (text != last) {
                if (last_change >= 0)
                    intervals.push_back(now - last_change);
                last_change = now;
                last = text;
            }
        }
        const double pressed = now_ms();
        input_key_held(VK_SPACE, HOLD_MS);
        if (!game.wait_status(status_says::AGAIN, 2000))
            return fail("the press was not taken", game);
        const std::string final_text = game.readout();
        if (!is_reading(final_text))
            return fail(("the read-out shows \"" + final_text + "\"").c_str(), game);
        const double error = atof(final_text.c_str()) * 1000.0 - (pressed - go_seen);
        errors.push_back(error);
        abs_errors.push_back(std::fabs(error));
        errors_by_delay[t % 3].push_back(error);
        if (t == 0)
            after_first = usage_of(game);
        Sleep(100);
    }
    Sleep(300);
    const Usage after = usage_of(game);

    if (!game.click_close_box())
        return fail("no close box", game);
    DWORD code = 1;
    const bool ended = game.wait_exit(2000, &code);

    printf(
        "Trials: %d, delay maximum 1 s, space bar pressed %.0f/%.0f/%.0f ms after the go text.\n",
        trials, PRESS_DELAYS_MS[0], PRESS_DELAYS_MS[1], PRESS_DELAYS_MS[2]);
    printf("\nRead-out error = final read-out - true delay, where the true delay runs from the\n"
           "moment this driver saw the go text in the status bar to the moment it sent the\n"
           "space bar press (QueryPerformanceCounter). Negative: the read-out shows less.\n");
    printf("  error, ms:   min %+.2f  median %+.2f  p95 %+.2f  max %+.2f\n", quantile(errors, 0.0),
           quantile(errors, 0.5), quantile(errors, 0.95), quantile(errors, 1.0));
    printf("  |error|, ms: median %.2f  p95 %.2f  max %.2f   (target: p95 <= 2 ms)\n",
           quantile(abs_errors, 0.5), quantile(abs_errors, 0.95), quantile(abs_errors, 1.0));
    for (int d = 0; d < 3; ++d)
        printf("  pressed at %3.0f ms: median error %+.2f ms over %lu trials\n", PRESS_DELAYS_MS[d],
               quantile(errors_by_delay[d], 0.5),
               static_cast<unsigned long>(errors_by_delay[d].size()));
    printf("\nPolling loop period = interval between changes of the read-out's text while\n"
           "timing, sampled with WM_GETTEXT as fast as this driver can:\n");
    printf("  median %.3f ms, mean %.3f ms, p95 %.3f ms over %lu changes\n",
           quantile(intervals, 0.5), mean(intervals), quantile(intervals, 0.95),
           static_cast<unsigned long>(intervals.size()));
    printf("\nGame process, before the first trial / after the first / after the last:\n");
    printf("  handles (NtQuerySystemInformation): %ld / %ld / %ld\n", before.handles,
           after_first.handles, after.handles);
    printf("  private memory (PagefileUsage), KiB: %lu / %lu / %lu\n",
           static_cast<unsigned long>(before.bytes / 1024),
           static_cast<unsigned long>(after_first.bytes / 1024),
           static_cast<unsigned long>(after.bytes / 1024));
    printf("\nClosed with the close box: %s, exit code %lu\n",
           ended ? "ended" : "STILL RUNNING after 2 s", static_cast<unsigned long>(code));
    return ended ? 0 : 1;
}
