#pragma once

#include "game/Audio.hpp"
#include "game/GemCode.hpp"
#include "hud/DesignPoint.hpp"

#include "DesignLayout.hpp"

#include <array>

// Every picture the game loads, in load order; the position is the sprite's
// design-space corner, (0, 0) for full-screen pictures.
enum class Picture
{
    StartPage,
    MenuPage,
    StartGameButton,
    StartGameHover,
    InstructionsButton,
    InstructionsHover,
    AboutButton,
    AboutHover,
    QuitMenuButton,
    QuitMenuHover,
    InstructionsPage,
    AboutPage,
    Background,
    TrashTube,
    MusicOnButton,
    MusicOffButton,
    SoundOnButton,
    SoundOffButton,
    PauseButton,
    ResumeButton,
    MainMenuButton,
    QuitButton,
    DigitColon,
    GameOver,
    Congratulations,
    PanelBestAllLevels,
    PanelAllLevels,
    PanelBestLost,
    PanelLost,
    ColumnMarker,   // the selected column or the trash tube
    PausedOverlay,  // over the paused game
    BoardFullSign,  // over a board full to the top, while the game ends
    ThreadNotFull,  // a part-full thread cannot be thrown away
    Volume0,        // the master volume's indicator, levels 0 to 10
    Volume10 = Volume0 + 10,
    Count
};

// Menu buttons in click and drawing order: start game, instructions, about, quit.
constexpr std::array<Picture, 4> menuButtons = {Picture::StartGameButton, Picture::InstructionsButton,
                                                Picture::AboutButton, Picture::QuitMenuButton};
constexpr std::array<Picture, 4> menuHovers = {Picture::StartGameHover, Picture::InstructionsHover,
                                               Picture::AboutHover, Picture::QuitMenuHover};

constexpr std::size_t PictureCount = static_cast<std::size_t>(Picture::Count);

struct PictureInfo
{
    const char* path;     // relative to the working directory
    DesignPoint position; // design-space top-left corner
    bool fullScreen;      // authored at 1920 x 1080
};

extern const std::array<PictureInfo, PictureCount> pictureCatalogue;

inline const PictureInfo& pictureInfo(Picture picture)
{
    return pictureCatalogue[static_cast<std::size_t>(picture)];
}

// The master volume's level of a picture of the indicator, and back.
constexpr Picture volumePicture(int level) { return static_cast<Picture>(static_cast<int>(Picture::Volume0) + level); }

// Digit sets: prefix + digit + ".png".
constexpr const char* HudDigitPrefix = "assets/digit_";
constexpr const char* EndDigitPrefix = "assets/digit_b";

// Gem pictures by code; entry 0 is the empty thread segment. 60 x 60 each.
extern const std::array<const char*, GemCodeCount> gemPicturePaths;
constexpr unsigned GemPictureSize = static_cast<unsigned>(layout::Gem.width);

constexpr const char* CursorPath = "assets/cursor.png";

struct SoundInfo
{
    const char* path;
    float volume; // 0 to 100
};

// Effects indexed by Effect.
extern const std::array<SoundInfo, static_cast<std::size_t>(Effect::Count)> soundCatalogue;

constexpr const char* MusicPath = "assets/TribalJungle.ogg";
constexpr float MusicVolume = 2.f;

// Single digit sprites of the time, level and end-screen level displays.
constexpr std::array<DesignPoint, 4> timeDigitPositions = {
    {layout::TimeMinutesTens, layout::TimeMinutesUnits, layout::TimeSecondsTens, layout::TimeSecondsUnits}};
constexpr std::array<DesignPoint, 2> levelDigitPositions = {{layout::LevelTens, layout::LevelUnits}};
constexpr std::array<DesignPoint, 2> endLevelDigitPositions = {{layout::EndLevelTens, layout::EndLevelUnits}};
// The master volume: one gain over every sound, in levels of 3 dB; 0 is silent.
constexpr float MaxMasterGain = 10.5f;
constexpr int MasterLevels = 10;
constexpr int DefaultMasterLevel = 8;

// The gain of a master volume level: silent at 0, MaxMasterGain at the top, 3 dB a level between.
float masterGain(int level);
