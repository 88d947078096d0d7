#pragma once

#include "DesignLayout.hpp"
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

// Design x of the selector's 13 stops: under the 12 board columns, and stop 12 at the tube column.
constexpr std::array<float, SelectorStops> makeLaneX()
{
    std::array<float, SelectorStops> x{};
    for (std::size_t stop = 0; stop + 1 < x.size(); ++stop)
        x[stop] = layout::Board.origin.x + layout::Board.across * static_cast<float>(stop);
    x.back() = layout::TrashColumn.x;
    return x;
}
constexpr std::array<float, SelectorStops> laneX = makeLaneX();

// Top-left corner of board cell (row, column).
constexpr DesignPoint cellPosition(int row, int column)
{
    return {laneX[static_cast<std::size_t>(column)], layout::Board.origin.y + layout::Board.down * static_cast<float>(row)};
}

// Thread slot i hangs below the selected stop, slot 0 just under board row 7.
constexpr float ThreadTop = layout::Thread.origin.y;
constexpr DesignPoint threadSlotPosition(int slot, int stop)
{
    return {laneX[static_cast<std::size_t>(stop)], ThreadTop + layout::Thread.down * static_cast<float>(slot)};
}

// The target pattern stands at the left edge, slot i beside board row i.
constexpr DesignPoint patternSlotPosition(int slot)
{
    return {layout::Pattern.origin.x, layout::Pattern.origin.y + layout::Pattern.down * static_cast<float>(slot)};
}

// The danger pulse enlarges a column's row-1 gem about the gem's centre.
constexpr DesignPoint dangerPulseCentre(int column)
{
    const DesignPoint cell = cellPosition(1, column);
    return {cell.x + layout::Gem.width / 2.f, cell.y + layout::Gem.height / 2.f};
}
