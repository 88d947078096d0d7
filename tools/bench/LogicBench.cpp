// The rules' part of one frame of play on a busy board, as the playing screen's update runs it:
// animations, level tick, HUD and best score, falling gem, overflow check. Frames 2 ms apart.
//   logic_bench [Google Benchmark options]

#include "BenchCommon.hpp"

#include "game/Animations.hpp"
#include "game/Falling.hpp"
#include "hud/Endings.hpp"
#include "hud/LevelTimer.hpp"
#include "hud/PlayingHud.hpp"

#include <benchmark/benchmark.h>

namespace
{
constexpr Micros FrameMicros = 2000;
constexpr int FramesPerReset = 500; // one second of play, then the busy board again

void makeBusy(GameSession& g, RandomDraw& random, Micros now)
{
    resetGame(g, random, now);
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < PlayColumns; ++column)
            g.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = bench::busyCell(row, column);
    for (std::size_t slot = 0; slot < ThreadSlots; ++slot)
    {
        g.thread[slot] = bench::BusyThread[slot];
        g.pattern[slot] = bench::BusyPattern[slot];
    }
    g.fallingGem.column = bench::BusyFallingColumn;
    g.fallingGem.row = bench::BusyFallingRow;
    g.bestScore = 1 << 30; // no file write on the way
    g.pendingPoints = bench::BusyPopupPoints;
}

void playingFrame(benchmark::State& state)
{
    RandomGenerator generator(1);
    RandomDraw random = std::ref(generator);
    const AudioPort audio; // silent: the sound calls are the audio library's time, not the rules'
    GameSession g;
    HudFields hud;
    ScreenState screen = ScreenState::Playing;
    Micros now = 0;
    startSession(g, random, now);
    int frame = 0;
    for (auto _ : state)
    {
        if (frame++ % FramesPerReset == 0)
            makeBusy(g, random, now);
        now += FrameMicros;
        stepThreadAnimations(g, now, random);
        levelTick(g, now, audio, screen);
        updatePlayingHud(g, hud, now, "/tmp/glimmora-bench-highscore.txt");
        if (updateFallingGem(g, now, random, audio) == FallResult::Continue)
            overflowEndingStep(g, now, audio, screen);
        benchmark::DoNotOptimize(g);
    }
}
BENCHMARK(playingFrame);
} // namespace
