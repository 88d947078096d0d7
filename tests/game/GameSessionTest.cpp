#include "game/GameSession.hpp"

#include "TestSupport.hpp"

using namespace testing_support;

TEST(GameSession, StartRestartsEveryClockThenDrawsColumnAndCode)
{
    GameSession session;
    ScriptedRandom random{25, 7};
    startSession(session, random.draw(), 1234);
    EXPECT_EQ(session.fallingGem.column, 1);
    EXPECT_EQ(session.fallingGem.code, 2);
    EXPECT_EQ(session.fallingGem.row, 0);
    for (const Timer* timer : {&session.fallingGem.fallClock, &session.fallingGem.landingClock,
                               &session.levelClock, &session.animationClock, &session.transitionClock,
                               &session.selectorClock, &session.pulseClock, &session.endClock,
                               &session.levelBlinkClock})
        EXPECT_EQ(timer->start, 1234);
}

TEST(GameSession, ResetRewritesThePerGameFieldsAndKeepsTheRest)
{
    // A game left in the middle of everything.
    GameSession session;
    for (auto& row : session.board)
        row.fill(3);
    session.fallingGem = {5, 6, TrashGem, false, true, Timer{11}, Timer{12}};
    session.thread = {1, 2, 3, 4, 5, 6, 7, 8};
    session.selectorStop = 12;
    session.kindSpan = 5;
    session.fallSpeed = 0.3f;
    session.level = 33;
    session.secondsLeft = 7;
    session.score = 9000;
    session.pendingPoints = 40;
    session.bestScore = 12000;
    session.patternsCompleted = 9;
    session.popupPoints = 650;
    session.popupStep = 12.f;
    session.popupX = 500.f;
    session.paused = session.timeUp = session.overflowEnding = true;
    session.endMusicRestarted = session.endScreenPrepared = true;
    session.trashAnimating = session.threadClearing = session.patternClearing = true;
    session.patternRefilling = true;
    session.soundOn = session.musicOn = false;
    session.levelBlinking = true;
    session.animationClock.restart(13);
    session.selectorClock.restart(14);
    session.pulseClock.restart(15);

    // Column draw first, then the eight pattern gems.
    ScriptedRandom random{23, 0, 1, 2, 3, 4, 5, 6, 7};
    resetGame(session, random.draw(), 5000);
    EXPECT_EQ(random.remaining(), 0u);

    EXPECT_TRUE(session.gameReady);
    EXPECT_EQ(session.fallingGem.column, 11);
    EXPECT_EQ(session.fallingGem.row, 0);
    EXPECT_TRUE(session.fallingGem.falling);
    EXPECT_EQ(session.pattern, (TargetPattern{1, 2, 3, 1, 2, 3, 1, 2}));
    EXPECT_EQ(session.board, Board{});
    EXPECT_EQ(session.thread, Thread{});
    EXPECT_EQ(session.selectorStop, StartStop);
    EXPECT_EQ(session.kindSpan, 2);
    EXPECT_EQ(session.fallSpeed, 0.f);
    EXPECT_EQ(session.level, 1);
    EXPECT_EQ(session.secondsLeft, 60);
    EXPECT_EQ(session.score, 0);
    EXPECT_EQ(session.patternsCompleted, 0);
    EXPECT_EQ(session.levelClock.start, 5000);
    for (bool flag : {session.paused, session.timeUp, session.overflowEnding, session.endMusicRestarted,
                      session.endScreenPrepared, session.trashAnimating, session.threadClearing,
                      session.patternClearing})
        EXPECT_FALSE(flag);

    EXPECT_EQ(session.fallingGem.code, TrashGem);
    EXPECT_TRUE(session.fallingGem.landingPause);
    EXPECT_EQ(session.fallingGem.fallClock.start, 11);
    EXPECT_EQ(session.fallingGem.landingClock.start, 12);
    EXPECT_EQ(session.pendingPoints, 40);
    EXPECT_EQ(session.bestScore, 12000);
    EXPECT_EQ(session.popupPoints, 650);
    EXPECT_EQ(session.popupStep, 12.f);
    EXPECT_EQ(session.popupX, 500.f);
    EXPECT_TRUE(session.patternRefilling);
    EXPECT_FALSE(session.soundOn);
    EXPECT_FALSE(session.musicOn);
    EXPECT_TRUE(session.levelBlinking);
    EXPECT_EQ(session.animationClock.start, 13);
    EXPECT_EQ(session.selectorClock.start, 14);
    EXPECT_EQ(session.pulseClock.start, 15);
}
