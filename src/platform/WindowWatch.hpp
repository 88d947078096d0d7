#pragma once

#include <SFML/Window/WindowHandle.hpp>

// What the frame loop asks of the system about the game's window, beyond what the window library tells.
namespace platform
{
class WindowWatch
{
public:
    explicit WindowWatch(sf::WindowHandle window);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    // The display's refresh rate in hertz, where the system tells it; else 60.
    int refreshRate() const;

    // The window's picture was lost since the last call (uncovered on a display that keeps no copy of it)
    // and must be drawn again.
    bool exposed();

private:
    void* m_display = nullptr; // the system's own connection, where it needs one
    unsigned long m_window = 0;
};
} // namespace platform
