#include "app/Launch.hpp"

#include "app/DataFolder.hpp"
#include "hud/HighScore.hpp"

#include <SFML/Graphics/Image.hpp>

#include <X11/Xlib.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include <pwd.h>
#include <unistd.h>

extern const unsigned char windowIconPng[];
extern const std::size_t windowIconPngSize;

namespace
{
std::string executablePath()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

// $HOME, else the account's home folder.
const char* homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd* account = ::getpwuid(::getuid());
    return account ? account->pw_dir : nullptr;
}

// The window library aborts the process when it cannot open the display: try it first. The
// connection stays open until the window has its own: closed at once, it made the start-up
// about 8 % slower (tools/bench, launch to first frame).
Display* checkedDisplay = nullptr;

bool displayOpens()
{
    checkedDisplay = XOpenDisplay(nullptr);
    return checkedDisplay != nullptr;
}
} // namespace

bool prepareLaunch(std::string& highScorePath)
{
    std::error_code error;
    const DataSearch search = findDataFolder(std::filesystem::current_path(error).string(), executablePath());
    const std::optional<DataFolder>& data = search.found;
    if (!data)
    {
        std::string tried;
        for (const std::string& folder : search.tried)
            tried += (tried.empty() ? "" : ", ") + folder + "/assets";
        std::cerr << "glimmora-game: cannot start: the game's data is in none of " << tried
                  << "; start it from the game's folder, or reinstall it" << std::endl;
        return false;
    }

    const char* display = std::getenv("DISPLAY");
    if (!displayOpens())
    {
        if (display && *display)
            std::cerr << "glimmora-game: cannot start: the X display \"" << display
                      << "\" does not open; check that DISPLAY names a running X server you may use" << std::endl;
        else
            std::cerr << "glimmora-game: cannot start: no X display, DISPLAY is not set; start it in a "
                         "graphical session" << std::endl;
        return false;
    }

    // Every asset path is relative to the data folder's root
    std::filesystem::current_path(data->root, error);
    if (error)
    {
        std::cerr << "glimmora-game: cannot start: cannot enter " << data->root << ": " << error.message() << std::endl;
        return false;
    }
    highScorePath = data->installed ? playerHighScorePath(std::getenv("XDG_DATA_HOME"), homeFolder()) : HighScorePath;
    return true;
}

void endDisplayCheck()
{
    if (checkedDisplay)
        XCloseDisplay(checkedDisplay);
    checkedDisplay = nullptr;
}

void setWindowIcon(sf::Window& window)
{
    sf::Image icon;
    if (icon.loadFromMemory(windowIconPng, windowIconPngSize))
        window.setIcon(icon.getSize().x, icon.getSize().y, icon.getPixelsPtr());
}
