#pragma once

#include "app/AssetCatalogue.hpp"
#include "game/GemCode.hpp"
#include "hud/NumberDisplay.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

// Every texture the game loads, in one numbering: the catalogue's pictures, then the HUD digits, the end
// screen's digits and the gem pictures by code.
using TextureId = std::uint8_t;
constexpr std::size_t DigitCount = 10;
constexpr std::size_t TextureCount = PictureCount + 2 * DigitCount + GemCodeCount;
constexpr TextureId textureOf(Picture picture) { return static_cast<TextureId>(picture); }
constexpr TextureId hudDigit(int digit) { return static_cast<TextureId>(PictureCount + static_cast<std::size_t>(digit)); }
constexpr TextureId endDigit(int digit) { return static_cast<TextureId>(PictureCount + DigitCount + static_cast<std::size_t>(digit)); }
constexpr TextureId gemPicture(GemCode code) { return static_cast<TextureId>(PictureCount + 2 * DigitCount + static_cast<std::size_t>(code)); }
static_assert(TextureCount <= 256, "one byte numbers every texture");

// One picture of a frame, in design units, tinted white at an opacity.
struct DrawItem
{
    TextureId texture = 0;
    TextureId frame = 0;        // whose size is the rectangle drawn: a pair button keeps its first picture's
    std::uint8_t alpha = 255;   // 0 to 255
    bool centred = false;       // `position` is the picture's centre, else its top-left corner
    DesignPoint position;
    float zoom = 1.f;           // on top of the design's stretch: the danger pulse, 1 to 1.2

    bool operator==(const DrawItem&) const = default;
};

// What a screen shows, as plain data computed from its state: its pictures in drawing order, later ones
// over earlier ones. One renderer draws it; two scenes that compare equal are the same picture.
struct Scene
{
    static constexpr std::size_t Capacity = 192; // the playing screen's most: 175
    std::array<DrawItem, Capacity> items;
    std::size_t count = 0;

    void clear() { count = 0; }
    void add(const DrawItem& item)
    {
        assert(count < Capacity && "a scene holds every picture of the busiest frame");
        items[count++] = item;
    }
    // A catalogue picture at its own place.
    void add(Picture picture, std::uint8_t alpha = 255)
    {
        add({textureOf(picture), textureOf(picture), alpha, false, pictureInfo(picture).position, 1.f});
    }
    // One picture at its catalogue place, keeping the rectangle of `frame` (the pair's first picture).
    void addInFrame(Picture picture, Picture frame)
    {
        add({textureOf(picture), textureOf(frame), 255, false, pictureInfo(frame).position, 1.f});
    }
    void add(TextureId texture, DesignPoint position, std::uint8_t alpha = 255)
    {
        add({texture, texture, alpha, false, position, 1.f});
    }
    // Every laid-out place of a digit row, the transparent ones too; `digit` numbers the set's textures.
    void add(const DigitField& field, TextureId (*digit)(int))
    {
        for (const DigitPlace& place : field.places)
            if (place.digit >= 0)
                add(digit(place.digit), place.position, place.alpha);
    }

    bool operator==(const Scene& other) const
    {
        return count == other.count && std::equal(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(count),
                                                  other.items.begin());
    }
};
