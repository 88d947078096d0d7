// The bare reference: plain SFML doing what the game's start-up and playing screen need and
// nothing else. "startup": load the same files, show the first frame. "frame": draw the busy
// playing screen, the same pictures at the same places, as fast as it goes.
//   bare_bench startup <launch time, as bash's EPOCHREALTIME>
//   bare_bench frame [batches of 200 frames] [smooth]

#include "BenchCommon.hpp"

#include "app/Mp3Reader.hpp"

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>

#include <array>
#include <cstring>
#include <map>
#include <memory>

namespace
{
// Every picture the game loads, in its load order; the cursor image comes after the pages.
const char* const pictureNames[] = {
    "start_page", "menu_page", "start_game_gray", "start_game_orange", "instructions_gary",
    "instructions_orange", "about_gray", "about_orange", "mquit", "mquit_hover", "instructions", "about",
    "background", "TrashTube", "button_music_on", "button_music_off", "button_sound_on", "button_sound_off",
    "button_pause", "button_resume", "button_main_menu", "button_quit", "digit_colon", "game_over",
    "congratulations", "GO1", "GO2", "GO3", "GO4", "digit_0", "digit_1", "digit_2", "digit_3", "digit_4",
    "digit_5", "digit_6", "digit_7", "digit_8", "digit_9", "digit_b0", "digit_b1", "digit_b2", "digit_b3",
    "digit_b4", "digit_b5", "digit_b6", "digit_b7", "digit_b8", "digit_b9"};
const char* const gemNames[] = {"thread_segment", "gem_90", "gem_80", "gem_70", "gem_60", "gem_50",
                                "gem_40", "gem_30", "gem_20", "gem_diamond", "gem_trash"};
const std::pair<const char*, float> soundFiles[] = {
    {"gem_fall", 100.f}, {"pattern_shift", 20.f}, {"applause", 20.f}, {"defeat", 20.f},
    {"alert", 50.f},     {"trash_drop", 20.f},    {"level_up", 10.f}, {"level11_up", 10.f}};

std::string assetPath(const char* name, const char* extension)
{
    return std::string("assets/") + name + extension;
}

struct Loaded
{
    std::map<std::string, sf::Texture> textures;
    std::array<sf::Texture, 11> gems;
    std::array<sf::SoundBuffer, 8> buffers;
    std::array<sf::Sound, 8> sounds;
    sf::Music music;
};

void loadAll(Loaded& loaded, sf::RenderWindow& window, sf::Image& cursorImage, sf::Cursor& cursor)
{
    for (const char* name : pictureNames)
        loaded.textures[name].loadFromFile(assetPath(name, ".png"));
    if (cursorImage.loadFromFile("assets/cursor.png") &&
        cursor.loadFromPixels(cursorImage.getPixelsPtr(), cursorImage.getSize(), {0, 0}))
        window.setMouseCursor(cursor);
    for (std::size_t code = 0; code < loaded.gems.size(); ++code)
        loaded.gems[code].loadFromFile(assetPath(gemNames[code], ".png"));
    window.setMouseCursorVisible(false);

    registerMp3Reader();
    for (std::size_t i = 0; i < loaded.buffers.size(); ++i)
    {
        loaded.buffers[i].loadFromFile(assetPath(soundFiles[i].first, ".mp3"));
        loaded.sounds[i].setBuffer(loaded.buffers[i]);
        loaded.sounds[i].setVolume(soundFiles[i].second);
    }
    if (loaded.music.openFromFile("assets/TribalJungle.ogg"))
    {
        loaded.music.setLoop(true);
        loaded.music.setVolume(2.f);
        loaded.music.play();
    }
}

// The busy playing screen as ready-made sprites, in the game's drawing order.
std::vector<sf::Sprite> busyScreen(Loaded& loaded, sf::Vector2f scale)
{
    std::vector<sf::Sprite> sprites;
    auto add = [&](const sf::Texture& texture, float x, float y) {
        sprites.emplace_back(texture);
        sprites.back().setScale(scale);
        sprites.back().setPosition(x * scale.x, y * scale.y);
        return &sprites.back();
    };
    auto digit = [&](int n) -> const sf::Texture& { return loaded.textures["digit_" + std::to_string(n)]; };
    auto number = [&](int value, int places, float x, float y, float width) {
        for (int place = places - 1; place >= 0; --place, value /= 10)
            add(digit(value % 10), x + width * static_cast<float>(place), y);
    };

    add(loaded.textures["background"], 0, 0);
    const char* buttons[] = {"button_music_on", "button_sound_on", "button_pause", "button_main_menu", "button_quit"};
    for (int i = 0; i < 5; ++i)
        add(loaded.textures[buttons[i]], 1290.f + 120.f * static_cast<float>(i), 20);
    add(digit(0), 50, 50), add(digit(0), 75, 50), add(loaded.textures["digit_colon"], 100, 50);
    add(digit(4), 125, 50), add(digit(2), 150, 50);
    add(digit(0), 328, 50), add(digit(7), 353, 50);
    number(12340, 6, 497, 50, 25);
    number(56780, 6, 758, 50, 25);
    number(42, 4, 1072, 50, 25);
    const float laneX[] = {270, 390, 510, 630, 750, 870, 990, 1110, 1230, 1350, 1470, 1590, 1777};
    for (int slot = 0; slot < 8; ++slot)
        add(loaded.gems[bench::BusyThread[slot]], laneX[bench::BusyStop], 595.f + 60.f * static_cast<float>(slot));
    for (int slot = 0; slot < 8; ++slot)
        add(loaded.gems[bench::BusyPattern[slot]], 60, 113.f + 60.f * static_cast<float>(slot));
    add(loaded.gems[bench::BusyFallingCode], laneX[bench::BusyFallingColumn], 113.f + 60.f * bench::BusyFallingRow);
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 12; ++column)
            if (const int code = bench::busyCell(row, column))
                add(loaded.gems[code], 270.f + 120.f * static_cast<float>(column), 113.f + 60.f * static_cast<float>(row));
    sf::Sprite* pulse = add(loaded.gems[bench::busyCell(1, bench::BusyDangerColumn)], 0, 0);
    pulse->setOrigin(30, 30);
    pulse->setPosition((300.f + 120.f * bench::BusyDangerColumn) * scale.x, 203.f * scale.y);
    pulse->setScale(1.1f * scale.x, 1.1f * scale.y);
    add(loaded.textures["TrashTube"], 1773, 113);
    number(bench::BusyPopupPoints, 3, laneX[bench::BusyStop], 450, 20);
    return sprites;
}
} // namespace

