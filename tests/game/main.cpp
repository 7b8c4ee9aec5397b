// Brings the whole runtime up, as the game's entry point does.
#include <gtest/gtest.h>
#include "game/lifetime.h"
#include "tests/support/dpi.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!display_has_expected_dpi())
        return 1;
    start_runtime();
    return RUN_ALL_TESTS();
}
