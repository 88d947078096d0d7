#pragma once

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

// The best-score file's own operations, one file for each system (ScoreFileLinux.cpp, ScoreFileWindows.cpp).
// The file is rewritten in place under a lock on itself: it keeps its owner, its permissions and its
// links, needs no new room on the disk and leaves no other file beside it.
namespace platform
{
// Text to best score as a stream reads an int: white space, an optional sign, digits up to anything
// else; clamped to the 32-bit range; 0 when no number reads.
inline int parseBestScore(const std::string& text)
{
    return static_cast<int>(std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT_MIN, INT_MAX));
}

enum class FileResult
{
    Done,
    Busy,  // another copy of the game holds the file: try again later
    Failed // nothing read or stored, and trying again will not help
};

// The score a regular file holds in its first few dozen bytes, links followed; 0 when there is none.
// Also removes the temporary files that the saves of earlier builds could leave.
FileResult loadBestScore(const std::filesystem::path& path, int& score);

// Stores the higher of `value` and the file's own score in place; a missing file and folder are made.
// `durable` also flushes it to the disk. Never waits for another copy of the game: Busy instead. Only a
// regular file is written, never one the player made read-only; a link loop or a dangling link stores
// nothing; an empty path does nothing.
FileResult saveBestScore(const std::filesystem::path& path, int value, bool durable);

#ifndef _WIN32
// Where an installed game keeps each player's best score: under $XDG_DATA_HOME, or ~/.local/share when
// that is unset, empty or relative. Empty when neither gives an absolute folder.
std::string dataHomeScorePath(const char* xdgDataHome, const char* home);
#endif
} // namespace platform
