#include "app/Gamepad.hpp"

#include "platform/System.hpp"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float DpadThreshold = 50.f;   // of 100: a D-pad reports 0 or 100
constexpr float StickPressed = 50.f;    // the stick counts as pushed past this
constexpr float StickReleased = 30.f;   // and let go below this, so that it does not flicker

// A button's key, and whether it repeats while held as the key's auto-repeat would.
struct ButtonKey
{
    sf::Keyboard::Key key;
    bool repeats;
};
ButtonKey keyOf(unsigned button)
{
    switch (button)
    {
        case pad::South: return {sf::Keyboard::Space, true}; // held, it drops gem after gem
        case pad::Start: return {sf::Keyboard::P, false};
        case pad::Select: return {sf::Keyboard::B, false};
        case pad::LeftShoulder: return {sf::Keyboard::Hyphen, false};
        case pad::RightShoulder: return {sf::Keyboard::Equal, false};
        default: return {sf::Keyboard::Unknown, false};
    }
}

Command keyPress(sf::Keyboard::Key key)
{
    Command command;
    command.kind = CommandKind::KeyPress;
    command.key = key;
    return command;
}
} // namespace

void Gamepad::press(Held& held, sf::Keyboard::Key key, bool repeats, Micros now, std::vector<Command>& out)
{
    held = {key, repeats, {}, true};
    held.clock.restart(now);
    out.push_back(keyPress(key));
}

void Gamepad::moveAxis(Pad& p, int index, int direction, Micros now, std::vector<Command>& out)
{
    p.direction[static_cast<std::size_t>(index)] = direction;
    // The D-pad wins over the stick; each pair gives one arrow
    const bool across = index % 2 == 0;
    const int dpad = p.direction[across ? 0 : 1], stick = p.direction[across ? 2 : 3];
    const int toward = dpad != 0 ? dpad : stick;
    const sf::Keyboard::Key key = toward == 0 ? sf::Keyboard::Unknown
                                  : across    ? (toward < 0 ? sf::Keyboard::Left : sf::Keyboard::Right)
                                              : (toward < 0 ? sf::Keyboard::Up : sf::Keyboard::Down);
    Held& held = across ? p.horizontal : p.vertical;
    if (key == held.key)
        return;
    held = {};
    if (key != sf::Keyboard::Unknown)
        press(held, key, true, now, out);
}

void Gamepad::translate(const Command& command, Micros now, std::vector<Command>& out)
{
    const PadEvent& event = command.pad;
    if (event.pad >= m_pads.size())
        return;
    Pad& p = m_pads[event.pad];
    if (command.kind == CommandKind::PadDisconnected)
        p = {};
    if (!m_focused)
        return;

    if (command.kind == CommandKind::PadButton && event.button < p.buttons.size())
    {
        Held& held = p.buttons[event.button];
        if (!event.down)
            held = {};
        else if (event.button == pad::East)
            out.push_back(Command{CommandKind::Back});
        else if (const ButtonKey button = keyOf(event.button); button.key != sf::Keyboard::Unknown)
            press(held, button.key, button.repeats, now, out);
    }
    else if (command.kind == CommandKind::PadMoved)
    {
        const float position = event.position;
        switch (event.axis)
        {
            case sf::Joystick::PovX:
                moveAxis(p, 0, position > DpadThreshold ? 1 : position < -DpadThreshold ? -1 : 0, now, out);
                break;
            case sf::Joystick::PovY:
            {
                // The systems' drivers disagree on which way the D-pad's up is
                const float down = -position * static_cast<float>(platform::dpadUpSign());
                moveAxis(p, 1, down > DpadThreshold ? 1 : down < -DpadThreshold ? -1 : 0, now, out);
                break;
            }
            case sf::Joystick::X:
            case sf::Joystick::Y:
            {
                const int index = event.axis == sf::Joystick::X ? 2 : 3;
                const int was = p.direction[static_cast<std::size_t>(index)];
                const float magnitude = std::abs(position);
                const int toward = position < 0.f ? -1 : 1;
                const int pushed = magnitude > StickPressed ? toward : magnitude < StickReleased ? 0 : was;
                moveAxis(p, index, pushed, now, out);
                break;
            }
            default: break;
        }
    }
}

void Gamepad::repeat(Micros now, std::vector<Command>& out)
{
    for (Pad& p : m_pads)
    {
        const auto step = [&](Held& held) {
            if (held.key == sf::Keyboard::Unknown || !held.repeats)
                return;
            if (held.clock.seconds(now) < (held.first ? RepeatDelaySeconds : RepeatIntervalSeconds))
                return;
            held.clock.restart(now);
            held.first = false;
            out.push_back(keyPress(held.key));
        };
        std::for_each(p.buttons.begin(), p.buttons.end(), step);
        step(p.horizontal);
        step(p.vertical);
    }
}

Micros Gamepad::due() const
{
    Micros due = Never;
    for (const Pad& p : m_pads)
    {
        const auto next = [&](const Held& held) {
            if (held.key != sf::Keyboard::Unknown && held.repeats)
                due = std::min(due, held.clock.reaches(held.first ? RepeatDelaySeconds : RepeatIntervalSeconds));
        };
        std::for_each(p.buttons.begin(), p.buttons.end(), next);
        next(p.horizontal);
        next(p.vertical);
    }
    return due;
}

bool Gamepad::holds(sf::Keyboard::Key key) const
{
    for (const Pad& p : m_pads)
    {
        if (p.horizontal.key == key || p.vertical.key == key)
            return true;
        for (const Held& held : p.buttons)
            if (held.key == key)
                return true;
    }
    return false;
}

void Gamepad::focus(bool focused)
{
    // Without the focus a pad's buttons held before count no more: their releases would be lost
    m_focused = focused;
    if (!focused)
        releaseAll();
}

void Gamepad::releaseAll()
{
    for (Pad& p : m_pads)
        p = {};
}
