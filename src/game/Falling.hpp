#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"

// How one fall update ended.
enum class FallResult
{
    Continue, // go on with the overflow check and the rest of the frame
    Froze     // a gem came to rest in row 0: the game froze and this frame ends here
};

// Seconds between fall steps at the current speed.
float fallInterval(const GameSession& session);

// Half the fall interval: the wait between a landing and the next spawn.
float landingPauseSeconds(const GameSession& session);

// The gem cannot move down: it is in row 7 or the cell below is occupied.
bool gemRests(const GameSession& session);

// Fall step, landing, landing-pause check and spawn, in that order.
FallResult updateFallingGem(GameSession& session, Micros now, RandomDraw& random, const AudioPort& audio);

// Space held: while the gem falls, it drops onto its stack at once.
void hardDrop(GameSession& session, Micros now, const AudioPort& audio);

// Kind of a new gem: diamond 5 in 100, trash 2 in 100, else favour kinds rare on the board.
GemCode chooseGemKind(const GameSession& session, RandomDraw& random);

// A gem came to rest in the top row and play froze: no gem falls or will spawn.
bool gameFrozen(const GameSession& session);

// Rows 0 and 1 of the falling gem's column are both occupied: the overflow ending runs.
bool overflowReached(const GameSession& session);

// Rows 1 and 2 of play-field column c are both occupied.
bool isDangerColumn(const Board& board, int column);

// At a level tick: one alarm, however many columns are in danger.
void playDangerAlert(const GameSession& session, const AudioPort& audio);

// Size factor of the danger pulse: 1 to 1.2 and back once a second.
float pulseFactor(const GameSession& session, Micros now);

// The danger pulse shows: a column in danger and no ending running.
bool dangerPulseShown(const GameSession& session);

// When the falling gem's update next does something: its fall step, its landing, or the end of its
// landing pause; Never while it hangs or waits for a resume.
Micros fallDue(const GameSession& session);
