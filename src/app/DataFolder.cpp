#include "app/DataFolder.hpp"

#include "app/AssetCatalogue.hpp"

#include <algorithm>
#include <filesystem>

#ifndef GLIMMORA_DATA_FROM_BINARY
#define GLIMMORA_DATA_FROM_BINARY "../share/games/glimmora-game"
#endif

namespace fs = std::filesystem;

bool holdsGameData(const std::string& folder)
{
    std::error_code error;
    for (const PictureInfo& picture : pictureCatalogue)
        if (fs::is_regular_file(fs::path(folder) / picture.path, error))
            return true;
    return false;
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
