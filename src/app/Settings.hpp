#pragma once

#include "app/AssetCatalogue.hpp"

#include <filesystem>
#include <string>

// Where the settings live in a checkout, beside the best score, relative to the working directory.
constexpr const char* SettingsPath = "assets/settings.txt";

// What the player sets and finds again at the next start: music and sound on or off, the master volume.
struct Settings
{
    bool musicOn = true;
    bool soundOn = true;
    int masterLevel = DefaultMasterLevel; // 0 to MasterLevels

    bool operator==(const Settings&) const = default;
};

// A few lines of text, "music on", "sound off", "volume 8": each that reads is taken, anything else gives
// the setting's default, so a damaged, empty or foreign file is never a reason not to start.
Settings parseSettings(const std::string& text);
std::string formatSettings(const Settings& settings);

// The player's settings file. Written when a setting changes, in place and never waiting: while another copy
// of the game holds the file, the change waits for the next one, or for the exit. Without a path nothing is
// read or kept.
class SettingsFile
{
public:
    SettingsFile() = default;
    explicit SettingsFile(std::filesystem::path path) : m_path(std::move(path)) {}
    SettingsFile(SettingsFile&&) = default;
    SettingsFile& operator=(SettingsFile&&) = default;
    ~SettingsFile() { keep(m_wanted, true); }

    Settings load();
    // The settings as they stand now: written if they differ from what the file holds.
    void keep(const Settings& now) { keep(now, false); }

private:
    void keep(const Settings& now, bool closing);

    std::filesystem::path m_path;
    Settings m_kept;   // what the file holds
    Settings m_wanted; // what it should hold
};
