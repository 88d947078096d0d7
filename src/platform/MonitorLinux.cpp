#include "platform/Monitor.hpp"
#include "platform/System.hpp"

namespace
{
// Named before the X headers, whose None macro hides the library's own.
constexpr sf::Uint32 FramelessStyle = sf::Style::None;
} // namespace

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <optional>

namespace
{
// A monitor's rectangle on the X screen, and its place in the server's list: window managers
// number monitors in that order.
struct MonitorArea
{
    sf::Vector2i position;
    sf::Vector2u size;
    long index = 0;
};

bool contains(const XRRMonitorInfo& monitor, int x, int y)
{
    return x >= monitor.x && x < monitor.x + monitor.width && y >= monitor.y && y < monitor.y + monitor.height;
}

// None on one monitor, or where the server predates RandR 1.5 (asking it then would be a fatal error).
std::optional<MonitorArea> chooseMonitor(Display* display)
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
        major < 1 || (major == 1 && minor < 5))
        return std::nullopt;

    const Window root = DefaultRootWindow(display);
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count);
    if (!monitors || count < 2)
    {
        if (monitors)
            XRRFreeMonitors(monitors);
        return std::nullopt;
    }

    Window rootHit = 0, childHit = 0;
    int pointerX = 0, pointerY = 0, windowX = 0, windowY = 0;
    unsigned int buttons = 0;
    const bool pointerHere =
        XQueryPointer(display, root, &rootHit, &childHit, &pointerX, &pointerY, &windowX, &windowY, &buttons);
    int primary = -1, underPointer = -1;
    for (int i = 0; i < count; ++i)
    {
        if (monitors[i].primary && primary < 0)
            primary = i;
        if (pointerHere && underPointer < 0 && contains(monitors[i], pointerX, pointerY))
            underPointer = i;
    }
    const int chosen = primary >= 0 ? primary : underPointer >= 0 ? underPointer : 0; // else the first
    const XRRMonitorInfo& monitor = monitors[chosen];
    const MonitorArea area{{monitor.x, monitor.y},
                           {static_cast<unsigned int>(monitor.width), static_cast<unsigned int>(monitor.height)},
                           chosen};
    XRRFreeMonitors(monitors);
    return area;
}

// A window manager is asked to show the window full-screen, over its panels.
void askFullScreen(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1; // add
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
    event.xclient.data.l[3] = 1; // a normal application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

// A window manager that keeps full-screen windows on a monitor of its own choosing is told which one.
void keepOnMonitor(Display* display, Window window, long index)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_FULLSCREEN_MONITORS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = event.xclient.data.l[1] = event.xclient.data.l[2] = event.xclient.data.l[3] = index;
    event.xclient.data.l[4] = 1; // a normal application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}
} // namespace

sf::Vector2u openOnOneMonitor(sf::RenderWindow& window, const sf::String& title)
{
    // Asked before the window exists: the full-screen window confines the pointer to itself.
    Display* const checked = static_cast<Display*>(platform::displayConnection());
    Display* display = checked ? checked : XOpenDisplay(nullptr);
    int eventBase = 0, errorBase = 0;
    if (display && !XRRQueryExtension(display, &eventBase, &errorBase))
    {
        // The window library's full-screen mode needs RandR and crashes without it: a plain window
        // covering the screen instead
        const int screen = DefaultScreen(display);
        const sf::Vector2u size(static_cast<unsigned>(DisplayWidth(display, screen)),
                                static_cast<unsigned>(DisplayHeight(display, screen)));
        window.create(sf::VideoMode(size.x, size.y), title, FramelessStyle, sf::ContextSettings());
        if (window.isOpen())
        {
            window.setPosition({0, 0});
            askFullScreen(display, window.getSystemHandle());
        }
        if (display != checked)
            XCloseDisplay(display);
        return size;
    }
    const std::optional<MonitorArea> monitor = display ? chooseMonitor(display) : std::nullopt;

    // The desktop mode needs no video mode switch; the window library would switch the primary output
    // to any other size, whichever monitor the window is meant for.
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    window.create(desktop, title, sf::Style::Fullscreen, sf::ContextSettings());
    sf::Vector2u size(desktop.width, desktop.height);
    if (monitor)
    {
        // Then shrunk onto the monitor, with a view of its size: the first one spans the screen. A window
        // made at the monitor's size in a style that is not full-screen would be placed off this wide
        // screen by the library, which then waits forever for it to show.
        size = monitor->size;
        window.setSize(size);
        window.setPosition(monitor->position);
        window.setView(sf::View(sf::FloatRect(0.f, 0.f, static_cast<float>(size.x), static_cast<float>(size.y))));
        keepOnMonitor(display, window.getSystemHandle(), monitor->index);
    }
    if (display && display != checked)
        XCloseDisplay(display);
    return size;
}
