#include "hud/NumberDisplay.hpp"

#include "DesignLayout.hpp"

#include <algorithm>
#include <cassert>
#include <string>

namespace
{
// Places, widths and origins of the numbers of play, design units, from the layout table.
constexpr DesignPoint ScoreOrigin = layout::Score.origin;
constexpr DesignPoint BestScoreOrigin = layout::BestScore.origin;
constexpr DesignPoint PatternsOrigin = layout::Patterns.origin;
constexpr float HudDigitWidth = layout::Score.pitch;
constexpr int ScorePlaces = layout::Score.positions;
constexpr int PatternPlaces = layout::Patterns.positions;
static_assert(layout::BestScore.pitch == HudDigitWidth && layout::Patterns.pitch == HudDigitWidth &&
                  layout::BestScore.positions == ScorePlaces,
              "the HUD numbers share one digit pitch, and the two scores one width");

// The popup rises from just above this line, one design unit per step.
constexpr float PopupBaseY = layout::Popup.origin.y;
constexpr float PopupDigitWidth = layout::Popup.pitch;
constexpr int PopupPlaces = layout::Popup.positions;
constexpr float PopupStepSeconds = 0.02f;
constexpr float PopupSteps = 100.f;

// Blink of the level digits: quarter-second phases for 1.5 s.
constexpr float BlinkSeconds = 1.5f;
constexpr float BlinkPhasesPerSecond = 4.f;
} // namespace

void showNumber(std::uint32_t value, DigitField& field, DesignPoint origin, float digitWidth,
                int digitCount, std::uint8_t opacity)
{
    assert(digitCount >= 1 && digitCount <= DigitFieldCapacity);

    // Leading zeros up to the place count; a longer number keeps its leading digits
    std::string text = std::to_string(value);
    if (text.size() < static_cast<std::size_t>(digitCount))
        text.insert(0, static_cast<std::size_t>(digitCount) - text.size(), '0');

    // Unused places stay drawn, only transparent, so they keep their earlier digit and position
    for (int i = 0; i < DigitFieldCapacity; ++i)
    {
        DigitPlace& place = field.places[static_cast<std::size_t>(i)];
        if (i < digitCount)
        {
            place.digit    = text[static_cast<std::size_t>(i)] - '0';
            place.position = {origin.x + static_cast<float>(i) * digitWidth, origin.y};
            place.alpha    = opacity;
        }
        else
        {
            place.alpha = 0;
        }
    }
}

std::array<int, 4> timeDigits(int secondsLeft)
{
    assert(secondsLeft >= 0);

    const int minutes = secondsLeft / 60;
    const int seconds = secondsLeft % 60;
    return {(minutes / 10) % 10, minutes % 10, (seconds / 10) % 10, seconds % 10};
}

std::array<int, 2> levelDigits(int level)
{
    assert(level >= 0);

    return {(level / 10) % 10, level % 10};
}

std::uint8_t levelDisplayOpacity(GameSession& session, Micros now)
{
    if (!session.kept.levelBlinking)
        return 255;

    const float t = session.kept.levelBlinkClock.seconds(now);
    if (t >= BlinkSeconds)
    {
        session.kept.levelBlinking = false;
        return 255;
    }

    // Visible in the even quarter seconds, hidden in the odd ones
    return (static_cast<int>(t * BlinkPhasesPerSecond) % 2 == 0) ? 255 : 0;
}

void stepScorePopup(GameSession& session, HudFields& hud, Micros now, float selectorX)
{
    // Fresh points restart the popup above the selector, even over a running one
    if (session.game.pendingPoints > 0)
    {
        session.carried.transitionClock.restart(now);
        session.game.popupPoints = session.game.pendingPoints;
        session.game.popupStep   = 0.f;
        session.carried.popupX      = selectorX;
    }

    // One rise-and-fade step per frame at most; the overshoot is dropped
    if (session.carried.transitionClock.seconds(now) >= PopupStepSeconds && session.game.popupPoints > 0)
    {
        session.carried.transitionClock.restart(now);
        session.game.popupStep += 1.f;
        if (session.game.popupStep >= PopupSteps)
        {
            session.game.popupPoints = 0;
        }
        else
        {
            const auto opacity = static_cast<std::uint8_t>((1.f - session.game.popupStep / PopupSteps) * 255.f);
            showNumber(static_cast<std::uint32_t>(session.game.popupPoints), hud.popup,
                       {session.carried.popupX, PopupBaseY - session.game.popupStep}, PopupDigitWidth, PopupPlaces,
                       opacity);
        }
    }
}

Micros popupDue(const GameSession& session)
{
    if (session.game.pendingPoints > 0)
        return session.carried.transitionClock.start; // fresh points start a popup at once
    return session.game.popupPoints > 0 ? session.carried.transitionClock.reaches(PopupStepSeconds) : Never;
}

Micros blinkDue(const GameSession& session, Micros now)
{
    if (!session.kept.levelBlinking)
        return Never;
    const float t = session.kept.levelBlinkClock.seconds(now);
    if (t >= BlinkSeconds)
        return now;
    const float nextPhase = static_cast<float>(static_cast<int>(t * BlinkPhasesPerSecond) + 1) / BlinkPhasesPerSecond;
    return session.kept.levelBlinkClock.reaches(std::min(nextPhase, BlinkSeconds));
}

void takePendingPoints(GameSession& session)
{
    session.game.score += session.game.pendingPoints;
    session.game.pendingPoints = 0;
}

void layoutHudNumbers(const GameSession& session, HudFields& hud)
{
    showNumber(static_cast<std::uint32_t>(session.game.score), hud.score, ScoreOrigin, HudDigitWidth, ScorePlaces, 255);
    showNumber(static_cast<std::uint32_t>(session.kept.bestScore), hud.bestScore, BestScoreOrigin, HudDigitWidth,
               ScorePlaces, 255);
    showNumber(static_cast<std::uint32_t>(session.game.patternsCompleted), hud.patterns, PatternsOrigin,
               HudDigitWidth, PatternPlaces, 255);
}
