#include "game/GameSession.hpp"

#include "game/Animations.hpp"

#include <sstream>

void startSession(GameSession& session, RandomDraw& random, Micros now)
{
    // Every timed concern counts from program start.
    session.fallingGem.fallClock.restart(now);
    session.fallingGem.landingClock.restart(now);
    session.levelClock.restart(now);
    session.animationClock.restart(now);
    session.transitionClock.restart(now);
    session.selectorClock.restart(now);
    session.pulseClock.restart(now);
    session.endClock.restart(now);
    session.levelBlinkClock.restart(now);

    // The generator's first two draws: the column, then the kind.
    session.fallingGem.row = 0;
    session.fallingGem.column = random() % PlayColumns;
    session.fallingGem.code = FirstOrdinaryGem + random() % 3;
}

void resetGame(GameSession& session, RandomDraw& random)
{
    // The falling gem keeps its code and its clocks: the first gem of a game is the
    // last one chosen in the previous game. A landing pause the last game was left
    // in ends here, or the first gem could not be paused until it landed.
    session.gameReady = true;
    session.fallingGem.row = 0;
    session.fallingGem.column = random() % PlayColumns;
    session.patternsCompleted = 0;
    session.fallingGem.falling = true;
    session.fallingGem.landingPause = false;

    session.timeUp = false;
    session.overflowEnding = false;
    session.endMusicRestarted = false;
    session.trashAnimating = false;
    session.threadClearing = false;
    session.patternClearing = false;
    session.kindSpan = 2;
    session.fallSpeed = 0.f;

    session.secondsLeft = 60;
    session.level = 1;
    session.score = 0;
    // Points of the frame the last game was left in, and its popup, stay with that game
    session.pendingPoints = 0;
    session.popupPoints = 0;
    session.popupStep = 0.f;
    session.selectorStop = StartStop;
    session.paused = false;

    session.thread.fill(EmptyGem);

    // The pattern draws come after the column draw, slot 0 first.
    dealFirstPattern(session, random);

    for (auto& row : session.board)
        row.fill(EmptyGem);
}

void beginPlay(GameSession& session, Micros now)
{
    // The menu may stand for a while after the reset: level 1 gets its whole minute
    session.levelClock.restart(now);
}

namespace
{
// One character per code, so a row of the board reads at a glance.
char codeChar(GemCode code)
{
    if (code == EmptyGem)
        return '.';
    if (code >= FirstOrdinaryGem && code <= LastOrdinaryGem)
        return static_cast<char>('0' + code);
    if (code == DiamondGem)
        return 'D';
    if (code == TrashGem)
        return 'T';
    return '?';
}
} // namespace

std::string dumpSession(const GameSession& session)
{
    const FallingGem& gem = session.fallingGem;
    std::ostringstream out;

    out << "gem col " << gem.column << " row " << gem.row << " code " << codeChar(gem.code)
        << (gem.falling ? " falling" : "") << (gem.landingPause ? " landingPause" : "")
        << (session.paused ? " paused" : "") << (session.timeUp ? " timeUp" : "") << '\n';

    // Board with the tube column after a bar and the pattern beside each row;
    // the falling gem's cell is marked with '*'.
    for (int row = 0; row < BoardRows; ++row)
    {
        for (int column = 0; column < BoardColumns; ++column)
        {
            const bool gemHere = gem.row == row && gem.column == column;
            out << (column == TubeColumn ? " |" : (gemHere ? "*" : " "))
                << codeChar(session.board[row][column]);
        }
        out << "   " << codeChar(session.pattern[row]) << '\n';
    }

    out << "thread";
    for (GemCode code : session.thread)
        out << ' ' << codeChar(code);
    out << "  stop " << session.selectorStop << " kindSpan " << session.kindSpan;
    out << (session.trashAnimating ? " discard" : "") << (session.threadClearing ? " threadClear" : "")
        << (session.patternClearing ? " patternClear" : "") << (session.patternRefilling ? " refill" : "")
        << '\n';
    return out.str();
}
