#pragma once

#include "game/GameSession.hpp"
#include "hud/DesignPoint.hpp"

#include <array>
#include <cstdint>

// One place of a digit row, as the app will draw it.
struct DigitPlace
{
    int digit = -1;           // 0 to 9; -1 before the first layout (draws nothing)
    DesignPoint position;     // top-left corner, design units
    std::uint8_t alpha = 255; // 0 for places beyond the digit count
};

// Seven places: no number on screen uses more than six.
constexpr int DigitFieldCapacity = 7;
struct DigitField
{
    std::array<DigitPlace, DigitFieldCapacity> places;
};

// Lays `value` out as unsigned decimal over `digitCount` places (1 to 7) from
// `origin`, `digitWidth` apart: leading zeros shown, the most significant digits
// kept when the number is too long, unused places made transparent.
void showNumber(std::uint32_t value, DigitField& field, DesignPoint origin, float digitWidth,
                int digitCount, std::uint8_t opacity);

// Digits of the time display for T seconds left: minutes tens, units, seconds tens, units.
std::array<int, 4> timeDigits(int secondsLeft);

// Tens and units of a level number.
std::array<int, 2> levelDigits(int level);

// Opacity of the level digits this frame: blinking in quarter seconds for 1.5 s
// after a level-up, then steady (the blink is cleared here).
std::uint8_t levelDisplayOpacity(GameSession& session, Micros now);

// The five number rows of the game.
struct HudFields
{
    DigitField score;
    DigitField bestScore;
    DigitField patterns;
    DigitField popup;
    DigitField endScore;
};

// Popup start on fresh points at design x `selectorX`, then one rise-and-fade step per 0.02 s.
void stepScorePopup(GameSession& session, HudFields& hud, Micros now, float selectorX);

// When the popup's next step or a new popup is due; Never while none runs.
Micros popupDue(const GameSession& session);

// When the level digits' blink next shows or hides them, or ends; Never while they do not blink.
Micros blinkDue(const GameSession& session, Micros now);

// This frame's points join the score.
void takePendingPoints(GameSession& session);

// Score, best score and patterns completed, every frame of play.
void layoutHudNumbers(const GameSession& session, HudFields& hud);
