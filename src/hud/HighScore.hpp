#pragma once

#include "game/GameSession.hpp"

#include <string>

// Where the best score lives, relative to the working directory.
constexpr const char* HighScorePath = "assets/highscore.txt";

// Text to best score: white space, an optional sign, digits; clamped to the
// 32-bit range; anything unreadable gives 0.
int parseBestScore(const std::string& text);

// Read once at start-up; a missing or unreadable file gives 0.
int loadBestScore(const std::string& path);

// Replaces the file's content with `value` ("1230", no newline) through a
// temporary file in the same folder and a rename, so the file always holds
// either the old or the new score. Returns false when nothing was replaced.
bool saveBestScore(const std::string& path, int value);

// Every frame of play: a score above the best raises it and rewrites the file.
// A failed write is ignored; the best score is raised in memory all the same.
void recordScore(GameSession& session, const std::string& path);
