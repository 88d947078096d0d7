#pragma once

#include <SFML/Graphics/RenderWindow.hpp>

// Opens the game's full-screen window and gives the size that the design is stretched to. Where the
// display spans several monitors, the window covers one of them: the primary one, else the one under
// the mouse pointer, else the first. Otherwise, and on a system where the desktop mode already is one
// monitor's, it is the desktop mode in the full-screen style. On an X server without RandR, where the
// window library cannot make a full-screen window, it is a plain window covering the screen. The window
// is not open when none could be made.
sf::Vector2u openOnOneMonitor(sf::RenderWindow& window, const sf::String& title);
