#include "TestSupport.hpp"

using ThreadRules = GameTest;

// One key pressed `wait` seconds after the last. Down takes the column's bottom gem
// onto slot 0, Up puts slot 0 back under the column, Left and Right move once per
// more than 0.03 s. Column 3 and the tube hold the same stack, bottom-up.
// Locks: '-' none, 'd' a discard runs, 'p' paused, 't' the last level's time is up.
TEST_F(ThreadRules, OneKeyPress)
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
        stack(session.game.board, 3, c.column);
        stack(session.game.board, TubeColumn, c.column);
        session.game.thread = beads(c.thread);
        session.game.selectorStop = c.stop;
        session.carried.selectorClock.restart(now);
        std::tie(session.game.trashAnimating, session.game.paused, session.game.timeUp) =
            std::tuple(c.lock == 'd', c.lock == 'p', c.lock == 't');
        advance(c.wait);
        c.key == 'D' ? pullGem(session, now, recorder.port) : c.key == 'U' ? pushBead(session, now, recorder.port)
                     : c.key == 'L' ? moveSelectorLeft(session, now) : moveSelectorRight(session, now);
        EXPECT_EQ(std::tuple(text(session.game.thread), stackOf(session.game.board, 3), session.game.selectorStop,
                             session.game.trashAnimating, session.carried.selectorClock.start == now),
                  std::tuple(c.threadAfter, c.columnAfter, c.stopAfter, c.lock == 'd', c.restarted));
    }
}
