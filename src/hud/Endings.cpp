#include "hud/Endings.hpp"

#include "DesignLayout.hpp"
#include "game/Falling.hpp"

namespace
{
constexpr float ClosingSoundSeconds = 1.f; // silence after the music stops
constexpr float EndingSeconds = 6.f;       // until the end screen
constexpr float FadeSeconds = 1.f;         // end background fade-in
constexpr float PanelDelaySeconds = 3.f;   // until the result panel shows

constexpr DesignPoint EndScoreOrigin = layout::EndScore.origin;
constexpr float EndScoreDigitWidth = layout::EndScore.pitch;
constexpr int EndScorePlaces = layout::EndScore.positions;

// Common course of both endings once begun: closing sound after 1 s, end screen after 6 s.
// transitionClock is shared with the score popup, whose steps hold these delays back.
EndingReport endingStep(GameSession& session, Micros now, const AudioPort& audio, Effect closingSound)
{
    const float t = session.carried.transitionClock.seconds(now);

    // Started again whenever it is not playing, so a short sound repeats until the switch
    if (t > ClosingSoundSeconds)
        playEffect(session, audio, closingSound);

    if (!(t > EndingSeconds))
        return EndingReport::Running;
    session.carried.transitionClock.restart(now);
    return EndingReport::EndScreenDue;
}

// First evaluation of an ending: the menu will reset the game, and the music falls silent.
void beginEnding(GameSession& session, Micros now, const AudioPort& audio, bool& flag)
{
    flag = true;
    session.game.gameReady = false;
    session.carried.transitionClock.restart(now);
    audio.sendMusic(MusicCommand::Stop);
}

// Opacity of the chosen background during its first second; afterwards it keeps what it reached.
void fadeBackground(const GameSession& session, Micros now, EndDisplay& end)
{
    end.congratulations = !(session.game.score < session.kept.bestScore);
    const float t = session.carried.transitionClock.seconds(now);
    if (t < FadeSeconds)
    {
        int& alpha = end.congratulations ? end.congratulationsAlpha : end.gameOverAlpha;
        alpha = static_cast<int>(t * 255.f);
    }
}
} // namespace

EndingReport timeOutEndingStep(GameSession& session, Micros now, const AudioPort& audio)
{
    if (!session.game.timeUp)
        beginEnding(session, now, audio, session.game.timeUp);

    // Playing all levels through is always applauded
    return endingStep(session, now, audio, Effect::Applause);
}

EndingReport overflowEndingStep(GameSession& session, Micros now, const AudioPort& audio)
{
    // Gems dropped while a won game counts down its last seconds must not turn it into a loss
    if (session.game.timeUp || !overflowReached(session))
        return EndingReport::Running;

    if (!session.game.overflowEnding)
        beginEnding(session, now, audio, session.game.overflowEnding);

    // The score can no longer pass the best here, so equality means this game set or tied it
    const bool bestGame = session.game.score == session.kept.bestScore && session.game.score != 0;
    return endingStep(session, now, audio, bestGame ? Effect::Applause : Effect::Defeat);
}

Wake endingWake(const GameSession& session, Micros now)
{
    Wake wake;
    if (!session.game.overflowEnding || session.game.timeUp || !overflowReached(session))
        return wake;
    const Timer& clock = session.carried.transitionClock;
    if (clock.seconds(now) > ClosingSoundSeconds)
        wake.moving = true;
    else
        wake.soonest(clock.passes(ClosingSoundSeconds));
    wake.soonest(clock.passes(EndingSeconds));
    return wake;
}

void beginEndScreen(GameSession& session, Micros now, EndDisplay& end)
{
    session.carried.endClock.restart(now);
    fadeBackground(session, now, end);
    end.panel          = ResultPanel::None;
    end.showLevelTens  = false;
    end.showLevelUnits = false;
    end.showScore      = false;
}

bool endScreenComplete(const GameSession& session, const EndDisplay& end, float reading)
{
    return session.game.score > 0 ? end.panel != ResultPanel::None : !(reading < FadeSeconds);
}

Wake endScreenWake(const GameSession& session, const EndDisplay& end, Micros now)
{
    Wake wake;
    if (!session.game.endMusicRestarted && session.kept.musicOn)
        wake.soonest(now);
    if (session.carried.transitionClock.seconds(now) < FadeSeconds)
    {
        wake.moving = true;
        wake.soonest(session.carried.transitionClock.reaches(FadeSeconds)); // then the screen is complete
    }
    if (session.game.score > 0 && end.panel == ResultPanel::None)
        wake.soonest(session.carried.endClock.passes(PanelDelaySeconds));
    return wake;
}

void updateEndScreen(GameSession& session, Micros now, const AudioPort& audio, EndDisplay& end,
                     DigitField& endScore)
{
    fadeBackground(session, now, end);

    // The ending stopped the music; a track playing by now restarts from the beginning all the same
    if (!session.game.endMusicRestarted && session.kept.musicOn)
    {
        audio.sendMusic(MusicCommand::Stop);
        audio.sendMusic(MusicCommand::Play);
        session.game.endMusicRestarted = true;
    }

    // The result panel waits from the first frame of this end screen
    if (!(session.carried.endClock.seconds(now) > PanelDelaySeconds && session.game.score > 0))
        return;

    const bool best = session.game.score == session.kept.bestScore;
    if (session.game.timeUp)
        end.panel = best ? ResultPanel::BestAllLevels : ResultPanel::AllLevels;
    else
        end.panel = best ? ResultPanel::BestLost : ResultPanel::Lost;

    // Only a lost game tells how many levels it completed
    const int levelsCompleted = session.game.level - 1;
    end.levelDigits = levelDigits(levelsCompleted);
    if (!session.game.timeUp)
    {
        end.showLevelTens  = levelsCompleted >= 10;
        end.showLevelUnits = true;
    }

    end.showScore = true;
    showNumber(static_cast<std::uint32_t>(session.game.score), endScore, EndScoreOrigin, EndScoreDigitWidth,
               EndScorePlaces, 255);
}
