#include "app/Launch.hpp"

#include "app/DataFolder.hpp"
#include "app/Settings.hpp"
#include "hud/BestScore.hpp"
#include "platform/System.hpp"

#include <SFML/Graphics/Image.hpp>

extern const unsigned char windowIconPng[];
extern const std::size_t windowIconPngSize;

namespace
{
// A path as the player reads it, in UTF-8 whatever the system's own form.
std::string shown(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

bool refuse(const std::string& why)
{
    platform::reportFailure("glimmora-game: cannot start: " + why);
    return false;
}
} // namespace

bool prepareLaunch(PlayerFiles& files)
{
    std::error_code error;
    const DataSearch search = findDataFolder(std::filesystem::current_path(error), platform::executablePath());
    const std::optional<DataFolder>& data = search.found;
    if (!data)
    {
        std::string tried;
        for (const std::filesystem::path& folder : search.tried)
            tried += (tried.empty() ? "" : ", ") + shown(folder / "assets");
        return refuse("the game's data is in none of " + tried + "; start it from the game's folder, or reinstall it");
    }

    // The window library aborts the process when it cannot open the display: try it first
    std::string reason;
    if (!platform::openDisplay(reason))
        return refuse(reason);

    // Every asset path is relative to the data folder's root
    std::filesystem::current_path(data->root, error);
    if (error)
        return refuse("cannot enter " + shown(data->root) + ": " + error.message());
    files.bestScore = data->installed ? platform::playerScorePath() : std::filesystem::path(BestScorePath);
    files.settings = data->installed ? platform::playerSettingsPath() : std::filesystem::path(SettingsPath);
    return true;
}

void endDisplayCheck()
{
    platform::closeDisplay();
}

void setWindowIcon(sf::Window& window)
{
    sf::Image icon;
    if (icon.loadFromMemory(windowIconPng, windowIconPngSize))
        window.setIcon(icon.getSize().x, icon.getSize().y, icon.getPixelsPtr());
}
