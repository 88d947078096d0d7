#include "TestSupport.hpp"

using Falling = GameTest;

// Seven steps down an empty column, one per frame however long, the landing on
// the next update, and the spawn half an interval later: column draw, then kind.
TEST_F(Falling, StepsLandsAndSpawnsOnTheirIntervals)
{
    for (const auto& [fallSpeed, interval] : {std::pair{0.f, 0.7}, std::pair{0.2f, 0.5}})
    {
        SCOPED_TRACE(fallSpeed);
        session = started();
        // Sound is off at the second speed, so its landing adds no effect.
        std::tie(session.game.fallSpeed, session.kept.soundOn) = std::tuple(fallSpeed, fallSpeed == 0.f);
        for (int row = 1; row <= 7; ++row)
        {
            update(interval - 1e-6);
            ASSERT_EQ(gem.row, row - 1) << "stepped before the interval";
            update(1e-6);
            ASSERT_EQ(gem.row, row);
        }
        EXPECT_EQ(stackOf(session.game.board, StartStop), "");
        update(1e-6);
        EXPECT_EQ(stackOf(session.game.board, StartStop), "1");
        EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::GemFall});
        update(interval / 2 - 1e-6); // a spawn here would draw past the script
        random.add({17, 50, 32767, 20000, 10000}); // d = 50: the weights choose, and code 1 fills the board
        update(1e-6);
        EXPECT_EQ(std::tuple(gem.row, gem.column, kind.code, gem.falling, gem.landingPause, kind.fallClock.start,
                             random.remaining()),
                  std::tuple(0, 5, 2, true, false, now, 0u));
        update(3 * interval);
        update(interval - 0.01);
        EXPECT_EQ(gem.row, 1) << "a long frame makes one step and its overshoot is dropped";
    }
}

// Landing and hard drop settle on the stack; half an interval later the next gem
// spawns, or the game freezes if the gem rests in row 0. A push-back may have lifted
// the stack into the gem's cell: the gem then goes up to the nearest empty cell. Once
// the last level ran out the gem hangs: a drop could only freeze a won game.
TEST_F(Falling, LandingSettlesOnTopOfTheStackAndFreezesInRowZero)
{
    // Gem row, column and bead pushed back into it, hard drop, time up; where the gem landed.
    struct Case { int row; const char *column, *pushed; bool drop, timeUp; int landedRow; const char* after; };
    const Case cases[] = {
        {0, "", "", true, false, 7, "2"},
        {0, "333", "", true, true, -1, "333"},
        {4, "333", "", false, false, 4, "3332"},
        {4, "333", "1", true, false, 3, "13332"},
        {4, "333", "1", false, false, 3, "13332"},
        {0, "1231231", "", false, false, 0, "12312312"}, // lands at once, long before the interval
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        session = started(2);
        stack(session.game.board, StartStop, c.column);
        std::tie(session.game.fallingGem.row, session.game.thread, session.game.timeUp) = std::tuple(c.row, beads(c.pushed), c.timeUp);
        const Micros fallStart = kind.fallClock.start;
        pushBead(session, advance(0.1), recorder.port);
        c.drop ? hardDrop(session, now, recorder.port) : static_cast<void>(update(0));
        // A drop leaves the fall clock running: the next gem's first step is timed from its spawn.
        if (c.landedRow < 0)
        {
            EXPECT_EQ(std::tuple(gem.row, gem.falling, stackOf(session.game.board, StartStop)), std::tuple(0, true, c.after));
            continue;
        }
        EXPECT_EQ(std::tie(gem.row, gem.falling, gem.landingPause, kind.landingClock.start, kind.fallClock.start),
                  std::tuple(c.landedRow, false, true, now, c.drop ? fallStart : now));
        hardDrop(session, now, recorder.port); // no second gem in the landing pause
        EXPECT_EQ(stackOf(session.game.board, StartStop), c.after);
        random.add({0, 0}); // column 0, a diamond
        EXPECT_EQ(update(0.349999), FallResult::Continue);
        EXPECT_EQ(update(1e-6), c.landedRow == 0 ? FallResult::Froze : FallResult::Continue);
        EXPECT_EQ(std::tuple(overflowReached(session), session.game.paused, gem.falling, gem.landingPause),
                  std::tuple(c.landedRow == 0, c.landedRow == 0, c.landedRow > 0, false));
    }
}

// d = first draw % 100, then one draw per kind in play, made even on an empty board.
TEST_F(Falling, KindChoiceTakesDiamondAndTrashFirstThenKindsRareOnThePlayField)
{
    struct Case { const char* column; const char* tube; int kindSpan; std::initializer_list<int> draws; GemCode kind; };
    const Case cases[] = {
        {"", "", 2, {4}, DiamondGem}, {"", "", 2, {5}, TrashGem}, {"", "", 2, {106}, TrashGem},
        {"", "", 2, {7, 0, 32767, 32767}, 1}, {"", "", 3, {7, 0, 1, 2, 32767}, 1},
        // All eight kinds in play: eight draws, and code 8 can win
        {"1234567", "", 7, {7, 0, 0, 0, 0, 0, 0, 0, 32767}, 8},
        // The only kind on the board weighs 0; ties go to the lowest code.
        {"222", "", 2, {7, 100, 32767, 200}, 3}, {"222", "", 2, {7, 0, 32767, 0}, 1},
        {"222", "", 2, {7, 500, 32767, 500}, 1}, {"1112", "", 2, {7, 32767, 12000, 1000}, 2},
        // Diamond and trash count in the total only; beads in the tube never count.
        {"DT1", "", 2, {7, 16000, 10000, 0}, 1}, {"1", "33333333", 2, {7, 32767, 0, 10000}, 3},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        session.game.kindSpan = c.kindSpan;
        stack(session.game.board, 0, c.column);
        stack(session.game.board, TubeColumn, c.tube);
        random.add(c.draws);
        EXPECT_EQ(chooseGemKind(session, random.draw), c.kind);
        EXPECT_EQ(random.remaining(), 0u);
    }
}

// Rows 1 and 2 of any play column sound one alarm, though the overflow needs row 0 as
// well; the pulse swells to 1.2 at half a second.
TEST_F(Falling, DangerSoundsOneAlarmForAnyNumberOfColumns)
{
    stack(session.game.board, 2, "111111");
    stack(session.game.board, TubeColumn, "1111111");
    playDangerAlert(session, recorder.port);
    EXPECT_TRUE(recorder.started.empty()) << "six gems, or the tube, sounded the alarm";
    stack(session.game.board, 2, "1111111");
    stack(session.game.board, StartStop, "1111111");
    playDangerAlert(session, recorder.port);
    EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::Alert});
    EXPECT_FALSE(overflowReached(session));
    EXPECT_NEAR(pulseFactor(session, now + 500000), 1.2f, 1e-5f);
}
