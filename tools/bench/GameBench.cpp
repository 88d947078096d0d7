// The game itself, timed: start-up as main.cpp runs it and the same FrameLoop, with clocks around
// them. "startup": launch to the first displayed frame and the peak memory after 200 frames.
// "frame": the playing screen kept busy (half-full board, full thread, popup, danger pulse), frame
// by frame.
//   game_bench startup <launch time, as bash's EPOCHREALTIME>
//   game_bench frame [batches of 200 frames]

#include "BusyGame.hpp"

#include "app/Assets.hpp"
#include "app/FrameLoop.hpp"
#include "app/GameApp.hpp"
#include "app/Launch.hpp"

#include <SFML/Graphics.hpp>

#include <cstring>
#include <ctime>
#include <memory>

int main(int argc, char** argv)
{
    const bool startup = argc > 1 && std::strcmp(argv[1], "startup") == 0;
    const double launched = startup && argc > 2 ? std::atof(argv[2]) * 1e6 : bench::wallMicros();

    // From here to the loop: main.cpp's start-up, but for the best score's file.
    bench::Phases phases{"game", launched};
    phases.mark("launch");
    std::filesystem::path highScorePath;
    if (!prepareLaunch(highScorePath))
        return 1;
    phases.mark("checks"); // the benchmark neither reads nor keeps a best score

    sf::Image cursorImage;
    sf::Cursor cursor;

    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    sf::RenderWindow window(desktop, "Glimmora Game", sf::Style::Fullscreen, sf::ContextSettings());
    phases.mark("window");
    endDisplayCheck();
    setWindowIcon(window);
    phases.mark("icon");
    const DesignScale scale = computeDesignScale(desktop.width, desktop.height);
    RandomGenerator generator(static_cast<std::uint32_t>(std::time(nullptr)));

    auto pictures = std::make_unique<PictureAssets>();
    pictures->loadPictures(scale);
    if (cursorImage.loadFromFile(CursorPath) &&
        cursor.loadFromPixels(cursorImage.getPixelsPtr(), cursorImage.getSize(), {0, 0}))
        window.setMouseCursor(cursor);
    pictures->loadGems();
    phases.mark("pictures");

    const sf::Vector2i mouse = sf::Mouse::getPosition(window);
    window.setMouseCursorVisible(false);

    auto audio = std::make_unique<AudioAssets>();
    audio->load();
    phases.mark("audio");

    FrameLoop loop(window, *pictures);
    auto now = [&loop] { return loop.now(); };
    AppContext context;
    context.audio = audio->port();
    context.random = std::ref(generator);
    context.hitboxes = pictures->hitboxes();
    auto game = std::make_unique<GameApp>(std::move(context));
    game->start(now(), mouse);
    phases.mark("app");

    // main.cpp's frame itself.
    auto frame = [&] {
        loop.frame(*game);
        return now();
    };

    if (startup)
    {
        frame();
        const double firstFrame = bench::wallMicros();
        phases.mark("frame");
        for (int i = 1; i < 200; ++i) // peak memory after a few frames more, once the driver has settled
            frame();
        bench::reportStartup("game", launched, firstFrame);
    }
    else
    {
        // The pointer really moves for the start button: the menu looks at where it is.
        const bool playing = bench::reachPlaying(*game, {scale.x, scale.y}, [&](sf::Vector2i mouse) {
            if (sf::Mouse::getPosition(window) != mouse)
                sf::Mouse::setPosition(mouse, window);
            return frame();
        });
        if (!playing)
            return std::fprintf(stderr, "the start button did not lead into play\n"), 1;
        std::vector<double> frames;
        const int batches = bench::batchesFromArgs(argc, argv, 2, 15);
        for (int i = 0; i < batches * bench::BatchFrames + 50; ++i)
        {
            if (i % bench::BatchFrames == 0)
                bench::makeBusy(game->session(), now());
            const auto start = bench::Clock::now();
            frame();
            if (i >= 50) // the first frames warm the driver's caches up
                frames.push_back(bench::microsSince(start));
        }
        if (game->screen() != ScreenState::Playing)
            return std::fprintf(stderr, "left the playing screen while measuring\n"), 1;
        bench::reportFrames("game", frames);
    }

    game.reset();
    audio.reset();
    pictures.reset();
    return 0;
}
