#pragma once

#include "game/GameSession.hpp"

#include <filesystem>
#include <memory>
#include <string>

// Where the best score lives in a checkout, relative to the working directory.
constexpr const char* HighScorePath = "assets/highscore.txt";

// Where an installed game keeps each player's best score: under $XDG_DATA_HOME,
// or ~/.local/share when that is unset, empty or relative. Empty when neither
// gives an absolute folder, so there is no file at all.
std::string playerHighScorePath(const char* xdgDataHome, const char* home);

// Text to best score: white space, an optional sign, digits; clamped to the
// 32-bit range; anything unreadable gives 0.
int parseBestScore(const std::string& text);

// The file operations below are the system's own: ScoreFileLinux.cpp, ScoreFileWindows.cpp.

// Read once at start-up; a missing or unreadable file gives 0. Also removes the
// temporary file a save cut short left behind. An empty path reads and removes nothing.
int loadBestScore(const std::filesystem::path& path);

enum class SaveResult
{
    Saved,
    Busy,  // another copy of the game is saving this file: try again later
    Failed // not stored, and trying again will not help
};

// Stores the higher of `value` and the score already in the file ("1230", no
// newline), so a second copy of the game never lowers the first one's record,
// and flushes it to the disk. The new text goes to this player's own temporary
// file beside the file and is renamed over it, so the file always holds a whole
// score; where no temporary file can be made or the rename is refused, the file
// is rewritten in place. A symbolic link is written through (on Linux), and a missing
// folder is created. Never waits for another copy: it says Busy instead. Only a
// regular file is written, and never one the player made read-only.
SaveResult saveBestScore(const std::filesystem::path& path, int value);

// The temporary file a save of `target` (its links followed) uses; on Linux one for each player
// (`user`), on Windows one, in the player's own folder.
std::filesystem::path temporaryScorePath(const std::filesystem::path& target, unsigned user);

// The best-score file as the frame loop sees it: the value is handed to a thread
// of its own, which waits for the disk and for other copies of the game, so a
// rising score never holds up a frame. Without a path nothing is read or kept.
class BestScoreFile
{
public:
    BestScoreFile();
    explicit BestScoreFile(std::filesystem::path path);
    BestScoreFile(BestScoreFile&&) noexcept;
    BestScoreFile& operator=(BestScoreFile&&) noexcept;
    // The last score handed over is on the disk before the game exits; another copy
    // holding the file gets about two seconds to let it go.
    ~BestScoreFile();

    int load() const { return loadBestScore(m_path); }
    // Takes the value and returns at once.
    void store(int value);
    // Waits until every value handed over is stored, or has failed.
    void flush();

private:
    struct Writer;
    std::filesystem::path m_path;
    std::unique_ptr<Writer> m_writer; // started by the first store
};

// Every frame of play: a score above the best raises it and hands it to the file.
// A failed write is ignored; the best score is raised in memory all the same.
void recordScore(GameSession& session, BestScoreFile& file);
