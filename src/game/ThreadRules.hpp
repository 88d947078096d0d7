#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"

// The player's keys on the playing screen; the caller checks the screen,
// these check pause, time-out, the discard lock and the 0.03 s guard.
void moveSelectorLeft(GameSession& session, Micros now);
void moveSelectorRight(GameSession& session, Micros now);

// Up: push the top bead back into the column, or throw a full thread into the tube.
void pushBead(GameSession& session, Micros now, const AudioPort& audio);

// Up at the trash tube would throw nothing away: the thread is not full.
bool tubeRefusesThread(const GameSession& session);

// Down: pull the column's bottom gem onto the thread, then test for eight
// diamonds and for the pattern.
void pullGem(GameSession& session, Micros now, const AudioPort& audio);
