#pragma once

#include "app/AppContext.hpp"
#include "app/Command.hpp"
#include "hud/Endings.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

struct PictureAssets;

// The end screen: this game's background and, after a delay, its result panel;
// Space, Enter or a click lead back to the menu.
class EndScreen
{
public:
    // The switch frame already shows this game's end, not the last one's.
    void enter(AppContext& app, Micros now);
    // Space, Enter or a click leave once the background has faded in; returns true
    // when the command was a click this screen used up.
    bool respond(const Command& command, AppContext& app, Micros now);
    ScreenSwitch tick(AppContext& app, Micros now);
    // Space and Enter leave again once both are released.
    void releaseLatch(const FrameInput& input);
    bool leaveKeyLatch() const { return m_leaveKeyLatch; }
    void draw(sf::RenderTarget& target, PictureAssets& pictures) const;

    const EndDisplay& display() const { return m_display; }
    float reading() const { return m_reading; }

private:
    EndDisplay m_display;
    DigitField m_score;           // the final score's digits
    bool m_leaveRequested = false;
    bool m_leaveKeyLatch = false; // a leave key went down too early, or was held from play
    float m_reading = 0.f;        // this frame's transitionClock reading, seconds
};
