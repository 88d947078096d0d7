#include "TestSupport.hpp"

using Controls = GameTest;

// One key pressed `wait` seconds after the last. Down takes the column's bottom gem
// onto slot 0, Up puts slot 0 back under the column, Left and Right move once per
// more than 0.03 s. Column 3 and the tube hold the same stack, bottom-up.
// Locks: '-' none, 'd' a discard runs, 'p' paused, 't' the last level's time is up.
TEST_F(Controls, OneKeyPress)
{
    struct Case { char key; int stop; const char* thread; const char* column; double wait; char lock;
                  int stopAfter; const char* threadAfter; const char* columnAfter; bool restarted; };
    const Case cases[] = {
        {'D', 3, "21", "31", 0.01, '-', 3, "321", "1", true},
        {'D', 3, "12312312", "31", 0.01, '-', 3, "12312312", "31", true},
        {'D', 3, "21", "", 0.01, '-', 3, "21", "", true},
        {'D', 12, "21", "31", 0.01, '-', 12, "21", "31", true},
        {'D', 3, "", "12312313", 0.01, '-', 3, "1", "23123133", true}, // row 0 keeps its gem
        {'D', 3, "21", "31", 1.0, 'p', 3, "21", "31", false},
        {'U', 3, "23", "11111", 0.01, '-', 3, "3", "211111", true},
        {'U', 3, "3", "111111", 0.01, '-', 3, "3", "111111", true},
        {'U', 3, "", "11111", 0.01, '-', 3, "", "11111", true},
        {'U', 12, "1231231", "", 0.01, '-', 12, "1231231", "", true}, // only a full thread is thrown away
        {'U', 3, "23", "11111", 1.0, 't', 3, "23", "11111", false},
        {'R', 6, "", "", 1.0, '-', 7, "", "", true},     {'R', 6, "", "", 0.03, '-', 6, "", "", false},
        {'L', 6, "", "", 0.030001, '-', 5, "", "", true}, {'L', 0, "", "", 0.05, '-', 0, "", "", true},
        {'R', 12, "", "", 0.05, '-', 12, "", "", true},  {'L', 12, "", "", 0.05, 'd', 12, "", "", false},
        {'R', 5, "", "", 0.05, 'd', 6, "", "", true},    {'L', 6, "", "", 1.0, 'p', 6, "", "", false},
        {'R', 6, "", "", 1.0, 't', 6, "", "", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        stack(session.board, 3, c.column);
        stack(session.board, TubeColumn, c.column);
        session.thread = beads(c.thread);
        session.selectorStop = c.stop;
        session.selectorClock.restart(now);
        std::tie(session.trashAnimating, session.paused, session.timeUp) =
            std::tuple(c.lock == 'd', c.lock == 'p', c.lock == 't');
        advance(c.wait);
        c.key == 'D' ? pullGem(session, now, recorder.port) : c.key == 'U' ? pushBead(session, now, recorder.port)
                     : c.key == 'L' ? moveSelectorLeft(session, now) : moveSelectorRight(session, now);
        EXPECT_EQ(std::tuple(text(session.thread), stackOf(session.board, 3), session.selectorStop,
                             session.trashAnimating, session.selectorClock.start == now),
                  std::tuple(c.threadAfter, c.columnAfter, c.stopAfter, c.lock == 'd', c.restarted));
    }
}

// Music and sound flip only while not paused; pause stops the fall, and the
// music only while it is wanted.
TEST_F(Controls, MusicSoundAndPauseToggle)
{
    EXPECT_TRUE(toggleMusic(session, recorder.port) && toggleSound(session));
    EXPECT_TRUE(togglePause(session, recorder.port) && !session.fallingGem.falling);
    EXPECT_FALSE(toggleMusic(session, recorder.port) || toggleSound(session));
    EXPECT_TRUE(togglePause(session, recorder.port) && toggleMusic(session, recorder.port));
    EXPECT_TRUE(togglePause(session, recorder.port) && togglePause(session, recorder.port));
    EXPECT_EQ(std::tie(session.paused, session.fallingGem.falling, session.musicOn, session.soundOn),
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
        session.fallingGem = FallingGem{0, c.row, 1, !c.landingPause && !c.paused, c.landingPause, {}, {}};
        session.paused = c.paused;
        stack(session.board, 0, c.column);
        EXPECT_EQ(togglePause(session, recorder.port), c.allowed);
        EXPECT_EQ(session.paused, c.paused != c.allowed);
    }
}
