#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"
#include "hud/Endings.hpp"

// The one-second tick of play: counts the level down, levels up, drives the
// time-out ending and sounds the danger alert. Does nothing while paused, but for
// a time-out's ending when play froze under it.
EndingReport levelTick(GameSession& session, Micros now, const AudioPort& audio);

// When the next tick is due; Never while paused.
Micros levelTickDue(const GameSession& session);
