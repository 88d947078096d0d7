#pragma once

#include "game/GameSession.hpp"
#include "platform/ScoreFile.hpp"

#include <chrono>
#include <functional>

// Where the best score lives in a checkout, relative to the working directory.
constexpr const char* HighScorePath = "assets/highscore.txt";

// The best-score file as the game sees it. A save is a rewrite of a few bytes, made in the frame and
// never waiting: while another copy of the game holds the file, the score is tried again at the next
// rise, at the game's end and at exit. Without a path nothing is read or kept.
class BestScoreFile
{
public:
    using Wait = std::function<void(std::chrono::milliseconds)>;

    BestScoreFile() = default;
    explicit BestScoreFile(std::filesystem::path path, Wait wait = sleep) : m_path(std::move(path)), m_wait(std::move(wait)) {}
    BestScoreFile(BestScoreFile&&) = default;
    BestScoreFile& operator=(BestScoreFile&&) = default;
    ~BestScoreFile() { close(); }

    // Once, at start-up.
    int load();
    // Stored at once, or kept for the next try while another copy holds the file.
    void store(int value);
    // The game's end: a score another copy held up is tried again, without waiting.
    void retry();
    // At exit: the score goes to the disk; another copy holding the file gets about two seconds to let
    // it go, as at start-up.
    void close();

private:
    static void sleep(std::chrono::milliseconds time);

    std::filesystem::path m_path;
    Wait m_wait = sleep;
    int m_best = 0;        // the last score handed over
    bool m_raised = false; // since start-up: made durable at exit
    bool m_held = false;   // not stored yet: another copy held the file
};

// Every frame of play: a score above the best raises it and hands it to the file.
// A failed write is ignored; the best score is raised in memory all the same.
void recordScore(GameSession& session, BestScoreFile& file);
