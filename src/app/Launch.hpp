#pragma once

#include <SFML/Window/Window.hpp>

#include <filesystem>

// The files of the player's own: the best score and the settings.
struct PlayerFiles
{
    std::filesystem::path bestScore;
    std::filesystem::path settings;
};

// Before the window: finds the game's data and makes its folder the working directory, checks that
// the display opens, and gives the player's files (the checkout's own, or the player's for an
// installed game). False after telling the player, in one line, why the game cannot start.
bool prepareLaunch(PlayerFiles& files);

// The window is open: the display check's own connection goes.
void endDisplayCheck();

// The game's icon, built into the executable, for the window's title bar and task list.
void setWindowIcon(sf::Window& window);
