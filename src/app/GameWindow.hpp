#pragma once

#include "app/Assets.hpp"
#include "app/FrameLoop.hpp"
#include "platform/WindowWatch.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>

// The game's window as the frame loop's port: its events as commands, its keyboard and pointer, the scenes
// drawn into it, the real clock and the real sleep.
class GameWindow
{
public:
    GameWindow(sf::RenderWindow& window, PictureAssets& pictures, const DesignScale& scale);

    LoopPort port();
    // The display's refresh period, µs.
    Micros refreshPeriod() const;

private:
    bool poll(Command& command);
    // The picture fills the window as it is now, whatever size was asked for.
    void follow(sf::Vector2u size);

    sf::RenderWindow& m_window;
    PictureAssets& m_pictures;
    Renderer m_renderer;
    platform::WindowWatch m_watch;
    sf::Clock m_clock;    // the game's one real clock
    bool m_lost = false;  // resized since the last picture
};
