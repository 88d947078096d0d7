#pragma once

#include "app/AppContext.hpp"
#include "app/Command.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

struct PictureAssets;

// The title page: fades in, waits for Space, Enter or a click, fades out into the menu.
class TitleScreen
{
public:
    // Returns true when the command was a click this screen used up.
    bool respond(const Command& command, AppContext& app, Micros now);
    ScreenSwitch tick(AppContext& app, Micros now);
    void draw(sf::RenderTarget& target, PictureAssets& pictures) const;

    float reading() const { return m_reading; }

private:
    bool m_showing = true;     // waits to be dismissed; false once it fades out
    std::uint8_t m_alpha = 0;  // title page opacity, 0 to 255
    float m_reading = 0.f;     // this frame's transitionClock reading, seconds
};
