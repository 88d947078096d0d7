#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"

#include "TestSupport.hpp"

using namespace testing_support;

namespace
{
struct FallingFixture : ::testing::Test
{
    ManualClock clock;
    ScriptedRandom random;
    AudioRecorder recorder;
    AudioPort audio = recorder.port();
    GameSession session = startedSession(clock.now, 4);

    FallResult update() { return updateFallingGem(session, clock.now, random.draw(), audio); }
};
} // namespace

TEST_F(FallingFixture, FallsSevenStepsLandsOnTheNextUpdateAndSpawnsAfterHalfAnInterval)
{
    struct Speed
    {
        float fallSpeed;
        Micros step;  // fall interval
        Micros pause; // landing pause
    };
    for (const Speed speed : {Speed{0.f, 700000, 350000}, Speed{0.2f, 500000, 250000}})
    {
        SCOPED_TRACE(speed.fallSpeed);
        session = startedSession(clock.now, 4);
        session.fallSpeed = speed.fallSpeed;
        recorder.started.clear();

        for (int row = 1; row <= 7; ++row)
        {
            clock.advanceMicros(speed.step - 1);
            update();
            ASSERT_EQ(session.fallingGem.row, row - 1) << "stepped before the interval";
            clock.advanceMicros(1);
            EXPECT_EQ(update(), FallResult::Continue);
            ASSERT_EQ(session.fallingGem.row, row);
        }
        EXPECT_EQ(session.board[7][4], EmptyGem);

        clock.advanceMicros(1);
        update();
        EXPECT_EQ(session.board[7][4], 1);
        EXPECT_FALSE(session.fallingGem.falling);
        EXPECT_TRUE(session.fallingGem.landingPause);
        EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::GemFall});

        clock.advanceMicros(speed.pause - 1);
        update();
        EXPECT_TRUE(session.fallingGem.landingPause);

        // Column draw, then the kind: d = 50 picks the weighted choice, where code 1
        // (all of the board) weighs 0 and code 2 outdraws code 3.
        random.add({17, 50, 32767, 20000, 10000});
        clock.advanceMicros(1);
        EXPECT_EQ(update(), FallResult::Continue);
        EXPECT_EQ(random.remaining(), 0u);
        EXPECT_FALSE(session.fallingGem.landingPause);
        EXPECT_TRUE(session.fallingGem.falling);
        EXPECT_EQ(session.fallingGem.row, 0);
        EXPECT_EQ(session.fallingGem.column, 5);
        EXPECT_EQ(session.fallingGem.code, 2);
        EXPECT_EQ(session.fallingGem.fallClock.start, clock.now);
    }
}

TEST_F(FallingFixture, OneStepPerFrameAndTheOvershootIsDropped)
{
    clock.advance(3.0);
    update();
    EXPECT_EQ(session.fallingGem.row, 1);
    clock.advance(0.69);
    update();
    EXPECT_EQ(session.fallingGem.row, 1);
    clock.advance(0.01);
    update();
    EXPECT_EQ(session.fallingGem.row, 2);
}

TEST_F(FallingFixture, HardDropLandsOnTheStackAtOnce)
{
    struct Case
    {
        int startRow;
        std::initializer_list<GemCode> column;
        int landingRow;
    };
    for (const Case c : {Case{0, {}, 7}, Case{0, {3, 3, 3}, 4}, Case{4, {3, 3, 3}, 4}})
    {
        SCOPED_TRACE(c.landingRow);
        session = startedSession(clock.now, 4, 2);
        stack(session.board, 4, c.column);
        session.fallingGem.row = c.startRow;
        const Micros fallStart = session.fallingGem.fallClock.start;

        clock.advance(0.1);
        hardDrop(session, clock.now, audio);
        EXPECT_EQ(session.fallingGem.row, c.landingRow);
        EXPECT_EQ(session.board[c.landingRow][4], 2);
        EXPECT_EQ(columnHeight(session.board, 4), 8 - c.landingRow);
        EXPECT_FALSE(session.fallingGem.falling);
        EXPECT_TRUE(session.fallingGem.landingPause);
        EXPECT_EQ(session.fallingGem.landingClock.start, clock.now);
        EXPECT_EQ(session.fallingGem.fallClock.start, fallStart);

        // A second drop in the landing pause writes nothing more.
        hardDrop(session, clock.now, audio);
        EXPECT_EQ(columnHeight(session.board, 4), 8 - c.landingRow);
    }

    random.add({0, 99, 1, 1, 1});
    clock.advance(0.35);
    update();
    EXPECT_TRUE(session.fallingGem.falling);
}

TEST_F(FallingFixture, GemOverAColumnOfSevenLandsInRowZeroAndFreezesAfterTheLandingPause)
{
    stack(session.board, 4, {1, 2, 3, 1, 2, 3, 1});
    clock.advanceMicros(1);
    EXPECT_EQ(update(), FallResult::Continue);
    EXPECT_EQ(session.board[0][4], 1);
    EXPECT_TRUE(overflowReached(session));

    clock.advanceMicros(350000 - 1);
    EXPECT_EQ(update(), FallResult::Continue);
    clock.advanceMicros(1);
    EXPECT_EQ(update(), FallResult::Froze); // no draws scripted: no spawn
    EXPECT_TRUE(session.paused);
    EXPECT_FALSE(session.fallingGem.falling);
    EXPECT_FALSE(session.fallingGem.landingPause);
}

