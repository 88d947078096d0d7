// The best score's save as the game makes it: recordScore with a rising score, 200 times, one "frame"
// (5 ms) apart, each a rewrite in place within the frame (the first makes the file); then 200 durable
// saves, flushed to the disk, as the exit (`close`) makes one. Prints the median and the worst of each.
//   save_bench FOLDER     the score file goes there (on the disk to measure)

#include "hud/BestScore.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

namespace
{
using Clock = std::chrono::steady_clock;

struct Sample
{
    double micros;
    long slept, preempted; // voluntary and involuntary context switches during the call
    bool operator<(const Sample& other) const { return micros < other.micros; }
};

template <class Call>
Sample measure(Call call)
{
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    const Clock::time_point start = Clock::now();
    call();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    getrusage(RUSAGE_THREAD, &after);
    return {micros, after.ru_nvcsw - before.ru_nvcsw, after.ru_nivcsw - before.ru_nivcsw};
}

void report(const char* what, std::vector<Sample> samples)
{
    std::sort(samples.begin(), samples.end());
    long slept = 0;
    for (const Sample& s : samples)
        slept += s.slept > 0;
    const Sample& worst = samples.back();
    std::printf("%-30s median %9.1f us  worst %9.1f us (slept %ld, preempted %ld)  %ld of %zu slept\n", what,
                samples[samples.size() / 2].micros, worst.micros, worst.slept, worst.preempted, slept, samples.size());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return std::fprintf(stderr, "usage: save_bench FOLDER\n"), 2;
    const std::string path = std::string(argv[1]) + "/highscore.txt";
    constexpr int Runs = 200;
    std::remove(path.c_str());

    std::vector<Sample> frame, durable;
    BestScoreFile file(path);
    GameSession session;
    for (int run = 0; run < Runs; ++run)
    {
        session.game.score += 40;
        frame.push_back(measure([&] { recordScore(session, file); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (int run = 0; run < Runs; ++run)
    {
        BestScoreFile exiting(path);
        exiting.store(100000 + run);
        durable.push_back(measure([&] { exiting.close(); }));
    }
    report("recordScore in the frame", frame);
    report("durable save (the exit's)", durable);
    std::remove(path.c_str());
    return 0;
}
