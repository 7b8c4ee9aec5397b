// Brings the whole runtime up, as the game's entry point does.
#include <gtest/gtest.h>
#include "game/lifetime.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    start_runtime();
    return RUN_ALL_TESTS();
}
