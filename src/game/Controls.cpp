#include "game/Controls.hpp"

bool toggleMusic(GameSession& session, const AudioPort& audio)
{
    if (session.game.paused)
        return false;

    session.kept.musicOn = !session.kept.musicOn;
    audio.sendMusic(session.kept.musicOn ? MusicCommand::Play : MusicCommand::Pause);
    return true;
}

bool toggleSound(GameSession& session)
{
    if (session.game.paused)
        return false;

    // An effect already playing finishes; only new ones are held back.
    session.kept.soundOn = !session.kept.soundOn;
    return true;
}

bool canTogglePause(const GameSession& session)
{
    // Pausing inverts `falling`, which is right only while the gem really falls.
    // Pulls during a landing pause can empty the cell below the landed gem's
    // row, so the landing pause is refused on its own flag, not by the board.
    const FallingGem& gem = session.game.fallingGem;
    if (gem.landingPause)
        return false;
    return gem.row < BoardRows - 1 && session.game.board[gem.row + 1][gem.column] == EmptyGem;
}

bool togglePause(GameSession& session, const AudioPort& audio)
{
    if (!canTogglePause(session))
        return false;

    session.game.paused = !session.game.paused;
    session.game.fallingGem.falling = !session.game.fallingGem.falling;
    if (session.kept.musicOn)
        audio.sendMusic(session.game.paused ? MusicCommand::Pause : MusicCommand::Play);
    return true;
}
