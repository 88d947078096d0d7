#pragma once

#include "game/Audio.hpp"

#include <set>
#include <vector>

// Stands in for the game's sounds and music: records what the rules ask for.
// A started effect reports Playing until the test takes it out of `playing`.
struct AudioRecorder
{
    std::vector<Effect> started;
    std::vector<MusicCommand> music;
    std::set<Effect> playing;
    bool musicPlaying = true; // the game starts its music at start-up
    std::vector<float> gains; // the master gains asked for, in order
    AudioPort port{[this](Effect effect) { return playing.count(effect) > 0; },
                   [this](Effect effect) { started.push_back(effect), playing.insert(effect); },
                   [this](MusicCommand command) { music.push_back(command), musicPlaying = command == MusicCommand::Play; },
                   [this] { return musicPlaying; },
                   [this](float gain) { gains.push_back(gain); }};

    AudioRecorder() = default;
    AudioRecorder(const AudioRecorder&) = delete; // the port points at this one
};
