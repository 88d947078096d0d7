#pragma once

#include "app/Screen.hpp"
#include "hud/Endings.hpp"

// The end screen: this game's background and, after a delay, its result panel; Space, Enter or a click lead
// back to the menu once everything is shown.
class EndScreen
{
public:
    // The switch frame already shows this game's end, not the last one's. Space may be held since play.
    ScreenReply enter(AppContext& app, Micros now);
    // Space, Enter or a click leave once the result is up; a leave key held since play, or pressed before
    // then, must be let go first.
    ScreenReply respond(const Command& command, AppContext& app, Micros now);
    ScreenReply tick(const FrameInput& input, AppContext& app, Micros now);
    void describe(Scene& scene, const AppContext& app) const;
    Wake due(const AppContext& app, Micros now) const;

    const EndDisplay& display() const { return m_display; }

private:
    EndDisplay m_display;
    DigitField m_score; // the final score's digits
    bool m_leaveRequested = false;
    float m_transitionSeconds = 0.f; // this frame's transitionClock reading, seconds
};
