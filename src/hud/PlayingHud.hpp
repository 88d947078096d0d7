#pragma once

#include "game/GameSession.hpp"
#include "hud/BestScore.hpp"
#include "hud/NumberDisplay.hpp"


// The HUD part of a frame of play, after the level tick: popup step, this
// frame's points into the score, the best-score check, then the three numbers,
// so the HUD always shows the score including this frame's points.
inline void updatePlayingHud(GameSession& session, HudFields& hud, Micros now, float selectorX,
                             BestScoreFile& bestScoreFile)
{
    stepScorePopup(session, hud, now, selectorX);
    takePendingPoints(session);
    recordScore(session, bestScoreFile);
    layoutHudNumbers(session, hud);
}
