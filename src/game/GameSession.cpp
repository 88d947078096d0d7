#include "game/GameSession.hpp"

#include "game/Animations.hpp"

#include <sstream>

void startSession(GameSession& session, RandomDraw& random, Micros now)
{
    // Every timed concern counts from program start.
    session.carried.fallingGem.fallClock.restart(now);
    session.carried.fallingGem.landingClock.restart(now);
    session.game.levelClock.restart(now);
    session.carried.animationClock.restart(now);
    session.carried.transitionClock.restart(now);
    session.carried.selectorClock.restart(now);
    session.kept.pulseClock.restart(now);
    session.carried.endClock.restart(now);
    session.kept.levelBlinkClock.restart(now);

    // The generator's first two draws: the column, then the kind.
    session.game.fallingGem.row = 0;
    session.game.fallingGem.column = random() % PlayColumns;
    session.carried.fallingGem.code = FirstOrdinaryGem + random() % 3;
}

void resetGame(GameSession& session, RandomDraw& random)
{
    // Everything of the last game goes with it, a landing pause, points and a popup it was left in too; what a
    // game hands on (the falling gem's kind and clocks, a refill, the shared clocks) and what the program keeps
    // stay. Then the draws, in their order: the falling gem's column, the pattern from slot 0.
    session.game = GameRecord{};
    session.game.gameReady = true;
    session.game.fallingGem.column = random() % PlayColumns;
    dealFirstPattern(session, random);
}

void beginPlay(GameSession& session, Micros now)
{
    // The menu may stand for a while after the reset: level 1 gets its whole minute
    session.game.levelClock.restart(now);
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

std::string boardPicture(const GameSession& session)
{
    const FallingGem& gem = session.game.fallingGem;
    std::ostringstream out;

    out << "gem col " << gem.column << " row " << gem.row << " code " << codeChar(session.carried.fallingGem.code)
        << (gem.falling ? " falling" : "") << (gem.landingPause ? " landingPause" : "")
        << (session.game.paused ? " paused" : "") << (session.game.timeUp ? " timeUp" : "") << '\n';

    // Board with the tube column after a bar and the pattern beside each row;
    // the falling gem's cell is marked with '*'.
    for (int row = 0; row < BoardRows; ++row)
    {
        for (int column = 0; column < BoardColumns; ++column)
        {
            const bool gemHere = gem.row == row && gem.column == column;
            out << (column == TubeColumn ? " |" : (gemHere ? "*" : " "))
                << codeChar(session.game.board[row][column]);
        }
        out << "   " << codeChar(session.game.pattern[row]) << '\n';
    }

    out << "thread";
    for (GemCode code : session.game.thread)
        out << ' ' << codeChar(code);
    out << "  stop " << session.game.selectorStop << " kindSpan " << session.game.kindSpan;
    out << (session.game.trashAnimating ? " discard" : "") << (session.game.threadClearing ? " threadClear" : "")
        << (session.game.patternClearing ? " patternClear" : "") << (session.carried.patternRefilling ? " refill" : "")
        << '\n';
    return out.str();
}

std::string dumpSession(const GameSession& session)
{
    const GameRecord& g = session.game;
    const CarriedRecord& c = session.carried;
    const KeptRecord& k = session.kept;
    const auto clock = [](const Timer& timer) { return std::to_string(timer.start) + " µs"; };
    std::ostringstream out;
    out << boardPicture(session) << std::boolalpha << "game: level " << g.level << ", " << g.secondsLeft
        << " s left, levelClock " << clock(g.levelClock) << ", fallSpeed " << g.fallSpeed << ", score " << g.score
        << ", pendingPoints " << g.pendingPoints << ", patternsCompleted " << g.patternsCompleted << ", popup "
        << g.popupPoints << " at step " << g.popupStep << ", gameReady " << g.gameReady << ", paused " << g.paused
        << ", timeUp " << g.timeUp << ", overflowEnding " << g.overflowEnding << ", endMusicRestarted "
        << g.endMusicRestarted << ", falling " << g.fallingGem.falling << ", landingPause " << g.fallingGem.landingPause
        << "\ncarried: fallClock " << clock(c.fallingGem.fallClock) << ", landingClock " << clock(c.fallingGem.landingClock)
        << ", popupX " << c.popupX << ", animationClock " << clock(c.animationClock) << ", transitionClock "
        << clock(c.transitionClock) << ", selectorClock " << clock(c.selectorClock) << ", endClock " << clock(c.endClock)
        << "\nkept: bestScore " << k.bestScore << ", soundOn " << k.soundOn << ", musicOn " << k.musicOn << ", pulseClock "
        << clock(k.pulseClock) << ", levelBlinking " << k.levelBlinking << ", levelBlinkClock " << clock(k.levelBlinkClock)
        << '\n';
    return out.str();
}
