#include "game/Audio.hpp"

#include "game/GameSession.hpp"

bool playEffect(const GameSession& session, const AudioPort& audio, Effect effect)
{
    // A sound that is already playing is never restarted from the beginning.
    if (!session.kept.soundOn)
        return false;
    if (audio.isPlaying && audio.isPlaying(effect))
        return false;
    if (!audio.start)
        return false;

    audio.start(effect);
    return true;
}
