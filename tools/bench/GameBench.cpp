// The game itself, timed: start-up and frame loop exactly as main.cpp runs them (the same app
// layer, the same real input queries), with clocks around them. "startup": launch to the first
// displayed frame and the peak memory after 200 frames. "frame": the playing screen kept busy
// (half-full board, full thread, popup, danger pulse), frame by frame.
//   game_bench startup <launch time, EPOCHREALTIME in µs>
//   game_bench frame [batches of 200 frames]

#include "BenchCommon.hpp"

#include "app/Assets.hpp"
#include "app/GameApp.hpp"
#include "hud/HighScore.hpp"

#include <SFML/Graphics.hpp>

#include <cstring>
#include <ctime>
#include <memory>

namespace
{
InputState queryInput(const sf::Window& window)
{
    InputState input;
    input.spaceHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::Space);
    input.musicKeyHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::M);
    input.soundKeyHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::S);
    input.pauseKeyHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::P);
    input.mouse = sf::Mouse::getPosition(window);
    return input;
}

// The busy playing screen, set straight into the game's state; the next update lays it out.
void makeBusy(GameApp& game, Micros now)
{
    GameSession& g = game.session();
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < PlayColumns; ++column)
            g.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = bench::busyCell(row, column);
    for (std::size_t slot = 0; slot < ThreadSlots; ++slot)
    {
        g.thread[slot] = bench::BusyThread[slot];
        g.pattern[slot] = bench::BusyPattern[slot];
    }
    g.selectorStop = bench::BusyStop;
    g.fallingGem.column = bench::BusyFallingColumn;
    g.fallingGem.row = bench::BusyFallingRow;
    g.fallingGem.code = bench::BusyFallingCode;
    g.fallingGem.falling = true;
    g.fallingGem.landingPause = false;
    g.fallingGem.fallClock.restart(now);
    g.score = 12340;
    g.bestScore = 1 << 30; // no file write on the way
    g.patternsCompleted = 42;
    g.pendingPoints = bench::BusyPopupPoints; // the next update starts the popup
    game.screens().screen = ScreenState::Playing;
}
} // namespace

int main(int argc, char** argv)
{
    const bool startup = argc > 1 && std::strcmp(argv[1], "startup") == 0;
    const double launched = startup && argc > 2 ? std::atof(argv[2]) : bench::wallMicros();

    // From here to the loop: main.cpp's start-up.
    sf::Image cursorImage;
    sf::Cursor cursor;

    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    sf::RenderWindow window(desktop, "Glimmora Game", sf::Style::Fullscreen, sf::ContextSettings());
    const DesignScale scale = computeDesignScale(desktop.width, desktop.height);
    RandomGenerator generator(static_cast<std::uint32_t>(std::time(nullptr)));

    auto pictures = std::make_unique<PictureAssets>();
    pictures->loadPictures(scale);
    if (cursorImage.loadFromFile(CursorPath) &&
        cursor.loadFromPixels(cursorImage.getPixelsPtr(), cursorImage.getSize(), {0, 0}))
        window.setMouseCursor(cursor);
    pictures->loadGems(scale);

    const sf::Vector2i mouse = sf::Mouse::getPosition(window);
    window.setMouseCursorVisible(false);
    bool cursorShown = false;

    auto audio = std::make_unique<AudioAssets>();
    audio->load();

    sf::Clock clock;
    auto now = [&clock] { return static_cast<Micros>(clock.getElapsedTime().asMicroseconds()); };
    // The best score goes nowhere the player keeps one.
    auto game = std::make_unique<GameApp>(*pictures, audio->port(), scale, std::ref(generator),
                                          "/tmp/glimmora-bench-highscore.txt");
    game->start(now(), mouse);

    const int batches = bench::batchesFromArgs(argc, argv, 2, 15);
    const int frameCount = startup ? 200 : batches * bench::BatchFrames + 50;
    std::vector<double> frames;
    double firstFrame = 0;
    sf::Event event;
    for (int frame = 0; frame < frameCount && window.isOpen(); ++frame)
    {
        if (!startup && frame % bench::BatchFrames == 0)
            makeBusy(*game, now());
        const auto start = bench::Clock::now();

        // main.cpp's frame, phase by phase.
        while (window.pollEvent(event))
        {
            game->handleEvent(event, queryInput(window), now());
            if (game->closeRequested())
                window.close();
        }

        game->updateCursor(queryInput(window), now());
        if (game->screens().cursorVisible != cursorShown)
        {
            cursorShown = game->screens().cursorVisible;
            window.setMouseCursorVisible(cursorShown);
        }

        if (!game->update(queryInput(window), now()))
            continue;
        if (game->closeRequested())
            window.close();
        game->releaseLatches(queryInput(window));

        window.clear(sf::Color(0, 0, 0, 255));
        game->draw(window);
        window.display();

        if (frame == 0)
            firstFrame = bench::wallMicros();
        if (!startup && frame >= 50)
            frames.push_back(bench::microsSince(start));
    }

    if (startup)
        bench::reportStartup("game", launched, firstFrame);
    else
        bench::reportFrames("game", frames);
    game.reset();
    audio.reset();
    pictures.reset();
    return 0;
}