int main(int argc, char** argv)
{
    const bool startup = argc > 1 && std::strcmp(argv[1], "startup") == 0;
    const double launched = startup && argc > 2 ? std::atof(argv[2]) * 1e6 : bench::wallMicros();

    bench::Phases phases{"bare", launched};
    phases.mark("launch");
    // The cursor and its picture outlive the window that shows them.
    sf::Image cursorImage;
    sf::Cursor cursor;

    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    sf::RenderWindow window(desktop, "Glimmora Game", sf::Style::Fullscreen, sf::ContextSettings());
    phases.mark("window");
    const sf::Vector2f scale(static_cast<float>(desktop.width) / 1920.f, static_cast<float>(desktop.height) / 1080.f);
    auto loaded = std::make_unique<Loaded>();
    loadAll(*loaded, window, cursorImage, cursor);
    phases.mark("loads");

    sf::Event event;
    if (startup)
    {
        // The first frame shows the title page, still transparent, as the game's does.
        sf::Sprite title(loaded->textures["start_page"]);
        title.setScale(scale);
        title.setColor(sf::Color(255, 255, 255, 0));
        double firstFrame = 0;
        for (int frame = 0; frame < 200; ++frame)
        {
            while (window.pollEvent(event))
            {
            }
            window.clear(sf::Color::Black);
            window.draw(title);
            window.display();
            if (frame == 0)
            {
                firstFrame = bench::wallMicros();
                phases.mark("frame");
            }
        }
        // Peak memory after a few frames more, once the driver has settled.
        bench::reportStartup("bare", launched, firstFrame);
        return 0;
    }

    // "smooth" turns linear filtering on for every picture, to show what it costs.
    if (argc > 3 && std::strcmp(argv[3], "smooth") == 0)
    {
        for (auto& [name, texture] : loaded->textures)
            texture.setSmooth(true);
        for (sf::Texture& gem : loaded->gems)
            gem.setSmooth(true);
    }
    const std::vector<sf::Sprite> sprites = busyScreen(*loaded, scale);
    std::vector<double> frames;
    const int batches = bench::batchesFromArgs(argc, argv, 2, 15);
    for (int frame = 0; frame < batches * bench::BatchFrames + 50; ++frame)
    {
        const auto start = bench::Clock::now();
        while (window.pollEvent(event))
        {
        }
        window.clear(sf::Color::Black);
        for (const sf::Sprite& sprite : sprites)
            window.draw(sprite);
        window.display();
        if (frame >= 50) // the first frames warm the driver's caches up
            frames.push_back(bench::microsSince(start));
    }
    bench::reportFrames("bare", frames);
    return 0;
}
