// Brings the built game to the state the README shows, for a screenshot:
// one finished trial with its reading and the invitation to another go.
// Usage: e2e_pose GAME.exe RECT-FILE DONE-FILE
// Writes the window's screen rectangle as "width height left top" to
// RECT-FILE, waits until DONE-FILE exists (the picture is taken), then
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: e2e_pose GAME.exe RECT-FILE DONE-FILE\n");
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

    RECT r{};
    GetWindowRect(game.window(), &r);
    FILE* f = fopen(rect_file.c_str(), "w");
    if (!f)
        return fail("cannot write the rectangle file", game);
    fprintf(f, "%ld %ld %ld %ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    fclose(f);

    for (int waited = 0; GetFileAttributesA(done_file.c_str()) == INVALID_FILE_ATTRIBUTES;
         waited += 100) {
        if (waited > 60000)
            return fail("no picture was taken within a minute", game);
        Sleep(100);
    }
    if (!game.click_close_box())
        return fail("no close box", game);
    DWORD code = 1;
    if (!game.wait_exit(2000, &code))
        return fail("the game did not end after its close box", game);
    return code == 0 ? 0 : 1;
}
