#include "game/Animations.hpp"

#include <algorithm>

namespace
{
constexpr float DiscardStepSeconds = 0.08f;
constexpr float ClearStepSeconds = 0.05f;
constexpr float RefillStepSeconds = 0.05f;

// The tube shifts up (its top bead leaves), the thread's top bead enters at
// the bottom, and the thread moves up behind it.
void discardStep(GameSession& session, Micros now)
{
    Board& board = session.game.board;
    Thread& thread = session.game.thread;

    for (int row = 0; row < BoardRows - 1; ++row)
        board[row][TubeColumn] = board[row + 1][TubeColumn];
    board[BoardRows - 1][TubeColumn] = takeTopBead(thread);

    bool tubeEmpty = true;
    for (int row = 0; row < BoardRows; ++row)
        tubeEmpty = tubeEmpty && board[row][TubeColumn] == EmptyGem;
    if (tubeEmpty)
        session.game.trashAnimating = false;

    session.carried.animationClock.restart(now);
}

// The thread slides out at the bottom; after a match the pattern goes with it.
void clearStep(GameSession& session, Micros now)
{
    Thread& thread = session.game.thread;
    TargetPattern& pattern = session.game.pattern;
    const bool withPattern = session.game.patternClearing;

    for (int slot = ThreadSlots - 1; slot > 0; --slot)
    {
        thread[slot] = thread[slot - 1];
        if (withPattern)
            pattern[slot] = pattern[slot - 1];
    }
    if (thread[0] != EmptyGem)
    {
        thread[0] = EmptyGem;
        if (withPattern)
            pattern[0] = EmptyGem;
    }

    if (thread[ThreadSlots - 1] == EmptyGem)
    {
        session.game.threadClearing = false;
        if (withPattern)
        {
            session.game.patternClearing = false;
            session.carried.patternRefilling = true;
        }
    }

    session.carried.animationClock.restart(now);
}

// The pattern rises one slot and a new gem of the kinds in play enters at the bottom.
void refillStep(GameSession& session, Micros now, RandomDraw& random)
{
    TargetPattern& pattern = session.game.pattern;
    for (int slot = 0; slot < ThreadSlots - 1; ++slot)
        pattern[slot] = pattern[slot + 1];
    pattern[ThreadSlots - 1] = random() % lastKindInPlay(session.game.kindSpan) + FirstOrdinaryGem;

    if (pattern[0] != EmptyGem)
        session.carried.patternRefilling = false;

    session.carried.animationClock.restart(now);
}
} // namespace

void stepThreadAnimations(GameSession& session, Micros now, RandomDraw& random)
{
    // One shared clock: a step restarts it, so a later phase checked in the
    // same frame sees almost no time and waits for a later frame.
    if (session.game.trashAnimating && session.carried.animationClock.seconds(now) >= DiscardStepSeconds)
        discardStep(session, now);

    if ((session.game.threadClearing || session.game.patternClearing) &&
        session.carried.animationClock.seconds(now) >= ClearStepSeconds)
        clearStep(session, now);

    if (session.carried.patternRefilling && session.carried.animationClock.seconds(now) >= RefillStepSeconds)
        refillStep(session, now, random);
}

Micros animationDue(const GameSession& session)
{
    Micros due = Never;
    if (session.game.trashAnimating)
        due = std::min(due, session.carried.animationClock.reaches(DiscardStepSeconds));
    if (session.game.threadClearing || session.game.patternClearing)
        due = std::min(due, session.carried.animationClock.reaches(ClearStepSeconds));
    if (session.carried.patternRefilling)
        due = std::min(due, session.carried.animationClock.reaches(RefillStepSeconds));
    return due;
}

void dealFirstPattern(GameSession& session, RandomDraw& random)
{
    for (GemCode& code : session.game.pattern)
        code = random() % 3 + 1;
}
