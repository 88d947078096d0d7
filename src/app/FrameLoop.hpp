#pragma once

#include "app/GameApp.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>

struct PictureAssets;

// The phases of one frame of the window's loop, shared by the game and its benchmark: events
// into commands, the frame's input, the tick, the cursor, then clear, draw and display.
class FrameLoop
{
public:
    FrameLoop(sf::RenderWindow& window, PictureAssets& pictures) : m_window(window), m_pictures(pictures) {}

    // The game's one real clock.
    Micros now() const { return static_cast<Micros>(m_clock.getElapsedTime().asMicroseconds()); }

    // False when the game froze and the frame ended without drawing.
    bool frame(GameApp& game);

private:
    void follow(sf::Vector2u size);

    sf::RenderWindow& m_window;
    PictureAssets& m_pictures;
    sf::Clock m_clock;
    bool m_cursorShown = false; // hidden at start-up
};
