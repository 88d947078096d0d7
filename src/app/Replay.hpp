#pragma once

#include "app/GameApp.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

// A recorded run applied headless to the real app layer: the same commands and
// frame input the window would give, with a seeded generator and a manual clock.
// A script is text, one step a line; `#` starts a comment:
//   seed N               the generator's seed (first, before any input; default 1)
//   screen W H           the desktop size in pixels (default 1920 1080)
//   frame SECONDS [N]    N frames (default 1), each SECONDS after the last
//   key NAME             a key press: Space Enter Escape B M S P Left Right Up Down
//   click X Y            a left click at window pixels X, Y
//   mouse X Y            the mouse moves there
//   focus lost|gained    the window loses or regains the keyboard focus
//   hold NAME on|off     Space, Enter, Escape, M, S or P held down or released
// Pictures are read from assets/ for the buttons' sizes only; no window opens.
class Replay
{
public:
    // One line of a script; false, with `error` set, when it cannot be read.
    bool apply(const std::string& line, std::string& error);

    // The run so far: screen, clock and score, then the board, thread and pattern.
    std::string dump() const;

    // Started on the first line that needs it.
    GameApp& app();

private:
    std::uint32_t m_seed = 1;
    unsigned m_width = 1920, m_height = 1080;
    std::unique_ptr<RandomGenerator> m_generator;
    std::unique_ptr<GameApp> m_app;
    Micros m_now = 0;
    sf::Vector2i m_mouse;                // window pixels
    std::set<sf::Keyboard::Key> m_held; // keys held down now
};

// Key names of a script, and back; Unknown for a name the game does not use.
sf::Keyboard::Key replayKey(const std::string& name);
