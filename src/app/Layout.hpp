#pragma once

#include "game/GemCode.hpp"
#include "hud/DesignPoint.hpp"

#include <SFML/System/Vector2.hpp>

#include <array>
#include <cstddef>

// Where play is laid out on the 1920 x 1080 design space; the pictures' own
// places are in the asset catalogue.

// The two factors that stretch the design space over the desktop, each axis on its own.
struct DesignScale
{
    float x = 1.f;
    float y = 1.f;

    sf::Vector2f apply(DesignPoint point) const { return {point.x * x, point.y * y}; }
};

DesignScale computeDesignScale(unsigned desktopWidth, unsigned desktopHeight);

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

// The danger pulse enlarges a column's row-1 gem about the gem's centre.
constexpr DesignPoint dangerPulseCentre(int column)
{
    return {300.f + 120.f * static_cast<float>(column), 203.f};
}
