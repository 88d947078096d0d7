#pragma once

#include "app/Assets.hpp"
#include "hud/NumberDisplay.hpp"

#include <SFML/Graphics.hpp>

// Pictures fade through the alpha of a white tint.
inline sf::Color white(std::uint8_t alpha) { return sf::Color(255, 255, 255, alpha); }

// A digit row follows its layout: places never laid out keep no texture.
inline void syncField(DigitSprites& sprites, const DigitField& field, const DigitSet& set, const DesignScale& scale)
{
    for (std::size_t i = 0; i < sprites.size(); ++i)
    {
        const DigitPlace& place = field.places[i];
        if (place.digit < 0)
            continue;
        sprites[i].setTexture(set[static_cast<std::size_t>(place.digit)]);
        sprites[i].setScale(scale.x, scale.y);
        sprites[i].setPosition(scale.apply(place.position));
        sprites[i].setColor(white(place.alpha));
    }
}

// Every place of a row, the transparent ones too.
inline void drawAll(sf::RenderTarget& target, const DigitSprites& sprites)
{
    for (const auto& sprite : sprites)
        target.draw(sprite);
}

// Fade rule: alpha written only during the first second, so a finished fade-in
// stays just below 255.
inline void fade(std::uint8_t& alpha, float t, bool fadingIn)
{
    if (t < 1.f)
        alpha = static_cast<std::uint8_t>((fadingIn ? t : 1.f - t) * 255.f);
}
