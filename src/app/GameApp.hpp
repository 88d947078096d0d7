#pragma once

#include "app/Assets.hpp"
#include "game/GameSession.hpp"
#include "hud/Endings.hpp"
#include "hud/NumberDisplay.hpp"

#include <SFML/Graphics.hpp>

#include <string>

// Real-time input, queried by the frame loop from the keyboard and mouse, or
// made up by tests.
struct InputState
{
    bool spaceHeld = false;
    bool musicKeyHeld = false; // M
    bool soundKeyHeld = false; // S
    bool pauseKeyHeld = false; // P
    sf::Vector2i mouse;        // window pixels
};

// Screen-level state: which screen shows, its fades, menu page and latches.
struct ScreenFields
{
    ScreenState screen = ScreenState::Title;
    bool titleShowing = true;   // the title waits to be dismissed
    bool menuFadeIn = false;    // menu fades in or stands; false: fades out toward play. On the end screen: leave
    MenuPage menuPage = MenuPage::Main;
    bool clickConsumed = false; // this click only left a sub-page or the end screen
    std::uint8_t titleAlpha = 0;
    std::uint8_t menuAlpha = 0;
    float transitionReading = 0.f; // last transitionClock reading of this frame's update, seconds
    std::array<bool, 4> menuHover{}; // start, instructions, about, quit

    bool musicKeyLatch = false;
    bool soundKeyLatch = false;
    bool pauseKeyLatch = false;

    bool pauseButtonResume = false; // the pause button shows its resume picture

    bool cursorVisible = false;
    sf::Vector2i lastMousePosition;
    Timer cursorIdleClock;
};

// The whole game above the window: input handling, the per-screen updates and
// the drawing, with time, random numbers, input and audio passed in. The frame
// loop owns one; tests drive one directly.
class GameApp
{
public:
    GameApp(PictureAssets& pictures, const AudioPort& audio, DesignScale scale, RandomDraw random,
            std::string highScorePath);

    // Initial values, clocks and the best score, before the first frame.
    void start(Micros now, sf::Vector2i mouse);

    // Event phase: one polled event, remembered as the last event.
    void handleEvent(const sf::Event& event, const InputState& input, Micros now);

    // Cursor auto-hide, once per frame after the events.
    void updateCursor(const InputState& input, Micros now);

    // Update phase of the current screen; false when the frame ends early
    // (the game froze) and nothing more is done in it.
    bool update(const InputState& input, Micros now);

    // Latch phase: M, S and P act again once released.
    void releaseLatches(const InputState& input);

    // Draws the current screen; decides nothing.
    void draw(sf::RenderTarget& target) const;

    // The window should close: its close event, Escape on a main page, or a quit button.
    bool closeRequested() const { return m_closeRequested; }

    GameSession& session() { return m_session; }
    const GameSession& session() const { return m_session; }
    ScreenFields& screens() { return m_screens; }
    const ScreenFields& screens() const { return m_screens; }
    const EndScreen& endScreen() const { return m_end; }

private:
    void handleKey(sf::Keyboard::Key key, Micros now);
    void handleClick(sf::Vector2i mouse, Micros now);
    void leaveToMenu(Micros now);

    void updateTitle(Micros now);
    void updateMenu(const InputState& input, Micros now);
    bool updatePlaying(Micros now);

    // Sprites follow state: pictures, positions and colours from the fields.
    void syncSprites(Micros now);

    void drawTitleOrMenu(sf::RenderTarget& target) const;
    void drawPlaying(sf::RenderTarget& target) const;
    void drawEnd(sf::RenderTarget& target) const;

    bool hits(Picture picture, sf::Vector2i point) const;

    PictureAssets& m_pictures;
    AudioPort m_audio;
    DesignScale m_scale;
    RandomDraw m_random;
    std::string m_highScorePath;

    GameSession m_session;
    ScreenFields m_screens;
    HudFields m_hud;
    EndScreen m_end;
    sf::Event m_lastEvent{};
    std::uint8_t m_levelAlpha = 255; // level digits, blinking after a level-up
    float m_pulse = 1.f;             // danger pulse size factor
    bool m_closeRequested = false;
};
