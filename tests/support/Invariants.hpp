#pragma once

// What the game's record keeps true from frame to frame, for the command fuzzer and the recorded game's test.

#include "app/GameApp.hpp"

// Every gem in play: board (with the tube) and thread, and the falling gem while it shows.
inline int gemCount(const GameSession& g)
{
    int count = g.game.fallingGem.falling || g.game.paused ? 1 : 0;
    for (const auto& row : g.game.board)
        for (GemCode code : row)
            count += code != EmptyGem;
    for (GemCode code : g.game.thread)
        count += code != EmptyGem;
    return count;
}

inline bool animating(const GameSession& g)
{
    return g.game.trashAnimating || g.game.threadClearing || g.game.patternClearing;
}

// What holds after every frame, or why not; `before` is the record after the previous one.
inline const char* brokenInvariant(const GameApp& app, const GameSession& before, ScreenState screenBefore)
{
    const GameSession& g = app.session();
    auto inRange = [](int value, int low, int high) { return value >= low && value <= high; };
    if (!inRange(g.game.selectorStop, 0, SelectorStops - 1) || !inRange(g.game.fallingGem.column, 0, PlayColumns - 1) ||
        !inRange(g.game.fallingGem.row, 0, BoardRows - 1) || !inRange(g.carried.fallingGem.code, 1, TrashGem) ||
        !inRange(g.game.level, 1, 60) || !inRange(g.game.secondsLeft, 0, 60) || !inRange(g.game.kindSpan, 2, 7))
        return "an index or counter out of its range";
    for (const auto& row : g.game.board)
        for (GemCode code : row)
            if (!inRange(code, EmptyGem, TrashGem))
                return "a board cell holds no gem code";
    for (std::size_t slot = 0; slot < ThreadSlots; ++slot)
        if (!inRange(g.game.thread[slot], EmptyGem, TrashGem) || !inRange(g.game.pattern[slot], EmptyGem, TrashGem) ||
            (!animating(g) && slot > 0 && g.game.thread[slot] != EmptyGem && g.game.thread[slot - 1] == EmptyGem))
            return "the thread is not packed from slot 0 outside a clear, or holds no gem code";

    // Within one game (a game is prepared on the menu) the score only rises, and gems come one
    // at a time: a spawn adds one, a pull, push or landing moves one; only a clear, a discard
    // and the endings take gems away.
    if (app.screen() != ScreenState::Playing || screenBefore != ScreenState::Playing)
        return nullptr;
    if (g.game.score < before.game.score)
        return "the score fell";
    const int added = gemCount(g) - gemCount(before);
    const bool takingAway = animating(g) || animating(before) || g.game.overflowEnding || g.game.timeUp;
    if (added > 1 || (added < 0 && !takingAway))
        return "gems appeared or vanished";
    return nullptr;
}
