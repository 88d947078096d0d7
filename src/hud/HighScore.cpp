#include "hud/HighScore.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <thread>

namespace
{
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace


////////////////////////////////////////////////////////////
int parseBestScore(const std::string& text)
{
    // Like reading an int from a stream: white space, a sign, then digits up to anything else
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    {
        negative = text[i] == '-';
        ++i;
    }

    if (i == text.size() || !isDigit(text[i]))
        return 0;

    // Magnitude saturates just past the range, so any number of digits clamps to the nearest limit
    constexpr std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
    {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }

    if (negative)
        return static_cast<int>(-magnitude); // -2^31 at most: the smallest int
    if (magnitude >= limit)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<int>(magnitude);
}


////////////////////////////////////////////////////////////
std::string playerHighScorePath(const char* xdgDataHome, const char* home)
{
    // Only absolute folders count: a relative one would move with the working directory
    std::string data;
    if (xdgDataHome && xdgDataHome[0] == '/')
        data = xdgDataHome;
    else if (home && home[0] == '/')
        data = std::string(home) + "/.local/share";
    else
        return {};
    return data + "/glimmora-game/highscore.txt";
}


////////////////////////////////////////////////////////////
struct BestScoreFile::Writer
{
    explicit Writer(std::filesystem::path file) : path(std::move(file)), thread([this] { run(); }) {}
    ~Writer()
    {
        {
            std::lock_guard<std::mutex> guard(mutex);
            quitting = true;
            quitBy = std::chrono::steady_clock::now() + QuitGrace;
        }
        wake.notify_all();
        thread.join();
    }

    // Saves the newest value handed over; while another copy holds the file, looks again now and then.
    void run()
    {
        std::unique_lock<std::mutex> guard(mutex);
        for (;;)
        {
            if (!pending)
            {
                if (quitting)
                    return;
                wake.wait(guard);
                continue;
            }
            const int value = wanted;
            pending = false;
            saving = true;
            guard.unlock();
            const SaveResult result = saveBestScore(path, value);
            guard.lock();
            saving = false;
            if (result == SaveResult::Busy && !(quitting && std::chrono::steady_clock::now() > quitBy))
            {
                pending = true;
                wanted = std::max(wanted, value);
                wake.wait_for(guard, RetryWait);
            }
            idle.notify_all();
        }
    }

    static constexpr std::chrono::milliseconds RetryWait{100};
    static constexpr std::chrono::seconds QuitGrace{2};

    const std::filesystem::path path;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    int wanted = 0;        // the newest score handed over
    bool pending = false;  // `wanted` is not stored yet
    bool saving = false;   // a save runs outside the mutex
    bool quitting = false;
    std::chrono::steady_clock::time_point quitBy;
    std::thread thread;    // last: it starts once everything above is ready
};

BestScoreFile::BestScoreFile() = default;
BestScoreFile::BestScoreFile(std::filesystem::path path) : m_path(std::move(path)) {}
BestScoreFile::BestScoreFile(BestScoreFile&&) noexcept = default;
BestScoreFile& BestScoreFile::operator=(BestScoreFile&&) noexcept = default;
BestScoreFile::~BestScoreFile() = default;

void BestScoreFile::store(int value)
{
    if (m_path.empty())
        return;
    if (!m_writer)
        m_writer = std::make_unique<Writer>(m_path);
    {
        std::lock_guard<std::mutex> guard(m_writer->mutex);
        m_writer->wanted = m_writer->pending ? std::max(m_writer->wanted, value) : value;
        m_writer->pending = true;
    }
    m_writer->wake.notify_one();
}

void BestScoreFile::flush()
{
    if (!m_writer)
        return;
    std::unique_lock<std::mutex> guard(m_writer->mutex);
    m_writer->idle.wait(guard, [this] { return !m_writer->pending && !m_writer->saving; });
}


////////////////////////////////////////////////////////////
void recordScore(GameSession& session, BestScoreFile& file)
{
    if (session.score > session.bestScore)
    {
        session.bestScore = session.score;

        // A failed write is ignored: the raised best score stays in memory for the run
        file.store(session.bestScore);
    }
}
