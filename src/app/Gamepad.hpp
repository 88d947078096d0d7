#pragma once

#include "app/Command.hpp"
#include "game/Timer.hpp"

#include <array>
#include <vector>

// An Xbox-style pad's buttons as Linux's and Windows' drivers number them.
namespace pad
{
constexpr unsigned South = 0;         // A
constexpr unsigned East = 1;          // B
constexpr unsigned LeftShoulder = 4;  // LB
constexpr unsigned RightShoulder = 5; // RB
constexpr unsigned Select = 6;        // Back, View
constexpr unsigned Start = 7;         // Start, Menu
} // namespace pad

// Gamepads as the keys they stand for, so every screen answers them as it answers the keyboard: A as Space
// (continue, drop, press) and Enter, Start as P, Back as B, B as back from a page, the shoulders as the volume
// keys; the D-pad and the left stick as the arrow keys, repeating while held as a key's auto-repeat does.
// Any number of pads at once; each is let go when it goes away or the window loses the focus.
class Gamepad
{
public:
    // The commands a pad's command stands for, in order; nothing while the window is without the focus.
    void translate(const Command& command, Micros now, std::vector<Command>& out);
    // The repeats due by `now` of directions and buttons held down.
    void repeat(Micros now, std::vector<Command>& out);
    // When the next repeat is due; Never while nothing is held.
    Micros due() const;
    // A key is held down on some pad: a latch waits for it, and Space held drops gems.
    bool holds(sf::Keyboard::Key key) const;

    void focus(bool focused);

    static constexpr float RepeatDelaySeconds = 0.4f;     // from a press to its first repeat
    static constexpr float RepeatIntervalSeconds = 0.08f; // between repeats, above the arrows' 0.03 s limit

private:
    // One held key of one pad, and when it repeats next.
    struct Held
    {
        sf::Keyboard::Key key = sf::Keyboard::Unknown; // Unknown: nothing held
        bool repeats = false;
        Timer clock;        // since the press or the last repeat
        bool first = true;  // the first repeat waits longer
    };
    // One pad: its buttons, and each axis of its D-pad and stick as -1, 0 or 1.
    struct Pad
    {
        std::array<Held, sf::Joystick::ButtonCount> buttons{};
        std::array<int, 4> direction{}; // D-pad x, y; stick x, y
        Held horizontal, vertical;      // the arrows the two axes hold
    };

    void press(Held& held, sf::Keyboard::Key key, bool repeats, Micros now, std::vector<Command>& out);
    void moveAxis(Pad& pad, int index, int direction, Micros now, std::vector<Command>& out);
    void releaseAll();

    std::array<Pad, sf::Joystick::Count> m_pads{};
    bool m_focused = true;
};
