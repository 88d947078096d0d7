#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"
#include "game/Timer.hpp"

#include <algorithm>
#include <set>
#include <vector>

// Stands in for the app's sounds and music. A started effect counts as playing
// until a test lets it finish (finish / playing.clear()), as a real sound would.
struct RecordingAudio
{
    std::vector<Effect> started;
    std::vector<MusicCommand> music;
    std::set<Effect> playing;

    AudioPort port()
    {
        AudioPort audio;
        audio.isPlaying = [this](Effect effect) { return playing.count(effect) > 0; };
        audio.start     = [this](Effect effect) {
            started.push_back(effect);
            playing.insert(effect);
        };
        audio.music = [this](MusicCommand command) { music.push_back(command); };
        return audio;
    }

    int startCount(Effect effect) const
    {
        return static_cast<int>(std::count(started.begin(), started.end(), effect));
    }

    int musicCount(MusicCommand command) const
    {
        return static_cast<int>(std::count(music.begin(), music.end(), command));
    }
};

// Column `column` stacked from the bottom up to and including `topRow`.
inline void stackColumn(GameSession& session, int column, int topRow, GemCode code = 1)
{
    for (int row = topRow; row < BoardRows; ++row)
        session.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = code;
}
