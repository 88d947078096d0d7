#pragma once

#include "app/Screen.hpp"

#include <array>

// The menu with its four buttons, and the instructions and about pages. Its first frame after a game
// prepares the next one.
class MenuScreen
{
public:
    // The menu fades in from the reading of the frame that switched here.
    ScreenReply enter(AppContext& app, Micros now);
    // Space, Enter or a click leave a sub-page.
    ScreenReply respond(const Command& command, AppContext& app, Micros now);
    ScreenReply tick(const FrameInput& input, AppContext& app, Micros now);
    void describe(Scene& scene, const AppContext& app) const;
    Wake due(const AppContext& app, Micros now) const;

    bool fadingIn() const { return m_fadeIn; }

private:
    // One of the main page's buttons pressed: 0 start game, 1 instructions, 2 about, 3 quit.
    void press(std::size_t button, AppContext& app, Micros now);
    // The buttons appear 0.2 s after the fade-in has finished, on the main page, and vanish once start game
    // is pressed.
    bool buttonsDrawn(MenuPage page) const { return m_fadeIn && m_transitionSeconds > ButtonsSeconds && page == MenuPage::Main; }

    static constexpr float ButtonsSeconds = 1.2f;

    bool m_fadeIn = false;         // fades in or stands; false: fades out toward play
    std::uint8_t m_alpha = 0;      // menu page opacity, 0 to 255
    float m_transitionSeconds = 0.f;         // this frame's transitionClock reading, seconds
    bool m_buttonsDrawn = false;   // this frame's picture shows the buttons
    std::array<bool, 4> m_hover{}; // start, instructions, about, quit under the mouse
    std::size_t m_focus = 0;       // the button the keys press, drawn in its hover look: 0 to 3
    sf::Vector2i m_lastMouse;      // window pixels, at the last frame
    bool m_focusFollowsPointer = true; // the next frame gives the focus to a button under the pointer
};
