#include "game/Animations.hpp"

#include "TestSupport.hpp"

using namespace testing_support;

namespace
{
struct AnimationsFixture : ::testing::Test
{
    ManualClock clock;
    ScriptedRandom random;
    GameSession session = startedSession(clock.now, 0);

    void frame(double seconds) { stepThreadAnimations(session, clock.advance(seconds), random.draw()); }

    Thread tube() const
    {
        Thread cells{};
        for (int row = 0; row < BoardRows; ++row)
            cells[row] = session.board[row][TubeColumn];
        return cells;
    }
};
} // namespace

TEST_F(AnimationsFixture, DiscardRisesThroughTheTubeInSixteenSteps)
{
    session.thread = {1, 2, 3, 4, 5, 6, 9, 10};
    session.trashAnimating = true;
    session.animationClock.restart(clock.now);

    frame(0.079);
    EXPECT_EQ(tube(), Thread{});
    frame(0.001);
    EXPECT_EQ(session.thread, (Thread{2, 3, 4, 5, 6, 9, 10, 0}));
    EXPECT_EQ(tube(), (Thread{0, 0, 0, 0, 0, 0, 0, 1}));

    for (int step = 2; step <= 8; ++step)
        frame(0.08);
    EXPECT_EQ(session.thread, Thread{});
    EXPECT_EQ(tube(), (Thread{1, 2, 3, 4, 5, 6, 9, 10}));

    frame(0.08);
    EXPECT_EQ(tube(), (Thread{2, 3, 4, 5, 6, 9, 10, 0}));

    for (int step = 10; step <= 15; ++step)
        frame(0.08);
    EXPECT_TRUE(session.trashAnimating);
    frame(0.08);
    EXPECT_EQ(tube(), Thread{});
    EXPECT_FALSE(session.trashAnimating);
}

TEST_F(AnimationsFixture, MatchClearsThreadAndPatternThenANewPatternScrollsIn)
{
    struct Case
    {
        int kindSpan;
        std::initializer_list<int> draws;
        TargetPattern refilled;
    };
    for (const Case c : {Case{2, {0, 1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 1, 2, 3, 1, 2}},
                         Case{3, {0, 1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 1, 2, 3, 4}}})
    {
        SCOPED_TRACE(c.kindSpan);
        session.kindSpan = c.kindSpan;
        session.thread = {3, 1, 2, 2, 3, 1, 1, 2};
        session.pattern = session.thread;
        session.patternClearing = true;
        session.animationClock.restart(clock.now);

        frame(0.05);
        EXPECT_EQ(session.thread, (Thread{0, 3, 1, 2, 2, 3, 1, 1}));
        EXPECT_EQ(session.pattern, session.thread);
        for (int step = 2; step <= 7; ++step)
            frame(0.05);
        EXPECT_TRUE(session.patternClearing);

        // The last clear step restarts the clock: no refill step in its frame.
        frame(0.3);
        EXPECT_EQ(session.thread, Thread{});
        EXPECT_EQ(session.pattern, TargetPattern{});
        EXPECT_FALSE(session.patternClearing);
        EXPECT_TRUE(session.patternRefilling);

        random.add(c.draws);
        for (int step = 1; step <= 8; ++step)
        {
            frame(0.05);
            EXPECT_EQ(random.remaining(), 8u - step);
        }
        EXPECT_EQ(session.pattern, c.refilled);
        EXPECT_FALSE(session.patternRefilling);
    }
}

TEST_F(AnimationsFixture, EightDiamondsClearTheThreadOnly)
{
    session.thread = {9, 9, 9, 9, 9, 9, 9, 9};
    session.pattern = {1, 2, 3, 1, 2, 3, 1, 2};
    session.threadClearing = true;
    session.animationClock.restart(clock.now);
    for (int step = 1; step <= 8; ++step)
        frame(0.05);
    EXPECT_EQ(session.thread, Thread{});
    EXPECT_FALSE(session.threadClearing);
    frame(1.0);
    EXPECT_EQ(session.pattern, (TargetPattern{1, 2, 3, 1, 2, 3, 1, 2}));
    EXPECT_FALSE(session.patternRefilling);
}

TEST_F(AnimationsFixture, ALongFrameMakesOneStepAndPhasesRunWhilePaused)
{
    session.paused = true;
    session.timeUp = true;
    session.thread = {1, 1, 1, 1, 1, 1, 1, 1};
    session.threadClearing = true;
    session.animationClock.restart(clock.now);
    frame(0.3);
    EXPECT_EQ(session.thread, (Thread{0, 1, 1, 1, 1, 1, 1, 1}));
    frame(0.049);
    EXPECT_EQ(session.thread, (Thread{0, 1, 1, 1, 1, 1, 1, 1}));
    frame(0.001);
    EXPECT_EQ(session.thread, (Thread{0, 0, 1, 1, 1, 1, 1, 1}));
}

TEST(FirstPattern, EightDrawsOfCodesOneToThreeSlotZeroFirst)
{
    GameSession session;
    ScriptedRandom random{0, 1, 2, 3, 32767, 32766, 32765, 5};
    dealFirstPattern(session, random.draw());
    EXPECT_EQ(session.pattern, (TargetPattern{1, 2, 3, 1, 2, 1, 3, 3}));
}
