#include "app/DataFolder.hpp"

#include "app/AssetCatalogue.hpp"

#include <algorithm>
#include <filesystem>
#include <string_view>

#ifndef GLIMMORA_DATA_FROM_BINARY
#define GLIMMORA_DATA_FROM_BINARY "../share/games/glimmora-game"
#endif

namespace fs = std::filesystem;

std::vector<std::string> gameDataFiles()
{
    std::vector<std::string> files{MusicPath, CursorPath};
    for (const PictureInfo& picture : pictureCatalogue)
        files.emplace_back(picture.path);
    for (const char* gem : gemPicturePaths)
        files.emplace_back(gem);
    for (const SoundInfo& sound : soundCatalogue)
        files.emplace_back(sound.path);
    for (int digit = 0; digit < 10; ++digit)
        for (const char* prefix : {HudDigitPrefix, EndDigitPrefix})
            files.push_back(prefix + std::to_string(digit) + ".png");
    return files;
}

bool holdsGameData(const fs::path& folder)
{
    // Most of the game's own files, not one that shares a common name (a web project's
    // background.png): a few missing or damaged files still leave the game to play on
    std::error_code error;
    const std::vector<std::string> files = gameDataFiles();
    const auto present = std::count_if(files.begin(), files.end(), [&](const std::string& file) {
        return fs::is_regular_file(folder / file, error);
    });
    return 2 * present > static_cast<long>(files.size());
}

DataSearch findDataFolder(const fs::path& workingDir, const fs::path& executable)
{
    DataSearch search{{workingDir}, std::nullopt};
    std::vector<fs::path> installed; // an installed game's: its own folder, and the shared data folder
    if (!executable.empty())
    {
        const fs::path binaryFolder = executable.parent_path();
        installed.push_back(binaryFolder);
        if (!std::string_view(GLIMMORA_DATA_FROM_BINARY).empty())
            installed.push_back((binaryFolder / GLIMMORA_DATA_FROM_BINARY).lexically_normal());
        std::vector<fs::path> places = installed;
        places.push_back(binaryFolder.parent_path()); // a checkout's, above its build folder
        for (const fs::path& folder : places)
            if (std::find(search.tried.begin(), search.tried.end(), folder) == search.tried.end())
                search.tried.push_back(folder);
    }

    for (const fs::path& folder : search.tried)
        if (holdsGameData(folder))
        {
            std::error_code error;
            const bool isInstalled = std::any_of(installed.begin(), installed.end(),
                                                 [&](const fs::path& place) { return fs::equivalent(folder, place, error); });
            search.found = DataFolder{folder, isInstalled};
            break;
        }
    return search;
}
