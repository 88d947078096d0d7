#include "TestSupport.hpp"

// Start restarts every clock. A game left in the middle of everything: reset draws the
// column, then the eight pattern gems, rewrites the per-game fields and keeps the rest.
TEST(GameSession, StartRestartsTheClocksAndResetRewritesOnlyThePerGameFields)
{
    GameSession s;
    ScriptedRandom random{0, 0, 23, 0, 1, 2, 3, 4, 5, 6, 7};
    startSession(s, random.draw, 13);
    EXPECT_EQ(std::tie(s.levelClock.start, s.fallingGem.fallClock.start, s.fallingGem.landingClock.start),
              std::tuple(13, 13, 13));
    s.board.fill({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3});
    s.fallingGem = {5, 6, TrashGem, false, true, Timer{11}, Timer{12}};
    s.thread = beads("12345678");
    s.kindSpan = s.level = s.secondsLeft = s.patternsCompleted = s.selectorStop = 7;
    s.score = s.pendingPoints = s.bestScore = s.popupPoints = 900;
    s.fallSpeed = s.popupStep = s.popupX = 0.3f;
    s.paused = s.timeUp = s.overflowEnding = s.endMusicRestarted = s.endScreenPrepared = true;
    s.trashAnimating = s.threadClearing = s.patternClearing = s.patternRefilling = s.levelBlinking = true;
    s.soundOn = s.musicOn = false;
    resetGame(s, random.draw, 5000);
    EXPECT_EQ(std::tuple(random.remaining(), s.board, s.thread, s.pattern, s.fallingGem.column, s.fallingGem.row,
                         s.fallingGem.falling),
              std::tuple(0u, Board{}, Thread{}, beads("12312312"), 11, 0, true));
    EXPECT_EQ(std::tie(s.kindSpan, s.fallSpeed, s.level, s.secondsLeft, s.levelClock.start, s.score,
                       s.patternsCompleted, s.selectorStop, s.gameReady, s.paused, s.timeUp, s.overflowEnding,
                       s.endMusicRestarted, s.endScreenPrepared, s.trashAnimating, s.threadClearing, s.patternClearing),
              std::tuple(2, 0.f, 1, 60, 5000, 0, 0, StartStop, true, false, false, false, false, false, false, false,
                         false));

    // Kept: the first gem of a game is the last one chosen, with its flag and clocks.
    const FallingGem& gem = s.fallingGem;
    EXPECT_EQ(std::tie(gem.code, gem.landingPause, gem.fallClock.start, gem.landingClock.start, s.pendingPoints,
                       s.bestScore, s.popupPoints, s.popupStep, s.popupX, s.patternRefilling, s.levelBlinking,
                       s.soundOn, s.musicOn, s.animationClock.start, s.transitionClock.start, s.selectorClock.start,
                       s.pulseClock.start, s.endClock.start, s.levelBlinkClock.start),
              std::tuple(TrashGem, true, 11, 12, 900, 900, 900, 0.3f, 0.3f, true, true, false, false, 13, 13, 13, 13,
                         13, 13));
}
