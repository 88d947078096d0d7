#pragma once

#include "app/Screen.hpp"

// The title page: fades in, waits for Space, Enter or a click, fades out into the menu.
class TitleScreen
{
public:
    ScreenReply enter(AppContext&, Micros) { return {}; }
    ScreenReply respond(const Command& command, AppContext& app, Micros now);
    ScreenReply tick(const FrameInput& input, AppContext& app, Micros now);
    void describe(Scene& scene, const AppContext& app) const;
    Wake due(const AppContext& app, Micros now) const;

private:
    bool m_showing = true;    // waits to be dismissed; false once it fades out
    std::uint8_t m_alpha = 0; // title page opacity, 0 to 255
};
