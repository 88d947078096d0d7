#include "platform/System.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

namespace
{
std::wstring wide(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}
} // namespace

namespace platform
{
std::filesystem::path executablePath()
{
    // Long paths are allowed: the folder may have been unpacked anywhere
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    return path;
}

namespace
{
// The roaming application data: each player's own, and written by the game only
std::filesystem::path inAppData(const wchar_t* file)
{
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || !*appData)
        return {};
    return std::filesystem::path(appData) / L"Glimmora Game" / file;
}
} // namespace

std::filesystem::path playerScorePath()
{
    return inAppData(L"highscore.txt");
}

std::filesystem::path playerSettingsPath()
{
    return inAppData(L"settings.txt");
}

bool openDisplay(std::string&)
{
    return true; // a Windows session always has its desktop
}

void closeDisplay()
{
}

void* displayConnection()
{
    return nullptr;
}

int dpadUpSign()
{
    // Windows gives the hat as an angle, up at 0, which the window library turns into a positive y
    return 1;
}

void installQuitHandlers()
{
}

bool quitRequested()
{
    return false;
}

void onDisplayLost(std::function<void()>)
{
}

void reportFailure(const std::string& message)
{
    // Started from a console or with its output taken, the line goes there; from the desktop, a
    // GUI program has nowhere to print, so the player is shown a box
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error && error != INVALID_HANDLE_VALUE)
    {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
        return;
    }
    MessageBoxW(nullptr, wide(message).c_str(), L"Glimmora Game", MB_OK | MB_ICONERROR);
}
} // namespace platform
