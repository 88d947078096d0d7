#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"
#include "hud/NumberDisplay.hpp"

// Level 60 ran out: at each tick, set up the ending, applause after 1 s, end screen after 6 s.
void timeOutEndingStep(GameSession& session, Micros now, const AudioPort& audio, ScreenState& screen);

// Every frame of play: a column full to row 0 ends the game the same way,
// with applause for a best score above 0 and defeat otherwise.
void overflowEndingStep(GameSession& session, Micros now, const AudioPort& audio, ScreenState& screen);

// The end screen's result panel.
enum class ResultPanel
{
    None,
    BestAllLevels, // "assets/GO1.png"
    AllLevels,     // "assets/GO2.png"
    BestLost,      // "assets/GO3.png"
    Lost           // "assets/GO4.png"
};

// What the end screen shows; kept across end screens for the backgrounds' opacity.
struct EndScreen
{
    bool congratulations = false;      // background: congratulations, else game over
    int gameOverAlpha = 0;             // 0 to 255, kept after its fade
    int congratulationsAlpha = 255;
    ResultPanel panel = ResultPanel::None;
    bool showLevelTens = false;        // levels completed, lost games only
    bool showLevelUnits = false;
    std::array<int, 2> levelDigits{};  // levels completed, tens and units
    bool showScore = false;            // the final score, laid out in HudFields::endScore
};

// Every frame on the end screen: leave for the menu on request, fade the
// background in, restart the music once, and prepare what is drawn.
void updateEndScreen(GameSession& session, Micros now, const AudioPort& audio, bool leaveRequested,
                     ScreenState& screen, EndScreen& end, HudFields& hud);
