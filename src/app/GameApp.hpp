#pragma once

#include "app/EndScreen.hpp"
#include "app/Gamepad.hpp"
#include "app/MenuScreen.hpp"
#include "app/PlayingScreen.hpp"
#include "app/TitleScreen.hpp"

#include <functional>
#include <tuple>

// The game above the window: hands each command to the current screen, runs the frame's phases and switches
// between the four screens, which it holds alike. Time, random numbers, input and audio are passed in, so the
// frame loop, the replay tool and the tests drive the same code; what a frame shows comes out as a scene.
class GameApp
{
public:
    explicit GameApp(AppContext context);

    // Initial values, clocks and the best score, before the first frame.
    void start(Micros now, sf::Vector2i mouse);

    // Event phase: one command, in the order the window delivered them.
    void respond(const Command& command, Micros now);

    // Cursor, update and latch phases; false when the frame ends early (the game froze) and nothing is drawn
    // in it.
    bool tick(const FrameInput& input, Micros now);

    // What the current screen shows, from the state the last tick left.
    void describe(Scene& scene) const;

    // When the next frame is needed: the earliest timed step of the current screen or the cursor.
    Wake due(Micros now) const;

    // Held keys matter only to release a latch, so the frame loop asks for no other.
    const KeySet& latches() const { return m_app.latches; }
    // A key held down on a gamepad: its latch stays, as for the keyboard's.
    bool padHolds(sf::Keyboard::Key key) const { return m_pad.holds(key); }

    bool closeRequested() const { return m_app.closeRequested; }
    bool cursorVisible() const { return m_cursorVisible; }
    int masterLevel() const { return m_app.masterLevel; }
    ScreenState screen() const { return m_screen; }
    MenuPage menuPage() const { return m_app.menuPage; }
    GameSession& session() { return m_app.session; }
    BestScoreFile& bestScoreFile() { return m_app.bestScoreFile; }
    const GameSession& session() const { return m_app.session; }
    const MenuScreen& menu() const { return std::get<MenuScreen>(m_screens); }
    const EndScreen& end() const { return std::get<EndScreen>(m_screens); }

private:
    // Calls `use` with the current screen of `app`, a GameApp or a const one.
    template <typename App, typename Use>
    static decltype(auto) withScreen(App& app, Use&& use);
    // A screen's answer: its latches set, and the switch it asked for.
    void take(const ScreenReply& reply, Micros now);
    // Commands that a gamepad's stand for, as if the keyboard had sent them.
    void respondAll(const std::vector<Command>& commands, Micros now);
    void updateCursor(const FrameInput& input, Micros now);
    // The volume keys, on every screen: the master volume a level down or up, and its indicator shown.
    void stepVolume(int step, Micros now);

    AppContext m_app;
    ScreenState m_screen = ScreenState::Title;
    std::tuple<TitleScreen, MenuScreen, PlayingScreen, EndScreen> m_screens; // in the order of ScreenState
    Gamepad m_pad;
    bool m_cursorVisible = false;     // hidden at start-up
    sf::Vector2i m_lastMousePosition; // window pixels
    Timer m_cursorIdleClock;          // since the mouse last moved on the menu or in play
};

static_assert(Screen<TitleScreen> && Screen<MenuScreen> && Screen<PlayingScreen> && Screen<EndScreen>);

// Whether a key is down now: the window's keyboard for the game, a script's or a test's own table.
using KeyQuery = std::function<bool(sf::Keyboard::Key)>;

// The frame's real-time input, as the frame loop, the replay tool and the tests all read it: the pointer,
// and each key whose latch waits for its release.
FrameInput readFrameInput(const GameApp& game, sf::Vector2i mouse, const KeyQuery& isHeld);
