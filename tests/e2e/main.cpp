// End-to-end tests of the built game. Usage: e2e_tests [gtest options] GAME.exe
// (a Unix path is taken as Wine's Z: drive sees it).
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "tests/support/dpi.h"

std::string game_exe;

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: e2e_tests [gtest options] PATH-TO-Flinchmeter.exe\n");
        return 2;
    }
    game_exe = argv[1];
    if (!display_has_expected_dpi())
        return 1;
    return RUN_ALL_TESTS();
}
