#include "app/MenuScreen.hpp"

#include "app/Fade.hpp"

#include <algorithm>

ScreenReply MenuScreen::enter(AppContext& app, Micros)
{
    m_fadeIn = true;
    app.last.pressPending = false;
    m_transitionSeconds = app.transitionReading;
    m_buttonsDrawn = false;
    m_focus = 0;
    m_focusFollowsPointer = true;
    fade(m_alpha, m_transitionSeconds, true);
    return {};
}

ScreenReply MenuScreen::respond(const Command& command, AppContext& app, Micros now)
{
    const bool key = command.kind == CommandKind::KeyPress;
    const bool pressKey = key && (command.key == sf::Keyboard::Space || command.key == sf::Keyboard::Enter);
    if (app.menuPage != MenuPage::Main)
    {
        // Space, Enter, a click or a gamepad's back leave a page
        if (!(pressKey || command.kind == CommandKind::LeftClick || command.kind == CommandKind::Back))
            return {};
        app.menuPage = MenuPage::Main;
        if (command.kind == CommandKind::LeftClick)
            app.last.consumeClick();
        return {std::nullopt, pressKey ? pressKeys() : KeySet()};
    }

    // The keyboard's focus: the arrows move it through the buttons in their order, Space and Enter press it as
    // a click would. A press key held since it acted (on the title, a page, the end screen) acts once only.
    const std::size_t count = menuButtons.size();
    if (key && (command.key == sf::Keyboard::Up || command.key == sf::Keyboard::Left))
        m_focus = (m_focus + count - 1) % count;
    else if (key && (command.key == sf::Keyboard::Down || command.key == sf::Keyboard::Right))
        m_focus = (m_focus + 1) % count;
    else if (pressKey && !(app.latches & pressKeys()).any())
    {
        if (m_buttonsDrawn)
            press(m_focus, app, now);
        return {std::nullopt, pressKeys()};
    }
    else if (pressKey)
        return {std::nullopt, pressKeys()};
    return {};
}

ScreenReply MenuScreen::tick(const FrameInput& input, AppContext& app, Micros now)
{
    GameSession& session = app.session;
    if (!session.game.gameReady)
        resetGame(session, app.random);

    // Clicks are judged against the picture the player saw: the frame last drawn
    const bool buttonsWereDrawn = m_buttonsDrawn;
    m_transitionSeconds = app.transitionReading = session.carried.transitionClock.seconds(now);
    fade(m_alpha, m_transitionSeconds, m_fadeIn);
    ScreenReply reply;
    if (m_transitionSeconds > FadeSeconds && !m_fadeIn)
        reply.next = ScreenState::Playing;

    // Hover and clicks go on in the frame that starts play, and on every page; the pointer moving onto a button
    // takes the focus there, as does the pointer resting on one as the menu appears
    const bool pointerMoved = m_focusFollowsPointer || input.mouse != m_lastMouse;
    m_focusFollowsPointer = false;
    m_lastMouse = input.mouse;
    for (std::size_t i = 0; i < menuButtons.size(); ++i)
    {
        m_hover[i] = app.hitboxes.hits(menuButtons[i], input.mouse);
        if (m_hover[i] && pointerMoved)
            m_focus = i;
    }

    // The buttons act on the last command received, not on each click: a press that stays the last command
    // presses again in every frame until another event replaces it. A press released within the same frame
    // still counts once (a tap).
    LastCommand& last = app.last;
    const bool pressed = last.pressPending || (last.command.kind == CommandKind::LeftClick && !last.clickConsumed);
    last.pressPending = false;
    if (pressed && app.menuPage == MenuPage::Main)
    {
        // Buttons answer only once drawn: a click in the fade-in lands on nothing the player can see
        if (m_fadeIn && !buttonsWereDrawn)
            last.clickConsumed = true;
        else
            for (std::size_t i = 0; i < menuButtons.size(); ++i)
                if (m_hover[i])
                    press(i, app, now);
    }
    m_buttonsDrawn = buttonsDrawn(app.menuPage);
    return reply;
}

void MenuScreen::press(std::size_t button, AppContext& app, Micros now)
{
    switch (button)
    {
        case 0:
            m_fadeIn = false;
            app.session.carried.transitionClock.restart(now);
            break;
        case 1: app.menuPage = MenuPage::Instructions; break;
        case 2: app.menuPage = MenuPage::About; break;
        default: app.closeRequested = true; break;
    }
}

void MenuScreen::describe(Scene& scene, const AppContext& app) const
{
    if (app.menuPage == MenuPage::Main)
        scene.add(Picture::MenuPage, m_alpha);
    if (m_buttonsDrawn)
    {
        for (std::size_t i = 0; i < menuButtons.size(); ++i)
            scene.add(i == m_focus ? menuHovers[i] : menuButtons[i]);
    }
    else if (app.menuPage == MenuPage::Instructions)
        scene.add(Picture::InstructionsPage);
    else if (app.menuPage == MenuPage::About)
        scene.add(Picture::AboutPage);
}

Wake MenuScreen::due(const AppContext& app, Micros now) const
{
    const Timer& clock = app.session.carried.transitionClock;
    Wake wake;
    wake.moving = clock.seconds(now) < FadeSeconds;
    if (!m_fadeIn)
        wake.soonest(clock.passes(FadeSeconds));
    else if (!m_buttonsDrawn && app.menuPage == MenuPage::Main)
        wake.soonest(clock.passes(ButtonsSeconds));
    // A press that stays the last command needs no frames of its own: pressed again, start game only restarts
    // the fade-out, whose frames come anyway, and the other buttons do what they did
    return wake;
}
