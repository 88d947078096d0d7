#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"

// The one-second tick of play: counts the level down, levels up, drives the
// time-out ending and sounds the danger alert. Does nothing while paused.
void levelTick(GameSession& session, Micros now, const AudioPort& audio, ScreenState& screen);
