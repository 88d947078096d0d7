// The game itself, timed: the start-up main.cpp runs and the same FrameLoop, with clocks around
// them. "startup": launch to the first displayed frame and the peak memory after 200 frames.
// "frame": the playing screen kept busy (half-full board, full thread, popup, danger pulse), frame
// by frame. Both run the loop unthrottled, every pass a frame drawn, as the bare loop draws.
// "idle": the loop as players get it, paced, on five screens in turn: the process's share of a core
// and the pictures shown a second; with "unthrottled", the loop as it ran before it was paced.
//   game_bench startup <launch time, as bash's EPOCHREALTIME>
//   game_bench frame [batches of 200 frames]
//   game_bench idle [seconds per screen, default 10] [unthrottled]

#include "BusyGame.hpp"

#include "app/GameProgram.hpp"

#include <cstring>

int main(int argc, char** argv)
{
    const bool startup = argc > 1 && std::strcmp(argv[1], "startup") == 0;
    const bool idle = argc > 1 && std::strcmp(argv[1], "idle") == 0;
    const double launched = startup && argc > 2 ? std::atof(argv[2]) * 1e6 : bench::wallMicros();

    // The game's own start-up, step by step; the benchmark neither reads nor keeps a best score.
    bench::Phases phases{"game", launched};
    phases.mark("launch");
    GameProgram program;
    StartOptions options;
    options.keepPlayerFiles = false;
    options.unthrottled = !idle || (argc > 3 && std::strcmp(argv[3], "unthrottled") == 0);
    if (!program.start([&phases](const char* step) { phases.mark(step); }, options))
        return 1;
    GameApp& game = program.game();
    FrameLoop& loop = program.loop();
    auto now = [&loop] { return loop.now(); };

    // main.cpp's pass itself.
    auto frame = [&] {
        loop.pass(game);
        return now();
    };
    // The pointer really moves for the start button: the menu looks at where it is.
    const DesignScale scale = computeDesignScale(program.window().getSize().x, program.window().getSize().y);
    auto reachPlaying = [&] {
        return bench::reachPlaying(game, {scale.x, scale.y}, [&](sf::Vector2i mouse) {
            if (sf::Mouse::getPosition(program.window()) != mouse)
                sf::Mouse::setPosition(mouse, program.window());
            return frame();
        }, [&loop](const Command& command) { loop.send(command); });
    };

    if (idle)
    {
        const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
        // Measures the loop for a while on one screen; `during` runs before each pass
        auto measure = [&](const char* screen, auto during) {
            const double cpu = bench::cpuSeconds(), wall = bench::wallMicros();
            const long draws = loop.draws();
            while (bench::wallMicros() - wall < seconds * 1e6)
            {
                during();
                frame();
            }
            const double elapsed = (bench::wallMicros() - wall) / 1e6;
            std::printf("game idle %s cpu_percent %.1f frames_per_second %.1f\n", screen,
                        100.0 * (bench::cpuSeconds() - cpu) / elapsed, static_cast<double>(loop.draws() - draws) / elapsed);
            std::fflush(stdout);
        };
        auto settle = [&](double wait) {
            for (const double until = bench::wallMicros() + wait * 1e6; bench::wallMicros() < until;)
                frame();
        };
        const auto nothing = [] {};
        settle(1.5); // the title's fade-in
        measure("title", nothing);
        loop.send({CommandKind::KeyPress, sf::Keyboard::Space, {}, false});
        settle(2.5); // the title's fade-out and the menu's fade-in
        measure("menu", nothing);
        if (!reachPlaying())
            return std::fprintf(stderr, "the start button did not lead into play\n"), 1;
        measure("calm_play", nothing);
        Micros lastPoints = 0;
        measure("popup", [&] {
            if (now() - lastPoints > 2000000) // a new popup as each one fades
                game.session().game.pendingPoints = bench::BusyPopupPoints, lastPoints = now();
        });
        settle(2.5); // the last popup fades
        while (!game.session().game.paused) // P is accepted once a gem falls
        {
            loop.send({CommandKind::KeyPress, sf::Keyboard::P, {}, false});
            frame();
        }
        measure("paused", nothing);
        return 0;
    }

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
        if (!reachPlaying())
            return std::fprintf(stderr, "the start button did not lead into play\n"), 1;
        std::vector<double> frames;
        const int batches = bench::batchesFromArgs(argc, argv, 2, 15);
        for (int i = 0; i < batches * bench::BatchFrames + 50; ++i)
        {
            if (i % bench::BatchFrames == 0)
                bench::makeBusy(game.session(), now());
            const auto start = bench::Clock::now();
            frame();
            if (i >= 50) // the first frames warm the driver's caches up
                frames.push_back(bench::microsSince(start));
        }
        if (game.screen() != ScreenState::Playing)
            return std::fprintf(stderr, "left the playing screen while measuring\n"), 1;
        bench::reportFrames("game", frames);
    }
    return 0;
}
