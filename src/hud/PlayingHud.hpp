#pragma once

#include "game/GameSession.hpp"
#include "hud/HighScore.hpp"
#include "hud/NumberDisplay.hpp"

#include <string>

// The HUD part of a frame of play, after the level tick: popup step, this
// frame's points into the score, the best-score check, then the three numbers,
// so the HUD always shows the score including this frame's points.
inline void updatePlayingHud(GameSession& session, HudFields& hud, Micros now, float selectorX,
                             const std::string& highScorePath)
{
    stepScorePopup(session, hud, now, selectorX);
    takePendingPoints(session);
    recordScore(session, highScorePath);
    layoutHudNumbers(session, hud);
}
