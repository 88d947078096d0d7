#pragma once

#include <functional>

struct GameSession;

// The game's sound effects; the app binds each to one loaded sound.
enum class Effect
{
    GemFall,      // a falling gem lands or is dropped
    PatternShift, // pattern matched or eight diamonds
    Applause,     // a winning ending
    Defeat,       // a lost ending
    Alert,        // a danger column at a level tick
    TrashDrop,    // a full thread thrown away
    LevelUp,      // a new level
    Level11Up,    // levels 11, 21, 31, 41 and 51
    Count
};

enum class MusicCommand
{
    Play,  // resumes a paused track, starts a stopped one from the beginning
    Pause,
    Stop
};

// What the rules may ask of the audio: the app wires it to the real sounds,
// tests to a recorder. Empty functions are allowed and do nothing.
struct AudioPort
{
    std::function<bool(Effect)> isPlaying; // the sound's status is Playing
    std::function<void(Effect)> start;     // play from the beginning
    std::function<void(MusicCommand)> music;
    std::function<bool()> musicIsPlaying; // the track plays now (not paused, stopped or unopened)
    std::function<void(float)> masterGain; // one gain over every sound, 0 silent, 1 as the files are

    void sendMusic(MusicCommand command) const
    {
        if (music)
            music(command);
    }
    bool musicPlaying() const { return musicIsPlaying && musicIsPlaying(); }
    void setMasterGain(float gain) const
    {
        if (masterGain)
            masterGain(gain);
    }
};

// The one rule for every effect: it starts only while effects are on and that
// sound is not already playing. Returns true when it was started.
bool playEffect(const GameSession& session, const AudioPort& audio, Effect effect);
