#pragma once

#include <optional>
#include <string>
#include <vector>

// The folder whose assets/ the game reads, and what kind of folder it is.
struct DataFolder
{
    std::string root;       // holds assets/; the game makes it its working directory
    bool installed = false; // the installed data folder, not a checkout: best scores go to each player's home
};

struct DataSearch
{
    std::vector<std::string> tried; // every folder looked at, in order, each once
    std::optional<DataFolder> found;
};

// Every file of the game's data, relative to the data folder.
std::vector<std::string> gameDataFiles();

// A folder holds the game's data when its assets/ has most of the game's files; single missing
// files are left to the game, which plays on without them.
bool holdsGameData(const std::string& folder);

// Looks for the game's data in the working directory (a checkout's root), in the installed data
// folder relative to the executable, and in the executable's parent folder (a checkout's build
// folder). The installed data folder counts as installed under whatever name it is reached. An
// empty executable path leaves only the working directory.
DataSearch findDataFolder(const std::string& workingDir, const std::string& executable);
