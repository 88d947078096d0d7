#pragma once

#include <filesystem>
#include <functional>
#include <string>

// What the game asks of the system it runs on. One small file answers for Linux (SystemLinux.cpp)
// and one for Windows (SystemWindows.cpp); the rest of the game is the same source everywhere.
namespace platform
{
// The running program's own file; empty where the system does not tell.
std::filesystem::path executablePath();

// Where an installed game keeps this player's best score: in the player's own data folder
// ($XDG_DATA_HOME, else ~/.local/share, on Linux; %APPDATA% on Windows). Empty when there is none.
std::filesystem::path playerScorePath();
// Where every copy of the game keeps this player's settings: in the player's own configuration folder
// ($XDG_CONFIG_HOME, else ~/.config, on Linux; %APPDATA% on Windows). Empty when there is none.
std::filesystem::path playerSettingsPath();

#ifndef _WIN32
// A file of the game's own in an XDG base folder: under the variable's folder, else under the home's
// fallback (".local/share", ".config"); only absolute folders count. Empty without one.
std::string xdgFilePath(const char* xdgHome, const char* home, const char* fallback, const char* file);
#endif

// Opens the display the window will use, before the window: the window library aborts the process
// without one. False, with the reason in words for the player, when it does not open.
bool openDisplay(std::string& reason);
// The window stands: the check's own connection goes.
void closeDisplay();
// The check's own connection while it is open (an X Display on Linux), for the monitor query before the
// window; null where the system has none.
void* displayConnection();

// Which way a gamepad's D-pad reports up on its vertical axis: +1 (positive) or -1, as the system's
// drivers give it through the window library.
int dpadUpSign();

// From the start of main: SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C) ask the game
// to quit as closing its window does, and a lost display (the X server gone, the window killed) ends it
// as onDisplayLost says. Windows asks a program to quit through its window: nothing to install there.
void installQuitHandlers();
// Whether one of those signals came; the frame loop asks after every frame.
bool quitRequested();
// With the display lost, `keepRecord` runs, one line goes to standard error and the game exits with
// status 1 at once: the libraries' own clean-up without their display could abort.
void onDisplayLost(std::function<void()> keepRecord);

// Why the game cannot start, where the player sees it: on standard error, or in a message box
// when the game was started without anywhere to print to (from the Windows desktop).
void reportFailure(const std::string& message);
} // namespace platform
