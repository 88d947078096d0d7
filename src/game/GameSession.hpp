#pragma once

#include "game/GemCode.hpp"
#include "game/Random.hpp"
#include "game/Timer.hpp"

#include <string>

// The one gem in play above the stacks.
struct FallingGem
{
    int column = 0;            // 0 to 11
    int row = 0;               // 0 to 7, the cell it occupies now
    GemCode code = 1;          // 1 to 10
    bool falling = true;       // from its spawn until it lands; false while paused
    bool landingPause = false; // from a landing until the next spawn or the game reset
    Timer fallClock;           // since the last fall step or spawn
    Timer landingClock;        // since the last landing

    bool operator==(const FallingGem&) const = default;
};

// All per-game state, plus the few fields that outlive a game (marked "kept").
// Plain data: the app draws from it, the rules change it, tests inspect it.
struct GameSession
{
    Board board{};             // [row][column] gem codes
    FallingGem fallingGem;
    Thread thread{};           // bead codes, packed from slot 0 outside a clear
    TargetPattern pattern{};   // codes 1 to kindSpan + 1 outside the refill
    int selectorStop = StartStop; // 0 to 12, 12 the trash tube

    int kindSpan = 2;          // ordinary codes 1 to kindSpan + 1 are in play
    float fallSpeed = 0.f;     // seconds taken off the 0.7 s fall interval
    int level = 1;             // 1 to 60
    int secondsLeft = 60;      // seconds left in the level
    Timer levelClock;          // one-second level tick

    int score = 0;
    int pendingPoints = 0;     // earned by this frame's input, moved into score by its update
    int bestScore = 0;         // from the high-score file (kept)
    int patternsCompleted = 0;

    int popupPoints = 0;       // > 0 while the score popup shows
    float popupStep = 0.f;     // 0 to 100, one design pixel of rise per step
    float popupX = 0.f;        // design x of the popup's first digit (kept)

    bool gameReady = false;    // a fresh game is prepared; cleared when a game ends or is left
    bool paused = false;       // paused by the player, or frozen before the overflow ending
    bool timeUp = false;       // the last level's time has run out
    bool overflowEnding = false; // a gem came to rest in row 0
    bool endMusicRestarted = false;

    bool trashAnimating = false;  // discard: beads rise through the tube
    bool threadClearing = false;  // eight diamonds slide out
    bool patternClearing = false; // matched thread and pattern slide out
    bool patternRefilling = false; // a new pattern scrolls in (kept)

    Timer animationClock;      // steps of the thread and pattern phases (kept)
    Timer transitionClock;     // fades, endings and popup steps (kept)
    Timer selectorClock;       // Left/Right rate limit (kept)
    Timer pulseClock;          // danger pulse, never restarted
    Timer endClock;            // delay of the end screen's result panel (kept)

    bool soundOn = true;       // effects enabled (kept)
    bool musicOn = true;       // music wanted (kept)

    bool levelBlinking = false; // level digits blink after a level-up (program-wide)
    Timer levelBlinkClock;

    // Every field, so that a test can tell two records apart without a list that could miss one.
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

// Compact text picture of board, falling gem, thread and pattern for test failures.
std::string dumpSession(const GameSession& session);
