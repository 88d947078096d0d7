#include "game/Controls.hpp"

bool toggleMusic(GameSession& session, const AudioPort& audio)
{
    if (session.paused)
        return false;

    session.musicOn = !session.musicOn;
    audio.sendMusic(session.musicOn ? MusicCommand::Play : MusicCommand::Pause);
    return true;
}

bool toggleSound(GameSession& session)
{
    if (session.paused)
        return false;

    // An effect already playing finishes; only new ones are held back.
    session.soundOn = !session.soundOn;
    return true;
}

bool canTogglePause(const GameSession& session)
{
    // Pausing inverts `falling`, which is right only while the gem really falls.
    // Pulls during a landing pause can empty the cell below the landed gem's
    // row, so the landing pause is refused on its own flag, not by the board.
    const FallingGem& gem = session.fallingGem;
    if (gem.landingPause)
        return false;
    return gem.row < BoardRows - 1 && session.board[gem.row + 1][gem.column] == EmptyGem;
}

bool togglePause(GameSession& session, const AudioPort& audio)
{
    if (!canTogglePause(session))
        return false;

    session.paused = !session.paused;
    session.fallingGem.falling = !session.fallingGem.falling;
    if (session.musicOn)
        audio.sendMusic(session.paused ? MusicCommand::Pause : MusicCommand::Play);
    return true;
}
