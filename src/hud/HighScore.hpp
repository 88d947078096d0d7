#pragma once

#include "game/GameSession.hpp"

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

// Read once at start-up; a missing or unreadable file gives 0. Also removes the
// temporary file a save cut short left behind.
int loadBestScore(const std::string& path);

// Stores the higher of `value` and the score already in the file ("1230", no
// newline), so a second copy of the game never lowers the first one's record.
// The new text goes to one temporary file beside the file and is renamed over
// it, so the file always holds a whole score; where no temporary file can be
// made it is rewritten in place. A symbolic link is written through, and a
// missing folder is created. Returns false when the score was not stored.
bool saveBestScore(const std::string& path, int value);

// Every frame of play: a score above the best raises it and rewrites the file.
// A failed write is ignored; the best score is raised in memory all the same.
void recordScore(GameSession& session, const std::string& path);
