#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The folder whose assets/ the game reads, and what kind of folder it is.
struct DataFolder
{
    std::filesystem::path root; // holds assets/; the game makes it its working directory
    bool installed = false;     // not a checkout: best scores go to each player's own folder
};

struct DataSearch
{
    std::vector<std::filesystem::path> tried; // every folder looked at, in order, each once
    std::optional<DataFolder> found;
};

// Every file of the game's data, relative to the data folder.
std::vector<std::string> gameDataFiles();

// A folder holds the game's data when its assets/ has most of the game's files; single missing
// files are left to the game, which plays on without them.
bool holdsGameData(const std::filesystem::path& folder);

// Looks for the game's data in the working directory (a checkout's root), beside the executable (an
// unpacked archive), in the installed data folder relative to the executable, and in the executable's
// parent folder (a checkout's build folder). The installed data folder and the executable's own folder
// count as installed under whatever name they are reached. An empty executable path leaves only the
// working directory.
DataSearch findDataFolder(const std::filesystem::path& workingDir, const std::filesystem::path& executable);
