#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"
#include "hud/NumberDisplay.hpp"

// What a step of an ending tells the app, which owns the switch between screens.
enum class EndingReport
{
    Running,
    EndScreenDue // six seconds into an ending: the end screen takes over
};

// Level 60 ran out: at each tick, set up the ending, applause after 1 s, end screen after 6 s.
EndingReport timeOutEndingStep(GameSession& session, Micros now, const AudioPort& audio);

// Every frame of play: a column full to row 0 ends the game the same way,
// with applause for a best score above 0 and defeat otherwise. A game whose
// time ran out stays a time-out.
EndingReport overflowEndingStep(GameSession& session, Micros now, const AudioPort& audio);

// When a running overflow ending next acts: its closing sound after 1 s, the end screen after 6 s. From its
// first second on, every frame may have to start the closing sound again. (A time-out's steps run at the
// level's ticks.)
Wake endingWake(const GameSession& session, Micros now);

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
struct EndDisplay
{
    bool congratulations = false;      // background: congratulations, else game over
    int gameOverAlpha = 0;             // 0 to 255, kept after its fade
    int congratulationsAlpha = 255;
    ResultPanel panel = ResultPanel::None;
    bool showLevelTens = false;        // levels completed, lost games only
    bool showLevelUnits = false;
    std::array<int, 2> levelDigits{};  // levels completed, tens and units
    bool showScore = false;            // the final score, laid out in `endScore`
};

// The frame that switches to the end screen: this game's background from its
// first faded step, no panel yet, and the panel's delay starts.
void beginEndScreen(GameSession& session, Micros now, EndDisplay& end);

// Everything the end screen will show is on screen, as of the frame last drawn (`reading` is its
// transitionClock reading): the result panel of a game that scored, else the faded-in background.
// Only from then on may the player leave.
bool endScreenComplete(const GameSession& session, const EndDisplay& end, float reading);

// When the end screen next changes: the music's restart, the background's fade (every frame of its first
// second), the result panel.
Wake endScreenWake(const GameSession& session, const EndDisplay& end, Micros now);

// Every frame on the end screen: fade the background in, restart the music
// once, and show the result panel after its delay.
void updateEndScreen(GameSession& session, Micros now, const AudioPort& audio, EndDisplay& end,
                     DigitField& endScore);
