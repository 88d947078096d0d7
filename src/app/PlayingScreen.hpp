#pragma once

#include "app/Screen.hpp"
#include "hud/NumberDisplay.hpp"

// The playing screen: keys and in-game buttons, the rules in their frame order, and the board, thread,
// pattern and HUD as they stand.
class PlayingScreen
{
public:
    // The first frame of play.
    ScreenReply enter(AppContext& app, Micros now);
    // Keys, the five in-game buttons and the loss of focus; B and the main-menu button leave for the menu.
    // Space held while a gem falls drops it, after any command.
    ScreenReply respond(const Command& command, AppContext& app, Micros now);
    ScreenReply tick(const FrameInput& input, AppContext& app, Micros now);
    void describe(Scene& scene, const AppContext& app) const;
    Wake due(const AppContext& app, Micros now) const;

private:
    ScreenReply leave(AppContext& app, Micros now);
    void togglePauseFrom(AppContext& app);
    // A focus loss owed by the window pauses play as P would, once play can pause.
    void takeOwedPause(AppContext& app);
    // What the frame shows beyond the session: level blink, pulse size, HUD numbers.
    void present(AppContext& app, Micros now);

    static constexpr float HintSeconds = 1.5f; // the thread-not-full hint after a refused Up at the tube

    bool m_pauseButtonResume = false; // the pause button shows its resume picture, the game its paused sign
    bool m_hintShown = false;         // Up at the tube was refused a moment ago: the thread must be full
    Timer m_hintClock;                // since that Up
    HudFields m_hud;
    std::uint8_t m_levelAlpha = 255; // level digits, blinking after a level-up
    float m_pulse = 1.f;             // danger pulse size factor, 1 to 1.2
};
