// The window seen from a connection of its own: X tells each client only the events it asked for, and the
// window library asks for no exposures.
#include "platform/WindowWatch.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace platform
{
WindowWatch::WindowWatch(sf::WindowHandle window) : m_window(window)
{
    Display* display = XOpenDisplay(nullptr);
    m_display = display;
    if (!display)
        return;
    XSelectInput(display, window, ExposureMask);
    XFlush(display);
}

WindowWatch::~WindowWatch()
{
    if (m_display)
        XCloseDisplay(static_cast<Display*>(m_display));
}

int WindowWatch::refreshRate() const
{
    constexpr int Unknown = 60;
    Display* display = static_cast<Display*>(m_display);
    int eventBase = 0, errorBase = 0;
    if (!display || !XRRQueryExtension(display, &eventBase, &errorBase))
        return Unknown;
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, DefaultRootWindow(display));
    if (!config)
        return Unknown;
    const short rate = XRRConfigCurrentRate(config);
    XRRFreeScreenConfigInfo(config);
    return rate > 0 ? rate : Unknown;
}

bool WindowWatch::exposed()
{
    Display* display = static_cast<Display*>(m_display);
    bool lost = false;
    while (display && XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        lost = lost || event.type == Expose;
    }
    return lost;
}
} // namespace platform
