#pragma once

#include "game/GameSession.hpp"
#include "platform/SmallFile.hpp"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>

// Where the best score lives in a checkout, relative to the working directory.
constexpr const char* BestScorePath = "assets/highscore.txt";

// As a stream reads an int: white space, an optional sign, digits; clamped to 32 bits; 0 when none reads.
inline int parseBestScore(const std::string& text)
{
    return static_cast<int>(std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT_MIN, INT_MAX));
}

// The best-score file as the game sees it, rewritten in place: it keeps its owner, its permissions and
// its links, takes no new room on the disk and leaves nothing beside it. A rise is stored in the frame,
// a rewrite of a few bytes that never waits; while another copy of the game holds the file, the score is
// tried again at the next rise, at the game's end (`retry`) and at exit (`close`, also on destruction),
// which makes it durable and, like the start-up, gives the other copy about two seconds. Without a path
// nothing is read or kept.
class BestScoreFile
{
public:
    using Result = platform::FileResult;
    using Wait = std::function<void(std::chrono::milliseconds)>;
    static constexpr std::chrono::milliseconds RetryWait{50}, Grace{2000};

    BestScoreFile() = default;
    explicit BestScoreFile(std::filesystem::path path, Wait wait = sleep) : m_path(std::move(path)), m_wait(std::move(wait)) {}
    BestScoreFile(BestScoreFile&&) = default;
    BestScoreFile& operator=(BestScoreFile&&) = default;
    ~BestScoreFile() { close(); }

    int load()
    {
        int score = 0;
        withGrace([&] {
            platform::SmallFile file;
            const Result result = m_path.empty() ? Result::Failed : file.open(m_path, false);
            score = result == Result::Done ? parseBestScore(file.head()) : 0;
            return result;
        });
        if (!m_path.empty())
            platform::removeEarlierTemporaryFile(m_path);
        return score;
    }
    Result store(int value)
    {
        m_best = value;
        const Result result = save(value, false);
        m_held = result == Result::Busy;
        return result;
    }
    void retry()
    {
        if (m_held)
            store(*m_best);
    }
    void close()
    {
        if (m_best)
            withGrace([this] { return save(*m_best, true); });
        m_best.reset(), m_held = false;
    }

private:
    static void sleep(std::chrono::milliseconds time) { std::this_thread::sleep_for(time); }
    void withGrace(const std::function<Result()>& attempt) const
    {
        for (std::chrono::milliseconds waited{0}; attempt() == Result::Busy && waited < Grace; waited += RetryWait)
            m_wait(RetryWait);
    }
    // The higher score over the old text, spaces over the rest of what was read, then the cut: a save
    // killed before the cut leaves no old digit after the new ones.
    Result save(int value, bool durable) const
    {
        platform::SmallFile file;
        const Result opened = m_path.empty() ? Result::Failed : file.open(m_path, true);
        if (opened != Result::Done)
            return opened;
        const std::string old = file.head(), best = std::to_string(std::max(value, parseBestScore(old)));
        const std::string text = best + std::string(old.size() > best.size() ? old.size() - best.size() : 0, ' ');
        return file.rewrite(text, best.size(), durable) ? Result::Done : Result::Failed;
    }

    std::filesystem::path m_path;
    Wait m_wait = sleep;
    std::optional<int> m_best; // the last score handed over, until the exit has made it durable
    bool m_held = false;       // not stored yet: another copy held the file
};

// Every frame of play: a score above the best raises it and hands it to the file. A failed write is
// ignored: the best score is raised in memory all the same.
inline void recordScore(GameSession& session, BestScoreFile& file)
{
    if (session.game.score > session.kept.bestScore)
    {
        session.kept.bestScore = session.game.score;
        file.store(session.kept.bestScore);
    }
}
