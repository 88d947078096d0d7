#include "game/Animations.hpp"
#include "game/Controls.hpp"
#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"

#include "TestSupport.hpp"

#include <algorithm>
#include <random>

using namespace testing_support;

namespace
{
enum class Key
{
    Left,
    Right,
    Up,
    Down,
    Pause,
    Music,
    Sound
};

// Gems in play: board (tube included), thread, and the falling gem while it
// is not yet written into the board.
struct Census
{
    int board = 0;
    int thread = 0;
    bool inFlight = false;

    int total() const { return board + thread + (inFlight ? 1 : 0); }
};

Census census(const GameSession& session, bool frozen)
{
    Census c;
    for (const auto& row : session.board)
        c.board += static_cast<int>(std::count_if(row.begin(), row.end(), [](GemCode g) { return g != EmptyGem; }));
    c.thread = static_cast<int>(
        std::count_if(session.thread.begin(), session.thread.end(), [](GemCode g) { return g != EmptyGem; }));
    c.inFlight = session.fallingGem.falling || (session.paused && !frozen);
    return c;
}

int beadCount(const Thread& thread)
{
    return static_cast<int>(std::count_if(thread.begin(), thread.end(), [](GemCode g) { return g != EmptyGem; }));
}

bool clearing(const GameSession& session)
{
    return session.threadClearing || session.patternClearing;
}

// Half the time the player works towards the pattern, so that matches,
// clears and refills happen as well as discards.
Key steeredKey(const GameSession& session, std::mt19937& inputs)
{
    const Key wander = inputs() % 2 ? Key::Left : Key::Right;
    if (clearing(session) || session.patternRefilling)
        return wander;

    const int beads = beadCount(session.thread);
    bool onTrack = true;
    for (int slot = 0; slot < beads; ++slot)
        onTrack = onTrack && session.thread[slot] == session.pattern[ThreadSlots - beads + slot];

    if (beads == ThreadSlots || !onTrack)
    {
        if (beads == ThreadSlots)
            return session.selectorStop == TrashTubeStop ? Key::Up : Key::Right;
        return session.selectorStop == TrashTubeStop ? Key::Left : (inputs() % 3 ? Key::Up : wander);
    }

    const GemCode needed = session.pattern[ThreadSlots - 1 - beads];
    for (int distance = 0; distance < SelectorStops; ++distance)
    {
        for (int column : {session.selectorStop - distance, session.selectorStop + distance})
        {
            if (column < 0 || column >= PlayColumns || session.board[BoardRows - 1][column] != needed)
                continue;
            if (column == session.selectorStop)
                return Key::Down;
            return column > session.selectorStop ? Key::Right : Key::Left;
        }
    }
    return wander;
}

Key randomKey(std::mt19937& inputs)
{
    const unsigned roll = inputs() % 100;
    if (roll < 25)
        return Key::Left;
    if (roll < 50)
        return Key::Right;
    if (roll < 70)
        return Key::Up;
    if (roll < 94)
        return Key::Down;
    if (roll < 98)
        return Key::Pause;
    return roll == 98 ? Key::Music : Key::Sound;
}

void press(Key key, GameSession& session, Micros now, const AudioPort& audio)
{
    switch (key)
    {
    case Key::Left: moveSelectorLeft(session, now); break;
    case Key::Right: moveSelectorRight(session, now); break;
    case Key::Up: pushBead(session, now, audio); break;
    case Key::Down: pullGem(session, now, audio); break;
    case Key::Pause: togglePause(session, audio); break;
    case Key::Music: toggleMusic(session, audio); break;
    case Key::Sound: toggleSound(session); break;
    }
}

// The board, thread, pattern and selector invariants that every frame must keep.
void expectConsistent(const GameSession& session, bool overflowSeen, bool clearDisturbed)
{
    const std::string picture = dumpSession(session);

    for (int column = 0; column < PlayColumns; ++column)
    {
        bool gap = false;
        for (int row = BoardRows - 1; row >= 0; --row)
        {
            const bool filled = session.board[row][column] != EmptyGem;
            ASSERT_FALSE(gap && filled) << "column " << column << " has a gap\n" << picture;
            gap = gap || !filled;
        }
        ASSERT_TRUE(overflowSeen || session.board[0][column] == EmptyGem) << "row 0 outside the freeze\n"
                                                                           << picture;
    }

    for (const auto& row : session.board)
        for (GemCode code : row)
            ASSERT_TRUE(code >= EmptyGem && code <= TrashGem) << picture;
    for (GemCode code : session.thread)
        ASSERT_TRUE(code >= EmptyGem && code <= TrashGem) << picture;
    const bool patternMoving = session.patternClearing || session.patternRefilling;
    for (GemCode code : session.pattern)
        ASSERT_TRUE(code >= (patternMoving ? EmptyGem : FirstOrdinaryGem) && code <= session.kindSpan + 1) << picture;
    ASSERT_TRUE(session.fallingGem.code >= FirstOrdinaryGem && session.fallingGem.code <= TrashGem) << picture;
    ASSERT_TRUE(session.selectorStop >= 0 && session.selectorStop < SelectorStops) << picture;

    if (!clearing(session) && !clearDisturbed)
    {
        const int beads = beadCount(session.thread);
        for (int slot = 0; slot < ThreadSlots; ++slot)
            ASSERT_EQ(session.thread[slot] != EmptyGem, slot < beads) << "thread not packed\n" << picture;
    }
    if (!session.trashAnimating)
    {
        for (int row = 0; row < BoardRows; ++row)
            ASSERT_EQ(session.board[row][TubeColumn], EmptyGem) << "tube holds a bead\n" << picture;
    }
}
} // namespace

