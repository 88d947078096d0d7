// The best score's save as the frame loop runs it: recordScore with a rising score, 200 times, one
// "frame" (5 ms) apart, while the writer thread stores the values; then, for comparison, 200 durable
// saves made directly, as the frame loop made them before. Prints the median and the worst of each.
//   save_bench FOLDER     the score file goes there (on the disk to measure)

#include "hud/HighScore.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

void report(const char* what, std::vector<double> micros)
{
    std::sort(micros.begin(), micros.end());
    std::printf("%-28s median %9.1f us  worst %9.1f us  (%zu runs)\n", what, micros[micros.size() / 2],
                micros.back(), micros.size());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return std::fprintf(stderr, "usage: save_bench FOLDER\n"), 2;
    const std::string path = std::string(argv[1]) + "/highscore.txt";
    constexpr int Runs = 200;

    std::vector<double> frame, direct;
    {
        BestScoreFile file(path);
        GameSession session;
        for (int run = 0; run < Runs; ++run)
        {
            session.score += 40;
            const Clock::time_point start = Clock::now();
            recordScore(session, file);
            frame.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    for (int run = 0; run < Runs; ++run)
    {
        const Clock::time_point start = Clock::now();
        saveBestScore(path, 100000 + run);
        direct.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    report("recordScore in the frame", frame);
    report("one durable save (writer)", direct);
    std::remove(path.c_str());
    return 0;
}
