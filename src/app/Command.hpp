#pragma once

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>

// Input as data: each window event becomes one command, the real-time state is
// sampled once per frame. The game, the replay tool and the tests feed the same values.
enum class CommandKind
{
    Other,     // any other event: it still replaces the last one the menu looks at
    Close,     // the window's close event
    KeyPress,
    LeftClick,
    FocusLost,  // the player switched to another window
    FocusGained
};

struct Command
{
    CommandKind kind = CommandKind::Other;
    sf::Keyboard::Key key = sf::Keyboard::Unknown; // KeyPress only
    sf::Vector2i position;                         // LeftClick only: window pixels at the press
    bool spaceHeld = false;                        // Space was down when the event was handled
};

// One polled event as a command; `spaceHeld` is Space's state read just for it.
Command commandFromEvent(const sf::Event& event, bool spaceHeld);

// The real-time state, read once per frame after the events. A key is read only
// while something waits for its release (GameApp::needsKeyState); else it reads false.
struct FrameInput
{
    sf::Vector2i mouse;         // window pixels
    bool musicKeyHeld = false;  // M
    bool soundKeyHeld = false;  // S
    bool pauseKeyHeld = false;  // P
    bool escapeKeyHeld = false; // Escape
    bool spaceKeyHeld = false;  // Space
    bool enterKeyHeld = false;  // Enter
};
