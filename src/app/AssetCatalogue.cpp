#include "app/AssetCatalogue.hpp"

#include <cassert>
#include <cmath>

const std::array<PictureInfo, PictureCount> pictureCatalogue = {{
    {"assets/start_page.png", layout::Screen.corner(), true},
    {"assets/menu_page.png", layout::Screen.corner(), true},
    {"assets/start_game_gray.png", layout::StartGameButton.corner(), false},
    {"assets/start_game_orange.png", layout::StartGameButton.corner(), false},
    {"assets/instructions_gary.png", layout::InstructionsButton.corner(), false},
    {"assets/instructions_orange.png", layout::InstructionsButton.corner(), false},
    {"assets/about_gray.png", layout::AboutButton.corner(), false},
    {"assets/about_orange.png", layout::AboutButton.corner(), false},
    {"assets/mquit.png", layout::QuitMenuButton.corner(), false},
    {"assets/mquit_hover.png", layout::QuitMenuButton.corner(), false},
    {"assets/instructions.png", layout::Screen.corner(), true},
    {"assets/about.png", layout::Screen.corner(), true},
    {"assets/background.png", layout::Screen.corner(), true},
    {"assets/TrashTube.png", layout::TrashTube.corner(), false},
    {"assets/button_music_on.png", layout::MusicButton.corner(), false},
    {"assets/button_music_off.png", layout::MusicButton.corner(), false},
    {"assets/button_sound_on.png", layout::SoundButton.corner(), false},
    {"assets/button_sound_off.png", layout::SoundButton.corner(), false},
    {"assets/button_pause.png", layout::PauseButton.corner(), false},
    {"assets/button_resume.png", layout::PauseButton.corner(), false},
    {"assets/button_main_menu.png", layout::MainMenuButton.corner(), false},
    {"assets/button_quit.png", layout::QuitButton.corner(), false},
    {"assets/digit_colon.png", layout::TimeColon, false},
    {"assets/game_over.png", layout::Screen.corner(), true},
    {"assets/congratulations.png", layout::Screen.corner(), true},
    {"assets/GO1.png", layout::ResultPanel.corner(), false},
    {"assets/GO2.png", layout::ResultPanel.corner(), false},
    {"assets/GO3.png", layout::ResultPanel.corner(), false},
    {"assets/GO4.png", layout::ResultPanel.corner(), false},
    {"assets/column_marker.png", layout::ColumnMarker.corner(), false},
    {"assets/paused.png", layout::PausedOverlay.corner(), true},
    {"assets/board_full.png", layout::BoardFullSign.corner(), false},
    {"assets/thread_not_full.png", layout::ThreadFullHint.corner(), false},
    {"assets/volume_0.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_1.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_2.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_3.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_4.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_5.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_6.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_7.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_8.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_9.png", layout::VolumeIndicator.corner(), false},
    {"assets/volume_10.png", layout::VolumeIndicator.corner(), false},
}};

const std::array<const char*, GemCodeCount> gemPicturePaths = {
    "assets/thread_segment.png", "assets/gem_90.png", "assets/gem_80.png", "assets/gem_70.png",
    "assets/gem_60.png",         "assets/gem_50.png", "assets/gem_40.png", "assets/gem_30.png",
    "assets/gem_20.png",         "assets/gem_diamond.png", "assets/gem_trash.png"};

// The landing thud keeps the library's default volume.
const std::array<SoundInfo, static_cast<std::size_t>(Effect::Count)> soundCatalogue = {{
    {"assets/gem_fall.mp3", 100.f},
    {"assets/pattern_shift.mp3", 20.f},
    {"assets/applause.mp3", 20.f},
    {"assets/defeat.mp3", 20.f},
    {"assets/alert.mp3", 50.f},
    {"assets/trash_drop.mp3", 20.f},
    {"assets/level_up.mp3", 10.f},
    {"assets/level11_up.mp3", 10.f},
}};

float masterGain(int level)
{
    assert(level >= 0 && level <= MasterLevels);
    return level == 0 ? 0.f : MaxMasterGain * std::pow(10.f, static_cast<float>(level - MasterLevels) * 3.f / 20.f);
}
