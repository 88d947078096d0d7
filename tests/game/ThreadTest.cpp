#include "game/ThreadRules.hpp"

#include "TestSupport.hpp"

using namespace testing_support;

namespace
{
struct ThreadFixture : ::testing::Test
{
    ManualClock clock;
    AudioRecorder recorder;
    AudioPort audio = recorder.port();
    GameSession session = startedSession(clock.now, 0);

    void up() { pushBead(session, clock.advance(0.01), audio); }
    void down() { pullGem(session, clock.advance(0.01), audio); }
};

const Thread fullThread = {1, 2, 3, 1, 2, 3, 1, 2};
} // namespace

TEST_F(ThreadFixture, PullTakesTheBottomGemOntoTheTopOfTheThread)
{
    struct Case
    {
        const char* name;
        int stop;
        Thread thread;
        std::initializer_list<GemCode> column; // bottom-up, in column 3
        bool accepted;
    };
    const Case cases[] = {
        {"pull", 3, {2, 1}, {3, 1}, true},
        {"full thread", 3, fullThread, {3, 1}, false},
        {"empty column", 3, {2, 1}, {}, false},
        {"trash tube", TrashTubeStop, {2, 1}, {3, 1}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        session.board = {};
        stack(session.board, 3, c.column);
        stack(session.board, TubeColumn, c.column);
        session.thread = c.thread;
        session.selectorStop = c.stop;
        const GameSession before = session;

        down();
        EXPECT_EQ(session.selectorClock.start, clock.now) << "every Down restarts the selector clock";
        if (!c.accepted)
        {
            EXPECT_EQ(session.board, before.board);
            EXPECT_EQ(session.thread, before.thread);
            continue;
        }
        EXPECT_EQ(session.thread, (Thread{3, 2, 1}));
        EXPECT_EQ(session.board[7][3], 1);
        EXPECT_EQ(columnHeight(session.board, 3), 1);
    }
}

TEST_F(ThreadFixture, PullUnderAGemInRowZeroKeepsTheColumnFull)
{
    stack(session.board, 3, {1, 2, 3, 1, 2, 3, 1, 3});
    session.selectorStop = 3;
    down();
    EXPECT_EQ(session.thread[0], 1);
    EXPECT_EQ(session.board[0][3], 3);
    EXPECT_EQ(session.board[1][3], 3);
}

TEST_F(ThreadFixture, PushPutsTheTopBeadBackUnderTheColumn)
{
    // Empty thread, then row 2 occupied: nothing changes.
    session.selectorStop = 3;
    stack(session.board, 3, {1, 1, 1, 1, 1});
    up();
    EXPECT_EQ(columnHeight(session.board, 3), 5);
    EXPECT_EQ(session.selectorClock.start, clock.now);

    session.thread = {2, 3};
    up();
    EXPECT_EQ(session.thread, (Thread{3}));
    for (int row = 2; row < 7; ++row)
        EXPECT_EQ(session.board[row][3], 1);
    EXPECT_EQ(session.board[7][3], 2);

    up();
    EXPECT_EQ(session.thread, (Thread{3}));
    EXPECT_EQ(columnHeight(session.board, 3), 6);
    EXPECT_EQ(session.selectorClock.start, clock.now);
}

TEST_F(ThreadFixture, PatternIsCompletedByThePullThatFillsTheThread)
{
    session.pattern = {3, 1, 2, 2, 3, 1, 1, 2};
    stack(session.board, 0, {2, 1, 1, 3, 2, 2, 1});
    stack(session.board, 1, {3});
    session.selectorStop = 0;
    for (int pull = 0; pull < 7; ++pull)
        down();
    EXPECT_EQ(session.pendingPoints, 0);

    session.selectorStop = 1;
    down();
    EXPECT_EQ(session.thread, session.pattern);
    EXPECT_EQ(session.pendingPoints, 650);
    EXPECT_EQ(session.patternsCompleted, 1);
    EXPECT_TRUE(session.patternClearing);
    EXPECT_FALSE(session.threadClearing);
    EXPECT_EQ(session.animationClock.start, clock.now);
    EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::PatternShift});
}

