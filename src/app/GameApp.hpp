#pragma once

#include "app/AppContext.hpp"
#include "app/Command.hpp"
#include "app/EndScreen.hpp"
#include "app/MenuScreen.hpp"
#include "app/PlayingScreen.hpp"
#include "app/TitleScreen.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <functional>

struct PictureAssets;

// The game above the window: routes each command to the current screen, runs
// the frame's phases and switches between the four screens, in one place.
// Time, random numbers, input and audio are passed in, so the frame loop,
// the replay tool and the tests drive the same code; only `draw` needs pictures.
class GameApp
{
public:
    explicit GameApp(AppContext context);

    // Initial values, clocks and the best score, before the first frame.
    void start(Micros now, sf::Vector2i mouse);

    // Event phase: one command, in the order the window delivered them.
    void respond(const Command& command, Micros now);

    // Cursor, update and latch phases; false when the frame ends early (the game
    // froze) and nothing is drawn in it.
    bool tick(const FrameInput& input, Micros now);

    // Draws the current screen from the state the last tick left.
    void draw(sf::RenderTarget& target, PictureAssets& pictures) const;

    // Held keys matter only to release a latch, so the frame loop asks for no other.
    bool needsKeyState(sf::Keyboard::Key key) const;
    // The window's size in pixels now: the hit areas follow it.
    void resize(sf::Vector2u size);

    bool closeRequested() const { return m_app.closeRequested; }
    bool cursorVisible() const { return m_cursorVisible; }
    ScreenState screen() const { return m_screen; }
    GameSession& session() { return m_app.session; }
    BestScoreFile& bestScoreFile() { return m_app.bestScoreFile; }
    const GameSession& session() const { return m_app.session; }
    const MenuScreen& menu() const { return m_menu; }
    const PlayingScreen& playing() const { return m_playing; }
    const EndScreen& end() const { return m_end; }

private:
    void route(const Command& command, Micros now);
    void switchTo(ScreenSwitch next, Micros now);
    void updateCursor(const FrameInput& input, Micros now);

    AppContext m_app;
    ScreenState m_screen = ScreenState::Title;
    TitleScreen m_title;
    MenuScreen m_menu;
    PlayingScreen m_playing;
    EndScreen m_end;

    bool m_escapeKeyLatch = false;  // set when Escape acted, cleared once it is released
    bool m_focusPauseOwed = false;  // the focus went where play could not pause: it pauses once it can
    bool m_cursorVisible = false;   // hidden at start-up
    sf::Vector2i m_lastMousePosition; // window pixels
    Timer m_cursorIdleClock;        // since the mouse last moved on the menu or in play
};

// Whether a key is down now: the window's keyboard for the game, a script's or a test's own table.
using KeyQuery = std::function<bool(sf::Keyboard::Key)>;

// The frame's real-time input, as the frame loop, the replay tool and the tests all read it: the
// pointer, and each key whose latch waits for its release.
FrameInput readFrameInput(const GameApp& game, sf::Vector2i mouse, const KeyQuery& isHeld);
