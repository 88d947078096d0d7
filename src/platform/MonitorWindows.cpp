#include "platform/Monitor.hpp"

sf::Vector2u openOnOneMonitor(sf::RenderWindow& window, const sf::String& title)
{
    // On Windows the desktop mode already is the primary monitor's
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    window.create(desktop, title, sf::Style::Fullscreen, sf::ContextSettings());
    return {desktop.width, desktop.height};
}
