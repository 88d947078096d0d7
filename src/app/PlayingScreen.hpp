#pragma once

#include "app/AppContext.hpp"
#include "app/Command.hpp"
#include "hud/NumberDisplay.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

struct FrameInput;
struct PictureAssets;

// One frame of play: the screen to switch to, or the freeze that ends the frame early.
struct PlayingTick
{
    ScreenSwitch next;
    bool frozen = false; // a gem came to rest in the top row: nothing more this frame
};

// The playing screen: keys and in-game buttons, the rules in their frame order,
// and the board, thread, pattern and HUD as they stand.
class PlayingScreen
{
public:
    // The first frame of play.
    void enter(AppContext& app, Micros now);

    // Keys and the five in-game buttons; B and the main-menu button leave for the menu.
    ScreenSwitch respond(const Command& command, AppContext& app, Micros now);
    // The window lost the focus: play pauses as P would. False while it cannot pause yet (a landing
    // pause); true once paused, or where nothing is to pause (an ending runs).
    bool holdForFocusLoss(AppContext& app);
    // Space held while a gem falls drops it; tried after every event.
    void holdSpace(AppContext& app, Micros now);
    PlayingTick tick(AppContext& app, Micros now);
    // M, S and P act again once released.
    void releaseLatches(const FrameInput& input);
    void draw(sf::RenderTarget& target, PictureAssets& pictures, const GameSession& session) const;

    bool musicKeyLatch() const { return m_musicKeyLatch; }
    bool soundKeyLatch() const { return m_soundKeyLatch; }
    bool pauseKeyLatch() const { return m_pauseKeyLatch; }

private:
    ScreenSwitch leave(AppContext& app, Micros now);
    void togglePauseFrom(AppContext& app);
    // What the frame shows beyond the session: level blink, pulse size, HUD numbers.
    void present(AppContext& app, Micros now);

    bool m_musicKeyLatch = false;   // set when M acted, cleared once M is released
    bool m_soundKeyLatch = false;
    bool m_pauseKeyLatch = false;
    bool m_pauseButtonResume = false; // the pause button shows its resume picture
    HudFields m_hud;
    std::uint8_t m_levelAlpha = 255; // level digits, blinking after a level-up
    float m_pulse = 1.f;             // danger pulse size factor, 1 to 1.2
};
