#pragma once

#include "app/AppContext.hpp"
#include "app/Command.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <array>

struct FrameInput;
struct PictureAssets;

// The menu with its four buttons, and the instructions and about pages. Its
// first frame after a game prepares the next one.
class MenuScreen
{
public:
    // The menu fades in; `reading` is the transitionClock reading of the frame that switched here.
    void enter(float reading);

    // Every command, before any screen answers it: the buttons read the last one.
    void observe(const Command& command);
    // A click another screen used up; the buttons beneath must not see it.
    void consumeClick()
    {
        m_clickConsumed = true;
        m_pressPending = false;
    }

    // Space, Enter or a click leave a sub-page.
    void respond(const Command& command);
    ScreenSwitch tick(const FrameInput& input, AppContext& app, Micros now);
    void draw(sf::RenderTarget& target, PictureAssets& pictures) const;

    MenuPage page() const { return m_page; }
    void showMainPage() { m_page = MenuPage::Main; }
    bool fadingIn() const { return m_fadeIn; }

private:
    // The main page's buttons under a press, in their order.
    void press(bool buttonsWereDrawn, AppContext& app, Micros now);

    // The buttons appear 0.2 s after the fade-in has finished, on the main page, and vanish once
    // start game is pressed.
    bool buttonsDrawn() const { return m_fadeIn && m_reading > 1.2f && m_page == MenuPage::Main; }

    MenuPage m_page = MenuPage::Main;
    bool m_fadeIn = false;          // fades in or stands; false: fades out toward play
    std::uint8_t m_alpha = 0;       // menu page opacity, 0 to 255
    float m_reading = 0.f;          // this frame's transitionClock reading, seconds
    bool m_buttonsDrawn = false;    // this frame's picture shows the buttons
    std::array<bool, 4> m_hover{};  // start, instructions, about, quit under the mouse

    // The buttons act on the last command received, not on each click: a press
    // that stays the last command presses again in every frame until another
    // event replaces it. A press released within the same frame still counts
    // once (a tap). A click that left a sub-page, the end screen or the title,
    // or that came before the buttons were drawn, counts as consumed, so the
    // button beneath it stays unpressed.
    Command m_lastCommand;
    bool m_clickConsumed = false;
    bool m_pressPending = false; // an unconsumed press arrived since the last update
};
