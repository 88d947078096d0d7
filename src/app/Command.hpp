#pragma once

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <bitset>

// Input as data: each window event becomes one command, the real-time state is
// sampled once per frame. The game, the replay tool and the tests feed the same values.
enum class CommandKind
{
    Other,     // any other event: it still replaces the last one the menu looks at
    Close,     // the window's close event
    KeyPress,
    LeftClick,
    FocusLost,  // the window really lost the keyboard focus (not a passing grab by another program)
    FocusGained,
    Resized,    // the window's size changed: the picture and the hit areas follow it
    Back,       // back from a page (a gamepad's east button)
    PadButton,  // a gamepad's button went down or up
    PadMoved,   // a gamepad's axis moved
    PadConnected,
    PadDisconnected
};

// What a gamepad did, as the window library numbers it.
struct PadEvent
{
    unsigned pad = 0;                       // 0 to sf::Joystick::Count - 1
    unsigned button = 0;                    // PadButton
    bool down = false;                      // PadButton: pressed, else released
    sf::Joystick::Axis axis = sf::Joystick::X; // PadMoved
    float position = 0.f;                   // PadMoved: -100 to 100
};

struct Command
{
    CommandKind kind = CommandKind::Other;
    sf::Keyboard::Key key = sf::Keyboard::Unknown; // KeyPress only
    sf::Vector2i position{};                       // LeftClick: window pixels at the press; Resized: the new size
    bool spaceHeld = false;                        // Space was down when the event was handled
    PadEvent pad{};                                // the Pad kinds only
};

// One polled event as a command; `spaceHeld` is Space's state read just for it.
Command commandFromEvent(const sf::Event& event, bool spaceHeld);

// A set of keys, as the latches of keys that act once per press hold them.
using KeySet = std::bitset<sf::Keyboard::KeyCount>;

// Space and Enter, which continue, press the menu's focused button and leave a page: latched together, so
// that one let go while the other is held cannot act twice.
inline KeySet pressKeys()
{
    KeySet keys;
    keys.set(sf::Keyboard::Space);
    keys.set(sf::Keyboard::Enter);
    return keys;
}

// The real-time state, read once per frame after the events. A key is read only while its latch waits for
// its release, and it counts as released only when it was read and found up: a latch set after the reading
// (by a screen that became current later in the frame) stays set.
struct FrameInput
{
    sf::Vector2i mouse; // window pixels
    KeySet released;    // latched keys read and found up
};
