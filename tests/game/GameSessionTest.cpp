#include "TestSupport.hpp"

// A game played a while, then reset, holds a fresh game from the same draws; what a game hands on to the next
// (the falling gem's kind and clocks, a refill, the shared clocks) and what the program keeps are as they were.
TEST(GameSession, TheResetStartsAFreshGameAndKeepsTheRest)
{
    RandomGenerator game(6), player(7);
    RandomDraw draw = std::ref(game);
    AudioRecorder audio;
    GameSession played;
    Micros now = 0;
    startSession(played, draw, now);
    resetGame(played, draw);
    beginPlay(played, now);
    std::tie(played.game.level, played.game.score, played.kept.bestScore, played.kept.soundOn) = std::tuple(12, 900, 900, false);
    for (int frame = 0; frame < 3000; ++frame)
    {
        now += microsFromSeconds(0.02);
        switch (player() % 6)
        {
            case 0: pullGem(played, now, audio.port); break;
            case 1: pushBead(played, now, audio.port); break;
            case 2: moveSelectorLeft(played, now); break;
            case 3: moveSelectorRight(played, now); break;
            case 4: hardDrop(played, now, audio.port); break;
            case 5: togglePause(played, audio.port); break;
        }
        stepThreadAnimations(played, now, draw);
        updateFallingGem(played, now, draw, audio.port);
    }
    const CarriedRecord carried = played.carried;
    const KeptRecord kept = played.kept;

    RandomGenerator same = game;
    RandomDraw sameDraw = std::ref(same);
    resetGame(played, draw);
    GameSession fresh;
    resetGame(fresh, sameDraw);
    EXPECT_TRUE(played.game == fresh.game) << "reset:\n" << dumpSession(played) << "a fresh game:\n" << dumpSession(fresh);
    EXPECT_TRUE(played.carried == carried && played.kept == kept) << dumpSession(played);
    EXPECT_TRUE(played.game.gameReady && played.game.fallingGem.falling);

    // Its draws in their order: the falling gem's column, then the pattern from slot 0, codes 1 to 3
    ScriptedRandom script{13, 0, 1, 2, 3, 4, 5, 6, 7};
    resetGame(played, script.draw);
    EXPECT_EQ(std::tuple(played.game.fallingGem.column, played.game.pattern, script.remaining()),
              std::tuple(1, beads("12312312"), 0u));
}
