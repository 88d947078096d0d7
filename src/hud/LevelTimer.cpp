#include "hud/LevelTimer.hpp"

#include "game/Falling.hpp"

#include <algorithm>
#include <cassert>

namespace
{
constexpr float TickSeconds = 1.f;
constexpr int LevelSeconds = 60;
constexpr int LastLevel = 60;
constexpr int MaxKindSpan = 8;
constexpr float FallSpeedStep = 0.0075f; // seconds off the fall interval per level-up

// A new level: faster gems, every tenth level one more kind with its own fanfare.
void levelUp(GameSession& session, Micros now, const AudioPort& audio)
{
    session.secondsLeft = LevelSeconds;
    session.level += 1;
    const int level = session.level;

    session.levelBlinking = true;
    session.levelBlinkClock.restart(now);

    session.kindSpan = std::min((level - 1) / 10 + 2, MaxKindSpan);
    session.fallSpeed += FallSpeedStep; // a running sum, never recomputed from the level

    if ((level - 1) % 10 != 0)
    {
        playEffect(session, audio, Effect::LevelUp);
    }
    else if (playEffect(session, audio, Effect::Level11Up))
    {
        // The falling gem shows off the new kind, but only along with its fanfare
        session.fallingGem.code = (level - 1) / 10 + 3;
    }
}
} // namespace


////////////////////////////////////////////////////////////
namespace
{
// The freeze of a gem at rest in the top row must not stall a time-out that began first
bool ticking(const GameSession& session)
{
    return !(session.paused && !(session.timeUp && gameFrozen(session)));
}
} // namespace

EndingReport levelTick(GameSession& session, Micros now, const AudioPort& audio)
{
    if (!ticking(session))
        return EndingReport::Running;

    // At least a second apart: the part beyond the full second is not carried over
    if (session.levelClock.seconds(now) < TickSeconds)
        return EndingReport::Running;
    session.levelClock.restart(now);

    assert(session.level >= 1 && session.level <= LastLevel);

    if (!session.timeUp && session.secondsLeft > 0)
        session.secondsLeft -= 1;

    // The last level never levels up; its ticks drive the time-out ending instead
    EndingReport report = EndingReport::Running;
    if (session.level == LastLevel)
    {
        // A game already lost by overflow stays lost
        if (session.secondsLeft <= 0 && !session.overflowEnding)
            report = timeOutEndingStep(session, now, audio);
    }
    else if (session.secondsLeft <= 0)
    {
        levelUp(session, now, audio);
    }

    playDangerAlert(session, audio);
    return report;
}


Micros levelTickDue(const GameSession& session)
{
    return ticking(session) ? session.levelClock.reaches(TickSeconds) : Never;
}
