#pragma once

#include "game/Animations.hpp"
#include "game/Controls.hpp"
#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"
#include "../support/AudioRecorder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// Hands out draws in script order. A draw past the end fails the test, so a
// rule that draws more, or in another order, cannot pass by accident.
struct ScriptedRandom
{
    ScriptedRandom(std::initializer_list<int> draws = {}) : script(draws) {}
    ScriptedRandom(const ScriptedRandom&) = delete;
    void add(std::initializer_list<int> draws) { script.insert(script.end(), draws); }
    std::size_t remaining() const { return script.size() - used; }

    std::vector<int> script;
    std::size_t used = 0;
    RandomDraw draw = [this] {
        EXPECT_LT(used, script.size()) << "random draw past the end of the script";
        return used < script.size() ? script[used++] : 0;
    };
};

// Codes are written as dumpSession prints them: '.' empty, '1' to '8', 'D' diamond, 'T' trash.
// Thread or pattern from "3122", slot 0 first; a column from the same string read bottom-up.
inline Thread beads(const std::string& codes)
{
    Thread slots{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        slots.at(i) = static_cast<GemCode>(std::string(".12345678DT").find(codes[i]));
    return slots;
}

inline void stack(Board& board, int column, const std::string& bottomUp)
{
    const Thread cells = beads(bottomUp);
    for (int row = 0; row < BoardRows; ++row)
        board[BoardRows - 1 - row][column] = cells[row];
}

// The reverse, trailing empties trimmed: a '.' left inside is a gap, a '?' a code out of range.
template <typename Cells>
std::string text(const Cells& cells)
{
    std::string out;
    for (GemCode code : cells)
        out += code >= EmptyGem && code <= TrashGem ? ".12345678DT"[code] : '?';
    return out.erase(out.find_last_not_of('.') + 1);
}

inline std::string stackOf(const Board& board, int column)
{
    Thread cells{};
    for (int row = 0; row < BoardRows; ++row)
        cells[row] = board[BoardRows - 1 - row][column];
    return text(cells);
}

// A session as at program start, with frame time, draws and audio under the test's control.
struct GameTest : ::testing::Test
{
    Micros now = 10'000'000; // away from 0, so restarts are visible
    ScriptedRandom random;
    AudioRecorder recorder;
    GameSession session = started();
    const FallingGem& gem = session.game.fallingGem;
    const FallingKind& kind = session.carried.fallingGem;

    // Its falling gem at the top of the selected column; the draws run past their ranges.
    GameSession started(GemCode code = 1)
    {
        GameSession fresh;
        ScriptedRandom draws{StartStop + PlayColumns, code + 2};
        startSession(fresh, draws.draw, now);
        return fresh;
    }
    Micros advance(double seconds) { return now += microsFromSeconds(seconds); }
    FallResult update(double dt) { return updateFallingGem(session, advance(dt), random.draw, recorder.port); }
    void frame(double dt) { stepThreadAnimations(session, advance(dt), random.draw); }
};
