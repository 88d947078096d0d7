#include "game/ThreadRules.hpp"

#include <algorithm>
#include <cassert>

namespace
{
constexpr float SelectorRepeatSeconds = 0.03f; // Left/Right rate limit
constexpr int DiscardPoints = 40;
constexpr int DiamondThreadPoints = 800;

// Guard common to the four keys: nothing moves while paused or after the last level ran out.
bool keysLocked(const GameSession& session)
{
    return session.game.paused || session.game.timeUp;
}

// Left and Right move at most once per 0.03 s, also at the ends of the lane.
void moveSelector(GameSession& session, Micros now, int step)
{
    if (keysLocked(session) || !(session.carried.selectorClock.seconds(now) > SelectorRepeatSeconds))
        return;

    session.game.selectorStop = std::clamp(session.game.selectorStop + step, 0, SelectorStops - 1);
    session.carried.selectorClock.restart(now);
}

void startDiscard(GameSession& session, Micros now, const AudioPort& audio)
{
    session.carried.animationClock.restart(now);
    session.game.trashAnimating = true;
    session.game.pendingPoints += DiscardPoints;
    playEffect(session, audio, Effect::TrashDrop);
}

// Both tests run after every pull, each on its own.
void testFullThread(GameSession& session, Micros now, const AudioPort& audio)
{
    const Thread& thread = session.game.thread;
    if (std::all_of(thread.begin(), thread.end(), [](GemCode code) { return code == DiamondGem; }))
    {
        session.carried.animationClock.restart(now);
        session.game.threadClearing = true;
        session.game.pendingPoints += DiamondThreadPoints;
        playEffect(session, audio, Effect::PatternShift);
    }

    if (thread == session.game.pattern)
    {
        int points = 0;
        for (GemCode code : thread)
            points += beadValue(code);

        ++session.game.patternsCompleted;
        session.carried.animationClock.restart(now);
        session.game.patternClearing = true;
        session.game.pendingPoints += points;
        playEffect(session, audio, Effect::PatternShift);
    }
}
} // namespace

void moveSelectorLeft(GameSession& session, Micros now)
{
    // The selector stays at the tube while a discarded thread rises through it.
    if (session.game.trashAnimating)
        return;
    moveSelector(session, now, -1);
}

void moveSelectorRight(GameSession& session, Micros now)
{
    moveSelector(session, now, +1);
}

void pushBead(GameSession& session, Micros now, const AudioPort& audio)
{
    if (keysLocked(session))
        return;

    Board& board = session.game.board;
    Thread& thread = session.game.thread;
    const int stop = session.game.selectorStop;
    assert(stop >= 0 && stop < SelectorStops);

    if (stop == TrashTubeStop)
    {
        // Only a full thread can be thrown away; its beads leave step by step later.
        if (thread[ThreadSlots - 1] != EmptyGem)
            startDiscard(session, now, audio);
    }
    else if (thread[0] != EmptyGem && board[2][stop] == EmptyGem)
    {
        // Lift the stack by one row (rows 0 and 1 are never touched) and
        // slide the top bead in at the bottom.
        for (int row = 2; row < BoardRows - 1; ++row)
            board[row][stop] = board[row + 1][stop];
        board[BoardRows - 1][stop] = takeTopBead(thread);
    }

    session.carried.selectorClock.restart(now);
}

bool tubeRefusesThread(const GameSession& session)
{
    return !keysLocked(session) && session.game.selectorStop == TrashTubeStop && session.game.thread[ThreadSlots - 1] == EmptyGem;
}

void pullGem(GameSession& session, Micros now, const AudioPort& audio)
{
    if (keysLocked(session))
        return;

    Board& board = session.game.board;
    Thread& thread = session.game.thread;
    const int stop = session.game.selectorStop;
    assert(stop >= 0 && stop < SelectorStops);

    if (stop != TrashTubeStop && thread[ThreadSlots - 1] == EmptyGem && board[BoardRows - 1][stop] != EmptyGem)
    {
        for (int slot = ThreadSlots - 1; slot > 0; --slot)
            thread[slot] = thread[slot - 1];
        thread[0] = board[BoardRows - 1][stop];

        // Row 0 keeps its gem: a column that reached the top stays full for the overflow check.
        for (int row = BoardRows - 1; row > 0; --row)
            board[row][stop] = board[row - 1][stop];

        testFullThread(session, now, audio);
    }

    session.carried.selectorClock.restart(now);
}
