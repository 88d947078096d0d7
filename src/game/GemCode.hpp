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

// Points of one bead of a matched thread: lower codes are worth more.
constexpr int beadValue(GemCode code) { return 100 - 10 * code; }

// A point of the 1920 x 1080 design space, y downwards.
struct DesignPoint
{
    float x = 0.f;
    float y = 0.f;
};

// Design x of the selector's 13 stops; stop 12 lines up with the tube column.
constexpr std::array<float, SelectorStops> laneX = {
    270.f, 390.f, 510.f, 630.f, 750.f, 870.f, 990.f, 1110.f, 1230.f, 1350.f, 1470.f, 1590.f, 1777.f};

// Top-left corner of board cell (row, column).
constexpr DesignPoint cellPosition(int row, int column)
{
    return {column == TubeColumn ? 1777.f : 270.f + 120.f * static_cast<float>(column),
            113.f + 60.f * static_cast<float>(row)};
}

// Thread slot i hangs below the selected stop, slot 0 just under board row 7.
constexpr float ThreadTop = 595.f;
constexpr DesignPoint threadSlotPosition(int slot, int stop)
{
    return {laneX[static_cast<std::size_t>(stop)], ThreadTop + 60.f * static_cast<float>(slot)};
}

// The target pattern stands at the left edge, slot i beside board row i.
constexpr DesignPoint patternSlotPosition(int slot)
{
    return {60.f, 113.f + 60.f * static_cast<float>(slot)};
}
