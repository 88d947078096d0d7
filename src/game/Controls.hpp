#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"

// Music, sound and pause switches of the playing screen. The caller checks the
// screen and the key latches; each returns true when it acted, so a key's
// latch is set only then.
bool toggleMusic(GameSession& session, const AudioPort& audio);
bool toggleSound(GameSession& session);

// Only while the falling gem could still move down and is not in its landing pause.
bool canTogglePause(const GameSession& session);
bool togglePause(GameSession& session, const AudioPort& audio);
