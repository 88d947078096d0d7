#include "TestSupport.hpp"

using Animations = GameTest;

// Up at the tube throws a full thread away for 40 points. Each of 16 steps then moves
// the tube up a cell, its top bead leaving and the thread's top bead entering below.
TEST_F(Animations, DiscardScoresFortyAndRisesThroughTheTubeInSixteenSteps)
{
    const char* const tube[] = {"1", "21", "321", "4321", "54321", "654321", "D654321", "TD654321", ".TD65432",
                                "..TD6543", "...TD654", "....TD65", ".....TD6", "......TD", ".......T", ""};
    session.game.selectorStop = TrashTubeStop;
    session.game.thread = beads("123456DT");
    pushBead(session, advance(0.01), recorder.port);
    EXPECT_EQ(std::tie(session.game.trashAnimating, session.game.pendingPoints), std::tuple(true, 40));
    recorder.playing.insert(Effect::TrashDrop);
    pushBead(session, advance(0.01), recorder.port); // slot 7 is still filled before the first discard step
    EXPECT_EQ(std::tie(session.game.pendingPoints, session.carried.animationClock.start), std::tuple(80, now));
    EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::TrashDrop}) << "a playing sound was restarted";
    frame(0.079);
    EXPECT_EQ(text(session.game.thread), "123456DT");
    for (int step = 0; step < 16; ++step)
    {
        frame(step == 0 ? 0.001 : 0.08);
        EXPECT_EQ(stackOf(session.game.board, TubeColumn), tube[step]);
        EXPECT_EQ(session.game.trashAnimating, step < 15) << step;
    }
}

// The pull that fills the thread scores the pattern or eight diamonds, each tested on
// its own. Eight steps slide the thread out, after a match with the pattern; then eight,
// one draw each, scroll in a new pattern of the kinds in play. One step per frame
// however long, and on while paused or after time-up.
TEST_F(Animations, AFilledThreadScoresAndClearsThenThePatternRefills)
{
    // Beads are worth 100 - 10 * code: codes 4 to 8 and all eight kinds in the last case
    for (const auto& [kindSpan, full, match, points, refilled] : {std::tuple{2, "31223112", true, 650, "12312312"},
                                                                  std::tuple{3, "31223112", true, 650, "12341234"},
                                                                  std::tuple{2, "DDDDDDDD", false, 800, "31223112"},
                                                                  std::tuple{7, "84567845", true, 330, "12345678"}})
    {
        SCOPED_TRACE(refilled);
        session = started();
        recorder.playing.clear();
        random.script.erase(random.script.begin() + static_cast<long>(random.used), random.script.end());
        session.game.kindSpan = kindSpan;
        const std::string pattern = match ? full : "31223112";
        session.game.pattern = beads(pattern);
        session.game.thread = beads(full + 1);
        stack(session.game.board, StartStop, std::string(full, 1));
        pullGem(session, advance(0.01), recorder.port);
        EXPECT_EQ(std::tie(session.game.pendingPoints, session.game.patternsCompleted, session.game.patternClearing,
                           session.game.threadClearing, session.carried.animationClock.start),
                  std::tuple(points, match ? 1 : 0, match, !match, now));

        session.game.paused = session.game.timeUp = true;
        frame(0.3);
        frame(0.049);
        EXPECT_EQ(text(session.game.thread) + "|" + text(session.game.pattern),
                  "." + std::string(full, 7) + (match ? "|." + pattern.substr(0, 7) : "|" + pattern));
        for (int step = 2; step <= 7; ++step)
            frame(0.05);
        EXPECT_TRUE(session.game.threadClearing || session.game.patternClearing);
        frame(0.3); // the last clear step restarts the clock: no refill step in its frame
        EXPECT_EQ(std::tie(session.game.thread, session.game.threadClearing, session.game.patternClearing, session.carried.patternRefilling),
                  std::tuple(Thread{}, false, false, match));
        random.add({0, 1, 2, 3, 4, 5, 6, 7});
        frame(0.05);
        EXPECT_EQ(random.remaining(), match ? 7u : 8u) << "one draw per refill step";
        for (int step = 2; step <= 8; ++step)
            frame(0.05);
        EXPECT_EQ(std::tuple(text(session.game.pattern), session.carried.patternRefilling), std::tuple(refilled, false));
    }
    EXPECT_EQ(recorder.started, std::vector<Effect>(4, Effect::PatternShift));
}
