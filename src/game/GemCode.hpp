#pragma once

#include <array>
#include <cstdint>

// One gem, cell or slot: 0 empty, 1 to 8 ordinary gems, 9 diamond, 10 trash gem.
using GemCode = std::int32_t;

constexpr GemCode EmptyGem = 0;
constexpr GemCode FirstOrdinaryGem = 1;
constexpr GemCode LastOrdinaryGem = 8;
constexpr GemCode DiamondGem = 9;
constexpr GemCode TrashGem = 10;
constexpr int GemCodeCount = 11; // pictures indexed by code, entry 0 the empty thread segment

constexpr int BoardRows = 8;     // row 0 at the top, row 7 at the bottom
constexpr int BoardColumns = 13; // 0 to 11 the play field, 12 inside the trash tube
constexpr int PlayColumns = 12;
constexpr int TubeColumn = 12;
constexpr int ThreadSlots = 8;   // slot 0 the top bead
constexpr int SelectorStops = 13;
constexpr int TrashTubeStop = 12;
constexpr int StartStop = 6;

using Board = std::array<std::array<GemCode, BoardColumns>, BoardRows>; // [row][column]
using Thread = std::array<GemCode, ThreadSlots>;
using TargetPattern = std::array<GemCode, ThreadSlots>;

// The thread moves up one slot: the top bead leaves and is returned, slot 7 empties.
inline GemCode takeTopBead(Thread& thread)
{
    const GemCode top = thread[0];
    for (std::size_t slot = 0; slot + 1 < thread.size(); ++slot)
        thread[slot] = thread[slot + 1];
    thread.back() = 0;
    return top;
}

// The ordinary kinds in play run from code 1 to this one: kindSpan counts the kinds past the first.
constexpr GemCode lastKindInPlay(int kindSpan) { return FirstOrdinaryGem + kindSpan; }

// Points of one bead of a matched thread: lower codes are worth more.
constexpr int beadValue(GemCode code) { return 100 - 10 * code; }
