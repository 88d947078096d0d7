#include "app/AssetCatalogue.hpp"

const std::array<PictureInfo, PictureCount> pictureCatalogue = {{
    {"assets/start_page.png", {0.f, 0.f}, true},
    {"assets/menu_page.png", {0.f, 0.f}, true},
    {"assets/start_game_gray.png", {763.f, 455.f}, false},
    {"assets/start_game_orange.png", {763.f, 455.f}, false},
    {"assets/instructions_gary.png", {761.f, 638.f}, false},
    {"assets/instructions_orange.png", {761.f, 638.f}, false},
    {"assets/about_gray.png", {797.f, 822.f}, false},
    {"assets/about_orange.png", {797.f, 822.f}, false},
    {"assets/mquit.png", {916.f, 944.f}, false},
    {"assets/mquit_hover.png", {916.f, 944.f}, false},
    {"assets/instructions.png", {0.f, 0.f}, true},
    {"assets/about.png", {0.f, 0.f}, true},
    {"assets/background.png", {0.f, 0.f}, true},
    {"assets/TrashTube.png", {1773.f, 113.f}, false},
    {"assets/button_music_on.png", {1290.f, 20.f}, false},
    {"assets/button_music_off.png", {1290.f, 20.f}, false},
    {"assets/button_sound_on.png", {1410.f, 20.f}, false},
    {"assets/button_sound_off.png", {1410.f, 20.f}, false},
    {"assets/button_pause.png", {1530.f, 20.f}, false},
    {"assets/button_resume.png", {1530.f, 20.f}, false},
    {"assets/button_main_menu.png", {1650.f, 20.f}, false},
    {"assets/button_quit.png", {1770.f, 20.f}, false},
    {"assets/digit_colon.png", {100.f, 50.f}, false},
    {"assets/game_over.png", {0.f, 0.f}, true},
    {"assets/congratulations.png", {0.f, 0.f}, true},
    {"assets/GO1.png", {695.f, 571.f}, false},
    {"assets/GO2.png", {695.f, 571.f}, false},
    {"assets/GO3.png", {695.f, 571.f}, false},
    {"assets/GO4.png", {695.f, 571.f}, false},
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
