#include "platform/System.hpp"


#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include <pwd.h>
#include <unistd.h>

namespace
{
// $HOME, else the account's home folder.
const char* homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd* account = ::getpwuid(::getuid());
    return account ? account->pw_dir : nullptr;
}

volatile std::sig_atomic_t quitSignal = 0;
std::function<void()> keepRecordOnLoss;

// Xlib's own handler would exit through the libraries' clean-up, and this one must not return either.
int displayLost(Display*)
{
    if (keepRecordOnLoss)
        keepRecordOnLoss();
    platform::reportFailure("glimmora-game: the connection to the X display was lost");
    ::_exit(1);
}
} // namespace

namespace
{
// The connection stays open until the window has its own: closed at once, it made the start-up
// about 8 % slower (tools/bench, launch to first frame). The monitor query uses it too.
Display* checkedDisplay = nullptr;
} // namespace

namespace platform
{
std::filesystem::path executablePath()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

std::filesystem::path playerScorePath()
{
    return xdgFilePath(std::getenv("XDG_DATA_HOME"), homeFolder(), ".local/share", "highscore.txt");
}

std::filesystem::path playerSettingsPath()
{
    return xdgFilePath(std::getenv("XDG_CONFIG_HOME"), homeFolder(), ".config", "settings.txt");
}

std::string xdgFilePath(const char* xdgHome, const char* home, const char* fallback, const char* file)
{
    // A relative folder would move with the working directory
    const std::string folder = xdgHome && xdgHome[0] == '/' ? xdgHome
                               : home && home[0] == '/'      ? std::string(home) + "/" + fallback
                                                             : std::string();
    return folder.empty() ? folder : folder + "/glimmora-game/" + file;
}

bool openDisplay(std::string& reason)
{
    checkedDisplay = XOpenDisplay(nullptr);
    if (checkedDisplay)
        return true;
    const char* display = std::getenv("DISPLAY");
    if (display && *display)
        reason = std::string("the X display \"") + display +
                 "\" does not open; check that DISPLAY names a running X server you may use";
    else
        reason = "no X display, DISPLAY is not set; start it in a graphical session";
    return false;
}

void* displayConnection()
{
    return checkedDisplay;
}

void closeDisplay()
{
    if (checkedDisplay)
        XCloseDisplay(checkedDisplay);
    checkedDisplay = nullptr;
}

int dpadUpSign()
{
    // The kernel's hat axis counts up as negative
    return -1;
}

void installQuitHandlers()
{
    struct sigaction action{};
    action.sa_handler = [](int) { quitSignal = 1; };
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
    XSetIOErrorHandler(displayLost);
}

bool quitRequested()
{
    return quitSignal != 0;
}

void onDisplayLost(std::function<void()> keepRecord)
{
    keepRecordOnLoss = std::move(keepRecord);
}

void reportFailure(const std::string& message)
{
    std::cerr << message << std::endl;
}
} // namespace platform
