// The recorded game through the real rules, its record checked after every frame: indices and codes in range,
// the thread packed, the score only rising, and gems neither appearing nor vanishing within a game.

#include "app/Replay.hpp"
#include "../support/Invariants.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

TEST(Replay, TheRecordedGameKeepsItsInvariantsFrameByFrame)
{
    std::ifstream script(std::string(GLIMMORA_SOURCE_DIR) + "/tests/replay/golden.replay");
    ASSERT_TRUE(script);
    Replay replay;
    std::string line, error;
    long frames = 0;
    for (int number = 1; std::getline(script, line); ++number)
    {
        // One frame at a time, however many a line runs
        std::istringstream words(line);
        std::string word, seconds;
        int count = 1;
        if (!(words >> word >> seconds) || word != "frame")
        {
            ASSERT_TRUE(replay.apply(line, error)) << number << ": " << error;
            continue;
        }
        words >> count;
        for (int i = 0; i < count; ++i, ++frames)
        {
            const GameSession before = replay.app().session();
            const ScreenState screenBefore = replay.app().screen();
            ASSERT_TRUE(replay.apply("frame " + seconds, error)) << number << ": " << error;
            const char* broken = brokenInvariant(replay.app(), before, screenBefore);
            ASSERT_EQ(broken, nullptr) << "line " << number << ": " << broken << '\n' << dumpSession(replay.app().session());
        }
    }
    EXPECT_GT(frames, 3000);
    EXPECT_EQ(replay.app().screen(), ScreenState::Menu);
}
