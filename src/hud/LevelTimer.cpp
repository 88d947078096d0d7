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
    session.game.secondsLeft = LevelSeconds;
    session.game.level += 1;
    const int level = session.game.level;

    session.kept.levelBlinking = true;
    session.kept.levelBlinkClock.restart(now);

    session.game.kindSpan = std::min((level - 1) / 10 + 2, MaxKindSpan);
    session.game.fallSpeed += FallSpeedStep; // a running sum, never recomputed from the level

    if ((level - 1) % 10 != 0)
    {
        playEffect(session, audio, Effect::LevelUp);
    }
    else if (playEffect(session, audio, Effect::Level11Up))
    {
        // The falling gem shows off the new kind, but only along with its fanfare
        session.carried.fallingGem.code = (level - 1) / 10 + 3;
    }
}
} // namespace

namespace
{
// The freeze of a gem at rest in the top row must not stall a time-out that began first
bool ticking(const GameSession& session)
{
    return !(session.game.paused && !(session.game.timeUp && gameFrozen(session)));
}
} // namespace

EndingReport levelTick(GameSession& session, Micros now, const AudioPort& audio)
{
    if (!ticking(session))
        return EndingReport::Running;

    // At least a second apart: the part beyond the full second is not carried over
    if (session.game.levelClock.seconds(now) < TickSeconds)
        return EndingReport::Running;
    session.game.levelClock.restart(now);

    assert(session.game.level >= 1 && session.game.level <= LastLevel);

    if (!session.game.timeUp && session.game.secondsLeft > 0)
        session.game.secondsLeft -= 1;

    // The last level never levels up; its ticks drive the time-out ending instead
    EndingReport report = EndingReport::Running;
    if (session.game.level == LastLevel)
    {
        // A game already lost by overflow stays lost
        if (session.game.secondsLeft <= 0 && !session.game.overflowEnding)
            report = timeOutEndingStep(session, now, audio);
    }
    else if (session.game.secondsLeft <= 0)
    {
        levelUp(session, now, audio);
    }

    playDangerAlert(session, audio);
    return report;
}

Micros levelTickDue(const GameSession& session)
{
    return ticking(session) ? session.game.levelClock.reaches(TickSeconds) : Never;
}
