#include "hud/HighScore.hpp"

#include <thread>

namespace
{
constexpr std::chrono::milliseconds RetryWait{50};
constexpr std::chrono::milliseconds Grace{2000};

// Tries until the file is not Busy, or the grace is over.
template <class Attempt>
void withGrace(const BestScoreFile::Wait& wait, Attempt attempt)
{
    for (std::chrono::milliseconds waited{0}; attempt() == platform::FileResult::Busy && waited < Grace; waited += RetryWait)
        wait(RetryWait);
}
} // namespace


////////////////////////////////////////////////////////////
void BestScoreFile::sleep(std::chrono::milliseconds time)
{
    std::this_thread::sleep_for(time);
}

int BestScoreFile::load()
{
    int score = 0;
    withGrace(m_wait, [&] { return platform::loadBestScore(m_path, score); });
    return score;
}

void BestScoreFile::store(int value)
{
    m_best = value;
    m_raised = true;
    m_held = platform::saveBestScore(m_path, value, false) == platform::FileResult::Busy;
}

void BestScoreFile::retry()
{
    if (m_held)
        store(m_best);
}

void BestScoreFile::close()
{
    if (m_raised)
        withGrace(m_wait, [this] { return platform::saveBestScore(m_path, m_best, true); });
    m_raised = m_held = false;
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