TEST_F(ThreadFixture, EightDiamondsScoreABonusAndLeaveThePattern)
{
    session.pattern = {1, 1, 1, 1, 1, 1, 1, 1};
    session.thread = {9, 9, 9, 9, 9, 9, 9};
    stack(session.board, 0, {9});
    session.selectorStop = 0;
    down();
    EXPECT_EQ(session.pendingPoints, 800);
    EXPECT_TRUE(session.threadClearing);
    EXPECT_FALSE(session.patternClearing);
    EXPECT_EQ(session.patternsCompleted, 0);
    EXPECT_EQ(session.pattern, (TargetPattern{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::PatternShift});
}

TEST_F(ThreadFixture, OnlyAFullThreadIsDiscardedAndEachUpAddsForty)
{
    session.selectorStop = TrashTubeStop;
    session.thread = {1, 2, 3, 1, 2, 3, 1};
    up();
    EXPECT_FALSE(session.trashAnimating);
    EXPECT_EQ(session.pendingPoints, 0);

    session.thread = fullThread;
    up();
    EXPECT_TRUE(session.trashAnimating);
    EXPECT_EQ(session.pendingPoints, 40);
    EXPECT_EQ(session.thread, fullThread);
    EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::TrashDrop});

    up(); // before the first discard step slot 7 is still filled
    EXPECT_EQ(session.pendingPoints, 80);
    EXPECT_EQ(session.animationClock.start, clock.now);
}

TEST_F(ThreadFixture, LeftAndRightMoveOncePerThirtyMilliseconds)
{
    clock.advance(1.0);
    moveSelectorRight(session, clock.now);
    EXPECT_EQ(session.selectorStop, 7);
    moveSelectorRight(session, clock.advance(0.03));
    EXPECT_EQ(session.selectorStop, 7) << "0.03 s is not more than 0.03 s";
    moveSelectorLeft(session, clock.advanceMicros(1));
    EXPECT_EQ(session.selectorStop, 6);

    // Up and Down hold Left and Right off too.
    up();
    moveSelectorLeft(session, clock.advance(0.02));
    EXPECT_EQ(session.selectorStop, 6);

    // At the ends the stop stays but the clock restarts.
    for (const auto& [move, end] : {std::pair{&moveSelectorLeft, 0}, std::pair{&moveSelectorRight, 12}})
    {
        session.selectorStop = end;
        move(session, clock.advance(0.05));
        EXPECT_EQ(session.selectorStop, end);
        EXPECT_EQ(session.selectorClock.start, clock.now);
    }

    // The selector stays at the tube while a discard runs.
    session.trashAnimating = true;
    moveSelectorLeft(session, clock.advance(0.05));
    EXPECT_EQ(session.selectorStop, 12);
    session.selectorStop = 5;
    moveSelectorRight(session, clock.advance(0.05));
    EXPECT_EQ(session.selectorStop, 6);
}

TEST_F(ThreadFixture, KeysAreRefusedWhilePausedOrAfterTimeUp)
{
    stack(session.board, 6, {1, 2});
    session.thread = fullThread;
    session.selectorStop = 6;
    for (bool* lock : {&session.paused, &session.timeUp})
    {
        *lock = true;
        const GameSession before = session;
        clock.advance(1.0);
        moveSelectorLeft(session, clock.now);
        moveSelectorRight(session, clock.now);
        pushBead(session, clock.now, audio);
        session.thread[7] = EmptyGem;
        pullGem(session, clock.now, audio);
        session.thread[7] = before.thread[7];
        EXPECT_EQ(session.selectorStop, before.selectorStop);
        EXPECT_EQ(session.selectorClock.start, before.selectorClock.start);
        EXPECT_EQ(session.board, before.board);
        EXPECT_EQ(session.thread, before.thread);
        *lock = false;
    }
}
