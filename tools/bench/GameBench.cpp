// The game itself, timed: the start-up main.cpp runs and the same FrameLoop, with clocks around
// them. "startup": launch to the first displayed frame and the peak memory after 200 frames.
// "frame": the playing screen kept busy (half-full board, full thread, popup, danger pulse), frame
// by frame.
//   game_bench startup <launch time, as bash's EPOCHREALTIME>
//   game_bench frame [batches of 200 frames]

#include "BusyGame.hpp"

#include "app/GameProgram.hpp"

#include <cstring>

int main(int argc, char** argv)
{
    const bool startup = argc > 1 && std::strcmp(argv[1], "startup") == 0;
    const double launched = startup && argc > 2 ? std::atof(argv[2]) * 1e6 : bench::wallMicros();

    // The game's own start-up, step by step; the benchmark neither reads nor keeps a best score.
    bench::Phases phases{"game", launched};
    phases.mark("launch");
    GameProgram program;
    if (!program.start([&phases](const char* step) { phases.mark(step); }, false))
        return 1;
    GameApp& game = program.game();
    auto now = [&program] { return program.loop().now(); };

    // main.cpp's frame itself.
    auto frame = [&] {
        program.loop().frame(game);
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
        const DesignScale scale = computeDesignScale(program.window().getSize().x, program.window().getSize().y);
        const bool playing = bench::reachPlaying(game, {scale.x, scale.y}, [&](sf::Vector2i mouse) {
            if (sf::Mouse::getPosition(program.window()) != mouse)
                sf::Mouse::setPosition(mouse, program.window());
            return frame();
        });
        if (!playing)
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
