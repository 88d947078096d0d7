// On Windows the desktop keeps every window's picture, and tells the display's rate itself.
#include "platform/WindowWatch.hpp"

#include <windows.h>

namespace platform
{
WindowWatch::WindowWatch(sf::WindowHandle) {}

WindowWatch::~WindowWatch() = default;

int WindowWatch::refreshRate() const
{
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    // 0 and 1 stand for the hardware's default rate
    if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1)
        return static_cast<int>(mode.dmDisplayFrequency);
    return 60;
}

bool WindowWatch::exposed()
{
    return false;
}
} // namespace platform
