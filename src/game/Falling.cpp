#include "game/Falling.hpp"

#include <cassert>
#include <cmath>

namespace
{
// Landing, also after a hard drop. A push-back may have lifted the column's
// top gem into the gem's cell since it arrived there; the gem then settles
// on top of the lifted stack instead of overwriting it.
void landGem(GameSession& session, Micros now, const AudioPort& audio)
{
    FallingGem& gem = session.game.fallingGem;
    FallingKind& kind = session.carried.fallingGem;
    while (gem.row > 0 && session.game.board[gem.row][gem.column] != EmptyGem)
        --gem.row;
    assert(session.game.board[gem.row][gem.column] == EmptyGem && "a landing must never overwrite a gem");

    session.game.board[gem.row][gem.column] = kind.code;
    gem.falling = false;
    gem.landingPause = true;
    kind.landingClock.restart(now);
    playEffect(session, audio, Effect::GemFall);
}

// Ends the landing pause once it has run; returns true when the game froze.
bool checkLandingPause(GameSession& session, Micros now, RandomDraw& random)
{
    FallingGem& gem = session.game.fallingGem;
    FallingKind& kind = session.carried.fallingGem;
    if (!gem.landingPause || kind.landingClock.seconds(now) < landingPauseSeconds(session))
        return false;

    gem.landingPause = false;

    // The landed gem rests in the top row: no new gem, the overflow ending takes over.
    if (session.game.board[0][gem.column] != EmptyGem)
    {
        session.game.paused = true;
        return true;
    }

    gem.falling = true;
    gem.row = 0;
    kind.fallClock.restart(now);
    gem.column = random() % PlayColumns;
    kind.code = chooseGemKind(session, random);
    return false;
}
} // namespace

float fallInterval(const GameSession& session)
{
    return 0.7f - session.game.fallSpeed;
}

float landingPauseSeconds(const GameSession& session)
{
    return (0.7f - session.game.fallSpeed) * 0.5f;
}

bool gemRests(const GameSession& session)
{
    const FallingGem& gem = session.game.fallingGem;
    assert(gem.row >= 0 && gem.row < BoardRows && gem.column >= 0 && gem.column < PlayColumns);
    return gem.row == BoardRows - 1 || session.game.board[gem.row + 1][gem.column] != EmptyGem;
}

FallResult updateFallingGem(GameSession& session, Micros now, RandomDraw& random, const AudioPort& audio)
{
    FallingGem& gem = session.game.fallingGem;
    FallingKind& kind = session.carried.fallingGem;

    // Not falling: landing pause, player's pause or the freeze.
    if (!gem.falling)
        return checkLandingPause(session, now, random) ? FallResult::Froze : FallResult::Continue;

    // A resting gem has no step interval: it lands on the first update.
    const float stepInterval = gemRests(session) ? 0.f : fallInterval(session);
    if (kind.fallClock.seconds(now) < stepInterval)
        return FallResult::Continue;

    // After the last level ran out the gem hangs where it is.
    if (session.game.timeUp)
        return FallResult::Continue;

    kind.fallClock.restart(now);
    if (gemRests(session))
    {
        landGem(session, now, audio);
        return checkLandingPause(session, now, random) ? FallResult::Froze : FallResult::Continue;
    }

    ++gem.row;
    return FallResult::Continue;
}

void hardDrop(GameSession& session, Micros now, const AudioPort& audio)
{
    // Once the last level ran out the gem hangs where it is: a landing now
    // could only freeze a game that is already won
    FallingGem& gem = session.game.fallingGem;
    if (!gem.falling || session.game.timeUp)
        return;

    // The fall clock runs on: the next gem's first step is timed from its spawn.
    while (!gemRests(session))
        ++gem.row;
    landGem(session, now, audio);
}

GemCode chooseGemKind(const GameSession& session, RandomDraw& random)
{
    const int d = random() % 100;
    if (d < 5)
        return DiamondGem;
    if (d < 7)
        return TrashGem;

    // Count the play field only; beads rising through the tube never count.
    int total = 0;
    std::array<int, GemCodeCount> counts{};
    for (int row = 0; row < BoardRows; ++row)
    {
        for (int column = 0; column < PlayColumns; ++column)
        {
            const GemCode code = session.game.board[row][column];
            if (code == EmptyGem)
                continue;
            assert(code > EmptyGem && code < GemCodeCount);
            ++total;
            ++counts[static_cast<std::size_t>(code)];
        }
    }

    // Kinds rare on the board keep most of their random weight. All K draws
    // are made even on an empty board, so the draw sequence never depends on it.
    const int lastKind = lastKindInPlay(session.game.kindSpan);
    assert(lastKind >= FirstOrdinaryGem && lastKind <= LastOrdinaryGem);
    GemCode best = FirstOrdinaryGem;
    double bestWeight = -1.0;
    for (GemCode code = FirstOrdinaryGem; code <= lastKind; ++code)
    {
        const int r = random();
        if (total == 0)
            continue;
        const double share = static_cast<double>(counts[static_cast<std::size_t>(code)]) / total;
        const double weight = (1.0 - share) * (r / static_cast<double>(RandomMax));
        if (weight > bestWeight)
        {
            bestWeight = weight;
            best = code;
        }
    }
    return best;
}

bool gameFrozen(const GameSession& session)
{
    const FallingGem& gem = session.game.fallingGem;
    return session.game.paused && !gem.falling && !gem.landingPause && session.game.board[0][gem.column] != EmptyGem;
}

bool overflowReached(const GameSession& session)
{
    const int column = session.game.fallingGem.column;
    return session.game.board[0][column] != EmptyGem && session.game.board[1][column] != EmptyGem;
}

bool isDangerColumn(const Board& board, int column)
{
    assert(column >= 0 && column < PlayColumns);
    return board[1][column] != EmptyGem && board[2][column] != EmptyGem;
}

void playDangerAlert(const GameSession& session, const AudioPort& audio)
{
    // A playing alarm is never restarted, so several columns sound as one.
    for (int column = 0; column < PlayColumns; ++column)
    {
        if (isDangerColumn(session.game.board, column))
        {
            playEffect(session, audio, Effect::Alert);
            return;
        }
    }
}

float pulseFactor(const GameSession& session, Micros now)
{
    const float t = session.kept.pulseClock.seconds(now);
    return 1.f + 0.2f * std::fabs(std::sin(t * 6.28318f * 0.5f));
}

bool dangerPulseShown(const GameSession& session)
{
    if (session.game.overflowEnding || session.game.timeUp)
        return false;
    for (int column = 0; column < PlayColumns; ++column)
        if (isDangerColumn(session.game.board, column))
            return true;
    return false;
}

Micros fallDue(const GameSession& session)
{
    const FallingGem& gem = session.game.fallingGem;
    const FallingKind& kind = session.carried.fallingGem;
    if (!gem.falling)
        return gem.landingPause ? kind.landingClock.reaches(landingPauseSeconds(session)) : Never;
    if (session.game.timeUp)
        return Never; // the gem hangs where it is
    return kind.fallClock.reaches(gemRests(session) ? 0.f : fallInterval(session));
}