TEST_F(FallingFixture, AfterTimeUpTheGemHangsButCanStillBeDropped)
{
    session.timeUp = true;
    clock.advance(10.0);
    update();
    EXPECT_EQ(session.fallingGem.row, 0);
    EXPECT_TRUE(session.fallingGem.falling);

    session.fallingGem.row = 6;
    stack(session.board, 4, {3}); // resting, yet no landing
    clock.advance(1.0);
    update();
    EXPECT_EQ(session.board[6][4], EmptyGem);

    hardDrop(session, clock.now, audio);
    EXPECT_EQ(session.board[6][4], 1);

    random.add({30, 50, 1, 2, 3});
    clock.advance(0.35);
    update();
    clock.advance(5.0);
    update();
    EXPECT_EQ(session.fallingGem.column, 6);
    EXPECT_EQ(session.fallingGem.row, 0);
    EXPECT_TRUE(session.fallingGem.falling);
}

// A push-back lifts the stack into the cell the gem has just reached; the
// gem must settle on top of it, not overwrite the lifted gem.
TEST_F(FallingFixture, LandingOnACellFilledByAPushSettlesAboveIt)
{
    for (bool drop : {false, true})
    {
        SCOPED_TRACE(drop ? "hard drop" : "landing");
        session = startedSession(clock.now, 4, 2);
        stack(session.board, 4, {3, 3, 3});
        session.fallingGem.row = 4; // arrived on its resting cell
        session.selectorStop = 4;
        session.thread[0] = 1;

        clock.advance(0.1);
        pushBead(session, clock.now, audio);
        ASSERT_EQ(session.board[4][4], 3);

        if (drop)
            hardDrop(session, clock.now, audio);
        else
            update();
        EXPECT_EQ(session.fallingGem.row, 3);
        EXPECT_EQ(session.board[3][4], 2);
        EXPECT_EQ(session.board[7][4], 1);
        EXPECT_EQ(columnHeight(session.board, 4), 5) << dumpSession(session);
    }
}

TEST(KindChoice, DiamondAndTrashComeFirstThenKindsRareOnTheBoardAreFavoured)
{
    struct Case
    {
        const char* name;
        std::initializer_list<GemCode> column0;   // bottom-up
        std::initializer_list<GemCode> tube;      // bottom-up, never counted
        int kindSpan;
        std::initializer_list<int> draws;         // d, then one draw per kind
        GemCode expected;
    };
    const Case cases[] = {
        {"diamond at d 0", {}, {}, 2, {100}, DiamondGem},
        {"diamond at d 4", {}, {}, 2, {4}, DiamondGem},
        {"trash at d 5", {}, {}, 2, {5}, TrashGem},
        {"trash at d 6", {}, {}, 2, {106}, TrashGem},
        {"empty board gives 1, all draws made", {}, {}, 2, {7, 0, 32767, 32767}, 1},
        {"empty board with four kinds", {}, {}, 3, {7, 0, 1, 2, 32767}, 1},
        {"the only kind on the board weighs 0", {2, 2, 2}, {}, 2, {7, 100, 32767, 200}, 3},
        {"ties go to the lowest code", {2, 2, 2}, {}, 2, {7, 500, 32767, 500}, 1},
        {"rarer kinds weigh more", {1, 1, 1, 2}, {}, 2, {7, 32767, 12000, 1000}, 2},
        {"diamonds and trash count toward N only", {9, 10, 1}, {}, 2, {7, 16000, 10000, 0}, 1},
        {"tube beads never count", {1}, {3, 3, 3, 3, 3, 3, 3, 3}, 2, {7, 32767, 0, 10000}, 3},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameSession session;
        session.kindSpan = c.kindSpan;
        stack(session.board, 0, c.column0);
        stack(session.board, TubeColumn, c.tube);
        ScriptedRandom random(c.draws);
        EXPECT_EQ(chooseGemKind(session, random.draw()), c.expected);
        EXPECT_EQ(random.remaining(), 0u);
    }
}

TEST(DangerColumns, RowsOneAndTwoOccupiedSoundOneAlarm)
{
    GameSession session;
    AudioRecorder recorder;
    stack(session.board, 2, {1, 1, 1, 1, 1, 1});
    EXPECT_FALSE(isDangerColumn(session.board, 2));
    playDangerAlert(session, recorder.port());
    EXPECT_TRUE(recorder.started.empty());

    stack(session.board, 2, {1, 1, 1, 1, 1, 1, 1});
    stack(session.board, 7, {1, 1, 1, 1, 1, 1, 1});
    EXPECT_TRUE(isDangerColumn(session.board, 2));
    playDangerAlert(session, recorder.port());
    EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::Alert});

    stack(session.board, TubeColumn, {1, 1, 1, 1, 1, 1, 1});
    session.board[1][2] = EmptyGem;
    session.board[1][7] = EmptyGem;
    recorder.started.clear();
    playDangerAlert(session, recorder.port());
    EXPECT_TRUE(recorder.started.empty());
}

TEST(DangerColumns, PulseSwellsToOnePointTwoOncePerSecond)
{
    GameSession session;
    EXPECT_FLOAT_EQ(pulseFactor(session, 0), 1.f);
    EXPECT_NEAR(pulseFactor(session, 500000), 1.2f, 1e-5f);
    EXPECT_NEAR(pulseFactor(session, 1000000), 1.f, 1e-5f);
    EXPECT_NEAR(pulseFactor(session, 1500000), 1.2f, 1e-5f);
}
