// Benchmark of the built game, played from outside through the same driver as
// the end-to-end tests. Usage:
//   e2e_bench GAME.exe [TRIALS] [--base BASE.exe] [--stall MS]
//
// Plays the trials with the delay maximum at 1 s and presses the space bar
// 150, 250 and 400 ms after the go text appears, in turn. With --base it
// plays a second game as well, trial about with the first, so that both
// meet the same machine at the same time. With --stall it plays the fault
// run instead: every thread of the game is held for MS milliseconds 30 ms
// after the go text, and the press comes 250 ms after it. Prints figures; it
// judges nothing and fails only when it cannot play.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>
#include "tests/e2e/driver.h"
#include "tests/support/input.h"

namespace {

constexpr double PRESS_DELAYS_MS[] = {150.0, 250.0, 400.0};
constexpr double STALL_PRESS_MS = 250.0;
constexpr DWORD STALL_AFTER_GO_MS = 30;
constexpr DWORD HOLD_MS = 60;

struct Usage {
    long handles;
    SIZE_T bytes;
};

Usage usage_of(const Game& game)
{
    return {game.handle_count(), game.private_bytes()};
}

// What one game's trials gave.
struct Figures {
    std::vector<double> errors, abs_errors, intervals;
    std::vector<double> errors_by_delay[3];
    Usage before{}, after_first{}, after{};
};

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

bool fail(const char* what, const Game& game)
{
    fprintf(stderr, "e2e_bench: %s (status: \"%s\")\n", what, game.status().c_str());
    return false;
}

// One trial, pressed `target` ms after the go text (holding the game's
// threads for `stall_ms` first, when given); its error goes into `f`.
bool play_trial(const Game& game, double target, int delay_index, DWORD stall_ms, Figures* f)
{
    game.to_front();
    game.click_start();
    if (!game.wait_status(status_says::DELAY, 2000))
        return fail("the trial did not start", game);
    // Watch for the go text as closely as the window lets us.
    const double give_up = now_ms() + 3000;
    while (game.status() != status_says::GO)
        if (now_ms() > give_up)
            return fail("no go text within 3 s", game);
    const double go_seen = now_ms();
    if (stall_ms) {
        while (now_ms() < go_seen + STALL_AFTER_GO_MS)
            ;
        if (stall_process(game.pid(), stall_ms) == 0)
            return fail("could not hold the game's threads", game);
    }

    // Until the press, sample the read-out as fast as possible and note when
    // its text changes.
    std::string last = game.readout();
    double last_change = -1;
    double now = now_ms();
    while (now < go_seen + target) {
        const std::string text = game.readout();
        now = now_ms();
        if (text != last) {
            if (last_change >= 0)
                f->intervals.push_back(now - last_change);
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
    f->errors.push_back(error);
    f->abs_errors.push_back(std::fabs(error));
    f->errors_by_delay[delay_index].push_back(error);
    Sleep(100);
    return true;
}

// The game's own longest gap of each trial, from the fifth column of Copy's
// table; none from a game whose table has no such column.
std::vector<double> copied_gaps(const Game& game)
{
    std::vector<double> gaps;
    game.to_front();
    if (!game.open_results())
        return gaps;
    const std::string text = game.copy_results();
    if (text.find("Longest gap") == std::string::npos)
        return gaps;
    size_t from = text.find("\r\n");
    for (size_t end;
         from != std::string::npos && (end = text.find("\r\n", from + 2)) != std::string::npos;
         from = end) {
        const std::string line = text.substr(from + 2, end - from - 2);
        gaps.push_back(atof(line.c_str() + line.rfind('\t') + 1));
    }
    return gaps;
}

void print_errors(const char* name, const Figures& f)
{
    printf("  %-10s error, ms: min %+.2f  median %+.2f  p95 %+.2f  max %+.2f;"
           "  |error| p95 %.2f  max %.2f\n",
           name, quantile(f.errors, 0.0), quantile(f.errors, 0.5), quantile(f.errors, 0.95),
           quantile(f.errors, 1.0), quantile(f.abs_errors, 0.95), quantile(f.abs_errors, 1.0));
}

void print_game(const char* name, const Figures& f)
{
    for (int d = 0; d < 3; ++d)
        printf("  %-10s pressed at %3.0f ms: median error %+.2f ms over %lu trials\n", name,
               PRESS_DELAYS_MS[d], quantile(f.errors_by_delay[d], 0.5),
               static_cast<unsigned long>(f.errors_by_delay[d].size()));
    printf("  %-10s polling period (read-out changes): median %.3f ms, mean %.3f ms, p95 %.3f ms"
           " over %lu changes\n",
           name, quantile(f.intervals, 0.5), mean(f.intervals), quantile(f.intervals, 0.95),
           static_cast<unsigned long>(f.intervals.size()));
    printf("  %-10s handles before the first trial / after it / after the last: %ld / %ld / %ld;"
           " private memory, KiB: %lu / %lu / %lu\n",
           name, f.before.handles, f.after_first.handles, f.after.handles,
           static_cast<unsigned long>(f.before.bytes / 1024),
           static_cast<unsigned long>(f.after_first.bytes / 1024),
           static_cast<unsigned long>(f.after.bytes / 1024));
}

void print_gaps(const std::vector<double>& gaps)
{
    if (gaps.empty()) {
        printf("  longest gap: not read from Copy\n");
        return;
    }
    int coarse = 0;
    for (double g : gaps)
        coarse += g > 4.0;
    printf("  the game's own longest gap per trial, ms: median %.1f  max %.1f;"
           "  coarse (over 4.0 ms): %d of %lu\n",
           quantile(gaps, 0.5), quantile(gaps, 1.0), coarse,
           static_cast<unsigned long>(gaps.size()));
}

bool close_game(const Game& game)
{
    if (!game.click_close_box())
        return fail("no close box", game);
    DWORD code = 1;
    const bool ended = game.wait_exit(2000, &code);
    printf("  closed with the close box: %s, exit code %lu\n",
           ended ? "ended" : "STILL RUNNING after 2 s", static_cast<unsigned long>(code));
    return ended;
}

// Moves the base to the work area's left edge; false when the two windows
// still overlap.
bool beside_each_other(const Game& game, const Game& base)
{
    RECT work{}, ours{}, theirs{}, shared{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(base.window(), &theirs);
    SetWindowPos(base.window(), nullptr, work.left, theirs.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const double deadline = now_ms() + 2000; now_ms() < deadline; Sleep(10)) {
        GetWindowRect(game.window(), &ours);
        GetWindowRect(base.window(), &theirs);
        if (!IntersectRect(&shared, &ours, &theirs))
            return true;
    }
    return fail("the two games' windows overlap", base);
}

// The fault run: every thread held for `stall_ms` early in each trial.
int stall_run(const char* exe, int trials, DWORD stall_ms)
{
    Game game;
    if (!game.start_for_trials(exe, 1)) {
        fprintf(stderr, "e2e_bench: %s\n", game.error().c_str());
        return 1;
    }
    Figures f;
    for (int t = 0; t < trials; ++t)
        if (!play_trial(game, STALL_PRESS_MS, 1, stall_ms, &f))
            return 1;
    const std::vector<double> gaps = copied_gaps(game);
    const std::vector<std::string> lines = game.results_lines();
    printf("Fault run: %d trials, every thread of the game held for %lu ms %lu ms after the go"
           " text, the space bar pressed %.0f ms after it.\n",
           trials, static_cast<unsigned long>(stall_ms),
           static_cast<unsigned long>(STALL_AFTER_GO_MS), STALL_PRESS_MS);
    for (int t = 0; t < trials; ++t)
        printf("  trial %d: read-out error %+.2f ms, longest gap %.1f ms\n", t + 1, f.errors[t],
               static_cast<size_t>(t) < gaps.size() ? gaps[t] : -1.0);
    printf("  results window: \"%s\", \"%s\"\n", lines[4].c_str(), lines[10].c_str());
    return close_game(game) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: e2e_bench GAME.exe [TRIALS] [--base BASE.exe] [--stall MS]\n");
        return 2;
    }
    int trials = 30;
    const char* base_exe = nullptr;
    DWORD stall_ms = 0;
    for (int i = 2; i < argc; ++i) {
        if (strcmp(argv[i], "--base") == 0 && i + 1 < argc)
            base_exe = argv[++i];
        else if (strcmp(argv[i], "--stall") == 0 && i + 1 < argc)
            stall_ms = static_cast<DWORD>(atoi(argv[++i]));
        else
            trials = atoi(argv[i]);
    }
    if (stall_ms)
        return stall_run(argv[1], std::max(1, trials), stall_ms);
    trials = std::max(30, trials);

    Game game, base;
    if (!game.start_for_trials(argv[1], 1) || (base_exe && !base.start_for_trials(base_exe, 1))) {
        fprintf(stderr, "e2e_bench: %s%s\n", game.error().c_str(), base.error().c_str());
        return 1;
    }
    // Both start in the middle of the screen; side by side, a click meant for
    // one can never land on the other.
    if (base_exe && !beside_each_other(game, base))
        return 1;
    Game* games[] = {&game, base_exe ? &base : nullptr};
    Figures figures[2];
    Sleep(300);
    for (int g = 0; g < 2; ++g)
        if (games[g])
            figures[g].before = usage_of(*games[g]);
    for (int t = 0; t < trials; ++t) {
        for (int g = 0; g < 2; ++g) {
            if (!games[g])
                continue;
            if (!play_trial(*games[g], PRESS_DELAYS_MS[t % 3], t % 3, 0, &figures[g]))
                return 1;
            if (t == 0)
                figures[g].after_first = usage_of(*games[g]);
        }
    }
    Sleep(300);
    for (int g = 0; g < 2; ++g)
        if (games[g])
            figures[g].after = usage_of(*games[g]);

    printf("Trials: %d%s, delay maximum 1 s, space bar pressed %.0f/%.0f/%.0f ms after the go"
           " text.\n",
           trials, base_exe ? " per game, the two games' trials taking turns" : "",
           PRESS_DELAYS_MS[0], PRESS_DELAYS_MS[1], PRESS_DELAYS_MS[2]);
    printf("\nRead-out error = final read-out - true delay, where the true delay runs from the\n"
           "moment this driver saw the go text in the status bar to the moment it sent the\n"
           "space bar press (QueryPerformanceCounter). Negative: the read-out shows less.\n");
    print_errors("this game", figures[0]);
    if (base_exe) {
        print_errors("base", figures[1]);
        const double base_p95 = quantile(figures[1].abs_errors, 0.95);
        printf("  p95 of |error|, this game / base: %.2f / %.2f = %.2f\n",
               quantile(figures[0].abs_errors, 0.95), base_p95,
               base_p95 > 0 ? quantile(figures[0].abs_errors, 0.95) / base_p95 : 0.0);
    }
    printf("\n");
    print_game("this game", figures[0]);
    if (base_exe)
        print_game("base", figures[1]);
    printf("\n");
    print_gaps(copied_gaps(game));
    printf("\n");
    bool ended = close_game(game);
    if (base_exe)
        ended = close_game(base) && ended;
    return ended ? 0 : 1;
}
