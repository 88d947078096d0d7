#include "TestSupport.hpp"

#include <random>

namespace
{
template <typename Cells>
int filled(const Cells& cells)
{
    return static_cast<int>(std::count_if(cells.begin(), cells.end(), [](GemCode code) { return code != EmptyGem; }));
}

bool clearing(const GameSession& s) { return s.threadClearing || s.patternClearing; }

// Gems in play: board (tube included), thread, and the falling gem until it is written into the board.
int census(const GameSession& s, bool frozen)
{
    int gems = filled(s.thread) + (s.fallingGem.falling || (s.paused && !frozen));
    for (const auto& row : s.board)
        gems += filled(row);
    return gems;
}

// The player's aim, 0 when it has none: fetch what the pattern needs next, push back
// a wrong bead, throw a full thread away; so matches happen as well as discards. And
// push under a gem about to land, so that it lands in a cell the push just filled.
char aim(const GameSession& s)
{
    const int beads = filled(s.thread);
    if (beads > 0 && s.fallingGem.falling && s.selectorStop == s.fallingGem.column && gemRests(s))
        return 'U';
    if (beads == ThreadSlots)
        return s.selectorStop == TrashTubeStop ? 'U' : 'R';
    if (!std::equal(s.thread.begin(), s.thread.begin() + beads, s.pattern.end() - beads))
        return 'U';
    const GemCode needed = s.pattern[ThreadSlots - 1 - beads];
    for (int distance = 0; distance < PlayColumns; ++distance)
        for (int column : {s.selectorStop - distance, s.selectorStop + distance})
            if (column >= 0 && column < PlayColumns && s.board[BoardRows - 1][column] == needed)
                return distance == 0 ? 'D' : (column > s.selectorStop ? 'R' : 'L');
    return 0;
}
} // namespace

// Random and steered keys, held Space, time-outs and new games over uneven frames,
// with the gem count and the board and thread rules checked every frame.
TEST(Soak, RandomPlayKeepsStacksThreadAndGemCountsConsistent)
{
    RandomDraw random = RandomGenerator(20240611u);
    std::mt19937 inputs(4242u);
    AudioRecorder recorder;
    Micros now = 1'000'000;
    GameSession s;
    startSession(s, random, now);
    resetGame(s, random);

    // Ups during a clear (push-backs before its first step, or a discard) are
    // allowed and can leave the thread unpacked until it is next empty.
    bool frozen = false, disturbed = false, spaceHeld = false;
    int endFrames = -1, spawns = 0, freezes = 0, resets = 0, discards = 0, matches = 0, hangs = 0;
    for (int frame = 0; frame < 60000; ++frame)
    {
        now += 1000 + static_cast<Micros>(inputs() % 119001);
        spaceHeld = spaceHeld != (inputs() % 40 == 0); // Space pressed or released
        const GameSession start = s;
        int copies = 0; // a pull under a gem in row 0 copies it down

        // Keys, Space tested after each as the frame loop does.
        for (int events = static_cast<int>(inputs() % 3); events > 0; --events)
        {
            // Half the keys follow the aim when there is one; the rest are random.
            const GameSession before = s;
            const char key = aim(s) && inputs() % 2 ? aim(s) : "LLLLLLRRRRRRUUUUUDDDDDDP"[inputs() % 24];
            if (key == 'L' || key == 'R')
                (key == 'L' ? moveSelectorLeft : moveSelectorRight)(s, now);
            else if (key == 'P')
                togglePause(s, recorder.port);
            else
                (key == 'U' ? pushBead : pullGem)(s, now, recorder.port);
            if (spaceHeld)
                hardDrop(s, now, recorder.port);
            copies += key == 'D' && filled(s.thread) > filled(before.thread) && before.board[0][before.selectorStop];
            disturbed |= clearing(before) && key == 'U' && (s.thread != before.thread || s.trashAnimating);
            discards += s.trashAnimating && s.pendingPoints > before.pendingPoints;
            matches += s.patternsCompleted > before.patternsCompleted;
        }

        // A gem leaves only at the tube's top or the thread's bottom, one per frame at most.
        const bool canLeave = (s.trashAnimating && s.board[0][TubeColumn] != EmptyGem) ||
                              (clearing(s) && s.thread[ThreadSlots - 1] != EmptyGem);
        const int gemsBeforeSteps = census(s, frozen);
        stepThreadAnimations(s, now, random);
        const int left = gemsBeforeSteps - census(s, frozen);
        ASSERT_TRUE(left == 0 || (left == 1 && canLeave)) << dumpSession(s);
        if (endFrames < 0 && !s.timeUp && inputs() % 6000 == 0)
            s.timeUp = true; // the last level ran out
        const FallingGem& gem = s.fallingGem;
        const FallingGem hanging = gem;
        const bool froze = updateFallingGem(s, now, random, recorder.port) == FallResult::Froze;
        const bool spawned = hanging.landingPause && !gem.landingPause && gem.falling;
        ASSERT_TRUE(!s.timeUp || !hanging.falling || (gem.falling && gem.row == hanging.row)) << "moved after time-up";
        ASSERT_EQ(census(s, frozen || froze), census(start, frozen) + copies + spawned - left)
            << dumpSession(start) << dumpSession(s);
        frozen |= froze;
        freezes += froze;
        spawns += spawned;
        hangs += s.timeUp;

        // Stacks stand gapless on row 7, codes stay in range, the thread is packed
        // outside a clear and the tube empty outside a discard.
        const std::string picture = dumpSession(s);
        for (int column = 0; column < PlayColumns; ++column)
            ASSERT_EQ(stackOf(s.board, column).find_first_of(".?"), std::string::npos) << column << '\n' << picture;
        ASSERT_TRUE(s.trashAnimating || stackOf(s.board, TubeColumn).empty()) << picture;
        disturbed &= filled(s.thread) > 0 || clearing(s) || s.trashAnimating;
        ASSERT_EQ(text(s.thread).find_first_of(clearing(s) || disturbed ? "?" : ".?"), std::string::npos) << picture;
        for (GemCode code : s.pattern)
            ASSERT_TRUE(code >= EmptyGem && code <= s.kindSpan + 1 && (code || s.patternClearing || s.patternRefilling))
                << picture;
        ASSERT_TRUE(gem.code > 0 && gem.code <= TrashGem && s.selectorStop >= 0 && s.selectorStop <= 12) << picture;

        // The game ends by freezing or running out of time, or is left now and then.
        if (endFrames < 0 && (frozen || (s.timeUp && inputs() % 300 == 0) || inputs() % 20000 == 0))
            endFrames = static_cast<int>(inputs() % 50);
        if (endFrames >= 0 && endFrames-- == 0)
        {
            resetGame(s, random);
            s.kindSpan = 2 + static_cast<int>(inputs() % 6); // as if levels had passed
            s.fallSpeed = 0.0075f * static_cast<float>(inputs() % 40);
            frozen = disturbed = false;
            ++resets;
        }
    }

    // The run must have reached every part of play, or its checks prove little.
    EXPECT_GT(spawns, 1000);
    EXPECT_GT(std::min({freezes, resets, discards, matches, hangs}), 3) << freezes << " freezes, " << resets
        << " resets, " << discards << " discards, " << matches << " matches, " << hangs << " frames after time-up";
}