TEST(Soak, RandomPlayKeepsStacksThreadAndGemCountsConsistent)
{
    RandomGenerator generator(20240611u);
    RandomDraw random = [&generator] { return generator(); };
    std::mt19937 inputs(4242u);
    AudioRecorder recorder;
    const AudioPort audio = recorder.port();

    Micros now = 1'000'000;
    GameSession session;
    startSession(session, random, now);
    resetGame(session, random, now);

    bool frozen = false;        // the last update returned Froze
    bool overflowSeen = false;  // a gem rests in row 0 in this game
    // Ups during a clear (push-backs before its first step, or a discard at the
    // tube) are allowed and can leave the thread unpacked until it is next empty.
    bool clearDisturbed = false;
    bool spaceHeld = false;
    int gameFrames = 0;
    int endFrames = -1;         // frames left before the next reset, once the game has ended
    struct
    {
        int landings = 0, spawns = 0, freezes = 0, discards = 0, matches = 0, diamonds = 0, resets = 0, hangs = 0;
    } seen;

    for (int frame = 0; frame < 60000; ++frame)
    {
        now += 1000 + static_cast<Micros>(inputs() % 119001);
        ++gameFrames;
        if (inputs() % 40 == 0)
            spaceHeld = !spaceHeld;

        // Events: keys in order, Space tested after each one as the frame loop does.
        const int events = static_cast<int>(inputs() % 3);
        for (int e = 0; e < events; ++e)
        {
            const GameSession before = session;
            const Key key = inputs() % 2 ? steeredKey(session, inputs) : randomKey(inputs);
            press(key, session, now, audio);
            if (spaceHeld)
                hardDrop(session, now, audio);

            // A pull under a gem in row 0 copies it down by the rules; nothing else adds a gem.
            const Census was = census(before, frozen);
            const Census is = census(session, frozen);
            const bool rowZeroCopy = key == Key::Down && is.thread > was.thread &&
                                     before.board[0][before.selectorStop] != EmptyGem;
            ASSERT_EQ(is.total(), was.total() + (rowZeroCopy ? 1 : 0)) << dumpSession(before) << dumpSession(session);

            if (clearing(before) && key == Key::Up && (session.thread != before.thread || session.trashAnimating))
                clearDisturbed = true;
            seen.discards += session.trashAnimating && session.pendingPoints > before.pendingPoints;
            seen.matches += session.patternsCompleted > before.patternsCompleted;
            seen.diamonds += session.threadClearing && !before.threadClearing;
            seen.landings += session.fallingGem.landingPause && !before.fallingGem.landingPause;
        }

        // Animations: a gem leaves only at the tube top or the thread bottom, one per frame at most.
        {
            const GameSession before = session;
            stepThreadAnimations(session, now, random);
            const int lost = census(before, frozen).total() - census(session, frozen).total();
            const bool canLeave = (before.trashAnimating && before.board[0][TubeColumn] != EmptyGem) ||
                                  (clearing(before) && before.thread[ThreadSlots - 1] != EmptyGem);
            ASSERT_TRUE(lost == 0 || (lost == 1 && canLeave)) << dumpSession(before) << dumpSession(session);
        }

        session.score += session.pendingPoints;
        session.pendingPoints = 0;

        // Now and then a level-up: faster fall, one more kind, and its gem.
        if (inputs() % 1500 == 0 && session.kindSpan < 7)
        {
            ++session.kindSpan;
            session.fallSpeed += 0.0075f;
            session.fallingGem.code = session.kindSpan + 1;
        }
        // Rarely the last level runs out: the gem hangs until dropped.
        if (endFrames < 0 && !session.timeUp && inputs() % 6000 == 0)
        {
            session.timeUp = true;
            ++seen.hangs;
        }

        const GameSession before = session;
        const FallResult result = updateFallingGem(session, now, random, audio);
        if (result == FallResult::Froze)
        {
            frozen = true;
            ++seen.freezes;
        }
        const bool spawned = before.fallingGem.landingPause && !session.fallingGem.landingPause &&
                             session.fallingGem.falling;
        seen.spawns += spawned;
        seen.landings += session.fallingGem.landingPause && !before.fallingGem.landingPause;
        ASSERT_EQ(census(session, frozen).total(), census(before, frozen).total() + (spawned ? 1 : 0))
            << dumpSession(before) << dumpSession(session);

        overflowSeen = overflowSeen || overflowReached(session);
        if (!frozen && !session.timeUp && (session.fallingGem.falling || session.paused))
        {
            ASSERT_EQ(session.board[session.fallingGem.row][session.fallingGem.column], EmptyGem)
                << "the falling gem overlaps a board gem\n" << dumpSession(session);
        }
        if (clearDisturbed && beadCount(session.thread) == 0 && !clearing(session) && !session.trashAnimating)
            clearDisturbed = false;
        expectConsistent(session, overflowSeen, clearDisturbed);
        if (HasFatalFailure())
            return;

        // The game ends by freezing or running out of time, or is left now and then.
        if (endFrames < 0 && (frozen || (session.timeUp && gameFrames > 0 && inputs() % 300 == 0) ||
                              inputs() % 20000 == 0))
            endFrames = static_cast<int>(inputs() % 50);
        if (endFrames >= 0 && endFrames-- == 0)
        {
            resetGame(session, random, now);
            session.kindSpan = 2 + static_cast<int>(inputs() % 6);
            frozen = overflowSeen = clearDisturbed = false;
            gameFrames = 0;
            endFrames = -1;
            ++seen.resets;
        }
    }

    RecordProperty("landings", seen.landings);
    EXPECT_GT(seen.landings, 1000);
    EXPECT_GT(seen.spawns, 1000);
    EXPECT_GT(seen.freezes, 3);
    EXPECT_GT(seen.resets, 3);
    EXPECT_GT(seen.discards, 3);
    EXPECT_GT(seen.matches, 3);
    EXPECT_GT(seen.hangs, 0);
    std::printf("soak: %d landings, %d spawns, %d freezes, %d resets, %d discards, %d matches, %d diamond threads, "
                "%d time-outs\n",
                seen.landings, seen.spawns, seen.freezes, seen.resets, seen.discards, seen.matches, seen.diamonds,
                seen.hangs);
}
