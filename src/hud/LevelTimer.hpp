#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"
#include "hud/Endings.hpp"

// The one-second tick of play: counts the level down, levels up, drives the
// time-out ending and sounds the danger alert. Does nothing while paused.
EndingReport levelTick(GameSession& session, Micros now, const AudioPort& audio);
