#include "TestSupport.hpp"

using Controls = GameTest;

// Music and sound flip only while not paused; pause stops the fall, and the
// music only while it is wanted.
TEST_F(Controls, MusicSoundAndPauseToggle)
{
    EXPECT_TRUE(toggleMusic(session, recorder.port) && toggleSound(session));
    EXPECT_TRUE(togglePause(session, recorder.port) && !session.game.fallingGem.falling);
    EXPECT_FALSE(toggleMusic(session, recorder.port) || toggleSound(session));
    EXPECT_TRUE(togglePause(session, recorder.port) && toggleMusic(session, recorder.port));
    EXPECT_TRUE(togglePause(session, recorder.port) && togglePause(session, recorder.port));
    EXPECT_EQ(std::tie(session.game.paused, session.game.fallingGem.falling, session.kept.musicOn, session.kept.soundOn),
              std::tuple(false, true, true, false));
    EXPECT_EQ(recorder.music, (std::vector{MusicCommand::Pause, MusicCommand::Play, MusicCommand::Pause,
                                           MusicCommand::Play}));
}

// Pausing inverts `falling`, so it is allowed only while the gem can still move
// down, and never in a landing pause, even when pulls emptied the cell below.
TEST_F(Controls, PauseOnlyWhileTheGemCanStillFall)
{
    struct Case { int row; const char* column; bool landingPause; bool paused; bool allowed; };
    const Case cases[] = {
        {3, "11", false, false, true}, {3, "11", false, true, true}, // pause, and back
        {7, "", false, false, false},  {5, "11", false, false, false}, // resting
        {4, "11", true, false, false},  {0, "11111111", false, true, false}, // landing pause, frozen
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        session.game.fallingGem = FallingGem{0, c.row, !c.landingPause && !c.paused, c.landingPause};
        session.game.paused = c.paused;
        stack(session.game.board, 0, c.column);
        EXPECT_EQ(togglePause(session, recorder.port), c.allowed);
        EXPECT_EQ(session.game.paused, c.paused != c.allowed);
    }
}
