#pragma once

#include "game/GameSession.hpp"

// Discard, clear and refill phases on the shared animation clock: at most one
// step of each per frame, overshoot dropped. Runs while paused too.
void stepThreadAnimations(GameSession& session, Micros now, RandomDraw& random);

// When the next step of a running phase is due; Never while none runs.
Micros animationDue(const GameSession& session);

// The first pattern of a game: eight draws of codes 1 to 3, slot 0 first.
void dealFirstPattern(GameSession& session, RandomDraw& random);
