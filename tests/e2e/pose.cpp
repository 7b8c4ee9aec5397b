// Brings the built game to the states the README shows, for screenshots:
// one finished trial with its reading and the invitation to another go; then,
// when asked, the same after the game was told it moved to a monitor of 144
// DPI (and back), and the session results after ten trials.
// Usage: e2e_pose GAME.exe RECT-FILE DONE-FILE [RESULTS-RECT-FILE RESULTS-DONE-FILE
//                 [MOVED-RECT-FILE MOVED-DONE-FILE]]
// Writes the window's screen rectangle as "width height left top" to
// RECT-FILE and waits until DONE-FILE exists (the picture is taken); the same
// for the moved window and the results window with the other files; then
// closes the game with its close box.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "tests/e2e/driver.h"
#include "tests/support/input.h"

namespace {

int fail(const char* what, const Game& game)
{
    fprintf(stderr, "e2e_pose: %s (status: \"%s\")\n", what, game.status().c_str());
    return 1;
}

// Writes the window's rectangle and waits until the picture is taken.
bool pose(HWND window, const std::string& rect_file, const std::string& done_file)
{
    RECT r{};
    GetWindowRect(window, &r);
    FILE* f = fopen(rect_file.c_str(), "w");
    if (!f)
        return false;
    fprintf(f, "%ld %ld %ld %ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    fclose(f);
    for (int waited = 0; GetFileAttributesA(done_file.c_str()) == INVALID_FILE_ATTRIBUTES;
         waited += 100) {
        if (waited > 60000)
            return false;
        Sleep(100);
    }
    return true;
}

// Nine more trials after the first: presses at a player's pace, one too early.
bool play_a_session(const Game& game)
{
    const DWORD after_go_ms[] = {260, 205, 0, 240, 190, 300, 215, 180, 200};
    if (!game.type_delay_max(1))
        return false;
    for (DWORD wait : after_go_ms) {
        game.click_start();
        if (!game.wait_status(status_says::DELAY, 3000))
            return false;
        if (wait == 0) {
            if (!game.hold_key_until_status(VK_SPACE, status_says::CHEAT, 3000))
                return false;
            continue;
        }
        if (!game.wait_status(status_says::GO, 3000))
            return false;
        Sleep(wait);
        input_key_held(VK_SPACE, 60);
        if (!game.wait_status(status_says::AGAIN, 2000))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 6 && argc != 8) {
        fprintf(stderr, "usage: e2e_pose GAME.exe RECT-FILE DONE-FILE [RESULTS-RECT-FILE "
                        "RESULTS-DONE-FILE [MOVED-RECT-FILE MOVED-DONE-FILE]]\n");
        return 2;
    }
    const std::string rect_file = to_windows_path(argv[2]);
    const std::string done_file = to_windows_path(argv[3]);

    Game game;
    if (!game.start_for_trials(argv[1], 1)) {
        fprintf(stderr, "e2e_pose: %s\n", game.error().c_str());
        return 1;
    }
    game.click_start();
    if (!game.wait_status(status_says::GO, 3000))
        return fail("no go text", game);
    Sleep(230);
    input_key_held(VK_SPACE, 60);
    if (!game.wait_status(status_says::AGAIN, 2000))
        return fail("the press was not taken", game);
    // Back to the usual maximum, and the pointer out of the way.
    if (!game.type_delay_max(10))
        return fail("could not set the delay maximum back", game);
    input_key(VK_TAB);
    input_move(2, 2);
    Sleep(500);

    if (!pose(game.window(), rect_file, done_file))
        return fail("no picture was taken", game);

    // As Windows shows it on a second monitor, of 144 DPI.
    if (argc == 8 && (!game.change_dpi(96, 144) ||
                      !pose(game.window(), to_windows_path(argv[6]), to_windows_path(argv[7])) ||
                      !game.change_dpi(144, 96)))
        return fail("no picture of the game moved to 144 DPI was taken", game);
    if (argc >= 6) {
        if (!play_a_session(game))
            return fail("the session could not be played", game);
        game.to_front();
        const HWND results = game.open_results();
        if (!results)
            return fail("Alt+Space, U opened no results window", game);
        input_move(2, 2);
        Sleep(500);
        if (!pose(results, to_windows_path(argv[4]), to_windows_path(argv[5])))
            return fail("no picture of the results was taken", game);
    }
    if (!game.click_close_box())
        return fail("no close box", game);
    DWORD code = 1;
    if (!game.wait_exit(2000, &code))
        return fail("the game did not end after its close box", game);
    return code == 0 ? 0 : 1;
}
