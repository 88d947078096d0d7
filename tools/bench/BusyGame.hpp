#pragma once

// The game-side helpers of the benchmarks: the way into play and the busy board.

#include "BenchCommon.hpp"

#include "app/GameApp.hpp"

namespace bench
{
// The busy playing screen, set straight into the game's record; the next tick lays it out.
inline void makeBusy(GameSession& g, Micros now)
{
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < PlayColumns; ++column)
            g.game.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = busyCell(row, column);
    for (std::size_t slot = 0; slot < ThreadSlots; ++slot)
    {
        g.game.thread[slot] = BusyThread[slot];
        g.game.pattern[slot] = BusyPattern[slot];
    }
    g.game.selectorStop = BusyStop;
    g.game.fallingGem.column = BusyFallingColumn;
    g.game.fallingGem.row = BusyFallingRow;
    g.carried.fallingGem.code = BusyFallingCode;
    g.game.fallingGem.falling = true;
    g.game.fallingGem.landingPause = false;
    g.carried.fallingGem.fallClock.restart(now);
    g.game.score = 12340;
    g.kept.bestScore = 1 << 30; // no best-score write on the way
    g.game.patternsCompleted = 42;
    g.game.pendingPoints = BusyPopupPoints; // the next tick starts the popup
}

// From the title through the menu's start button into play, as a player's input would go.
// `frame(mouse)` runs one frame of the caller's loop with the pointer at `mouse` (window pixels)
// and returns its time; `send` hands the loop a command. False if play was not reached within a minute
// of game time.
template <typename Frame, typename Send>
bool reachPlaying(GameApp& game, sf::Vector2f scale, Frame frame, Send send)
{
    const sf::Vector2i corner(0, 0);
    const sf::Vector2i start(static_cast<int>(910.f * scale.x), static_cast<int>(490.f * scale.y));
    const Micros begun = frame(corner);
    // `atLeast` counted from the first frame on `screen`: the menu's buttons answer only once drawn
    auto waitFor = [&](ScreenState screen, Micros atLeast, sf::Vector2i mouse) {
        Micros now = frame(mouse), from = now;
        for (; game.screen() != screen || now - from < atLeast; now = frame(mouse))
        {
            if (game.screen() != screen)
                from = now;
            if (now - begun > 60000000)
                return false;
        }
        return true;
    };
    if (game.screen() == ScreenState::Title) // on the menu, Space would press its focused button
        send(Command{CommandKind::KeyPress, sf::Keyboard::Space, {}, false});
    // The buttons stand 1.2 s into the menu's fade-in; the pointer waits on the start button.
    if (!waitFor(ScreenState::Menu, 1500000, start))
        return false;
    send(Command{CommandKind::LeftClick, sf::Keyboard::Unknown, start, false});
    frame(start); // the press acts with the pointer on the button
    // Another event replaces the press, which the menu would otherwise act on again each frame.
    send(Command{CommandKind::Other, sf::Keyboard::Unknown, {}, false});
    return waitFor(ScreenState::Playing, 0, corner);
}
} // namespace bench
