#include "app/DataFolder.hpp"

#include "app/AssetCatalogue.hpp"

#include <algorithm>
#include <filesystem>

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

bool holdsGameData(const std::string& folder)
{
    // Most of the game's own files, not one that shares a common name (a web project's
    // background.png): a few missing or damaged files still leave the game to play on
    std::error_code error;
    const std::vector<std::string> files = gameDataFiles();
    const auto present = std::count_if(files.begin(), files.end(), [&](const std::string& file) {
        return fs::is_regular_file(fs::path(folder) / file, error);
    });
    return 2 * present > static_cast<long>(files.size());
}

DataSearch findDataFolder(const std::string& workingDir, const std::string& executable)
{
    DataSearch search{{workingDir}, std::nullopt};
    std::string installed;
    if (!executable.empty())
    {
        const fs::path binaryFolder = fs::path(executable).parent_path();
        installed = (binaryFolder / GLIMMORA_DATA_FROM_BINARY).lexically_normal().string();
        for (const std::string& folder : {installed, binaryFolder.parent_path().string()})
            if (std::find(search.tried.begin(), search.tried.end(), folder) == search.tried.end())
                search.tried.push_back(folder);
    }

    for (const std::string& folder : search.tried)
        if (holdsGameData(folder))
        {
            std::error_code error;
            search.found = DataFolder{folder, !installed.empty() && fs::equivalent(folder, installed, error)};
            break;
        }
    return search;
}
