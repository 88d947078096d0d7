// The game's logic in one frame of play on a busy board: GameApp::tick, the whole update the frame
// loop runs on the playing screen (cursor, animations, level tick, HUD and best score, falling gem,
// overflow check, latches), headless, frames 2 ms apart. Run from the folder that holds assets/.
//   logic_bench [Google Benchmark options]

#include "BusyGame.hpp"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr Micros FrameMicros = 2000;
constexpr int FramesPerReset = 500; // one second of play, then the busy board again

void playingTick(benchmark::State& state)
{
    RandomGenerator generator(1);
    AppContext context;
    context.random = std::ref(generator);
    context.hitboxes = hitboxesFromFiles(computeDesignScale(1920, 1080));
    GameApp game(std::move(context));
    FrameInput input;
    Micros now = 0;
    game.start(now, input.mouse);
    const bool playing = bench::reachPlaying(
        game, {1.f, 1.f},
        [&](sf::Vector2i mouse) {
            input.mouse = mouse;
            game.tick(input, now += 20000);
            return now;
        },
        [&](const Command& command) { game.respond(command, now); });
    if (!playing)
        return state.SkipWithError("the start button did not lead into play");

    int frame = 0;
    for (auto _ : state)
    {
        if (frame++ % FramesPerReset == 0)
            bench::makeBusy(game.session(), now);
        benchmark::DoNotOptimize(game.tick(input, now += FrameMicros));
    }
    if (game.screen() != ScreenState::Playing)
        state.SkipWithError("left the playing screen while measuring");
}
BENCHMARK(playingTick);
} // namespace
