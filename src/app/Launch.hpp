#pragma once

#include <SFML/Window/Window.hpp>

#include <filesystem>

// Before the window: finds the game's data and makes its folder the working directory, checks that
// the display opens, and gives the best score's path (the checkout's file, or the player's own for
// an installed game). False after telling the player, in one line, why the game cannot start.
bool prepareLaunch(std::filesystem::path& highScorePath);

// The window is open: the display check's own connection goes.
void endDisplayCheck();

// The game's icon, built into the executable, for the window's title bar and task list.
void setWindowIcon(sf::Window& window);
