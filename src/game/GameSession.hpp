#pragma once

#include "game/GemCode.hpp"
#include "game/Random.hpp"
#include "game/Timer.hpp"

#include <string>

// The one gem in play above the stacks, as far as one game plays with it.
struct FallingGem
{
    int column = 0;            // 0 to 11
    int row = 0;               // 0 to 7, the cell it occupies now
    bool falling = true;       // from its spawn until it lands; false while paused
    bool landingPause = false; // from a landing until the next spawn

    bool operator==(const FallingGem&) const = default;
};

// What one game plays with, at its start values: the game reset makes a fresh one, so nothing of a game
// can outlive it.
struct GameRecord
{
    Board board{};             // [row][column] gem codes
    FallingGem fallingGem;
    Thread thread{};           // bead codes, packed from slot 0 outside a clear
    TargetPattern pattern{};   // codes 1 to kindSpan + 1 outside the refill
    int selectorStop = StartStop; // 0 to 12, 12 the trash tube

    int kindSpan = 2;          // ordinary codes 1 to kindSpan + 1 are in play
    float fallSpeed = 0.f;     // seconds taken off the 0.7 s fall interval (not a speed)
    int level = 1;             // 1 to 60
    int secondsLeft = 60;      // seconds left in the level
    Timer levelClock;          // one-second level tick, restarted when play begins

    int score = 0;
    int pendingPoints = 0;     // earned by this frame's input, moved into score by its update
    int patternsCompleted = 0;
    int popupPoints = 0;       // > 0 while the score popup shows
    float popupStep = 0.f;     // 0 to 100, one design pixel of rise per step

    bool gameReady = false;    // a fresh game is prepared; cleared when a game ends or is left
    bool paused = false;       // paused by the player, or frozen before the overflow ending
    bool timeUp = false;       // the last level's time has run out
    bool overflowEnding = false; // a gem came to rest in row 0
    bool endMusicRestarted = false;
    bool trashAnimating = false;  // discard: beads rise through the tube
    bool threadClearing = false;  // eight diamonds slide out
    bool patternClearing = false; // matched thread and pattern slide out

    bool operator==(const GameRecord&) const = default;
};

// The falling gem's kind and clocks, which a game hands on to the next: its first gem is the last one chosen.
struct FallingKind
{
    GemCode code = 1;          // 1 to 10
    Timer fallClock;           // since the last fall step or spawn
    Timer landingClock;        // since the last landing

    bool operator==(const FallingKind&) const = default;
};

// What a game hands on to the next: the falling gem's kind, a refill under way, and the clocks the screens
// share, which run on across the reset.
struct CarriedRecord
{
    FallingKind fallingGem;
    bool patternRefilling = false; // a new pattern scrolls in
    float popupX = 0.f;        // design x of the popup's first digit
    Timer animationClock;      // steps of the thread and pattern phases
    Timer transitionClock;     // fades, endings and popup steps
    Timer selectorClock;       // Left/Right rate limit
    Timer endClock;            // delay of the end screen's result panel

    bool operator==(const CarriedRecord&) const = default;
};

// What the program keeps from start to exit.
struct KeptRecord
{
    int bestScore = 0;         // from the best-score file
    bool soundOn = true;       // effects enabled
    bool musicOn = true;       // music wanted
    Timer pulseClock;          // danger pulse, never restarted
    bool levelBlinking = false; // level digits blink after a level-up
    Timer levelBlinkClock;

    bool operator==(const KeptRecord&) const = default;
};

// All the game's state, by how long it lives. Plain data: the app draws from it, the rules change it, tests
// inspect it.
struct GameSession
{
    GameRecord game;
    CarriedRecord carried;
    KeptRecord kept;

    bool operator==(const GameSession&) const = default;
};

// Program start, before the first frame: every clock starts at `now`, then the
// falling gem's column and code take the generator's first two draws.
void startSession(GameSession& session, RandomDraw& random, Micros now);

// Prepares a new game in place, with its random draws in their fixed order:
// falling column, then the eight pattern gems.
void resetGame(GameSession& session, RandomDraw& random);

// The first frame of play: the level timer starts here.
void beginPlay(GameSession& session, Micros now);

// Compact text picture of board, falling gem, thread and pattern: where a recorded game ended.
std::string boardPicture(const GameSession& session);

// The picture and every other field, so that two records that differ never print alike.
std::string dumpSession(const GameSession& session);
