#include "app/MenuScreen.hpp"

#include "app/Fade.hpp"

ScreenReply MenuScreen::enter(AppContext& app, Micros)
{
    m_fadeIn = true;
    app.last.pressPending = false;
    m_reading = app.transitionReading;
    m_buttonsDrawn = false;
    fade(m_alpha, m_reading, true);
    return {};
}

ScreenReply MenuScreen::respond(const Command& command, AppContext& app, Micros)
{
    const bool leaveKey = command.kind == CommandKind::KeyPress &&
                          (command.key == sf::Keyboard::Space || command.key == sf::Keyboard::Enter);
    if (app.menuPage == MenuPage::Main || !(leaveKey || command.kind == CommandKind::LeftClick))
        return {};
    app.menuPage = MenuPage::Main;
    if (command.kind == CommandKind::LeftClick)
        app.last.consumeClick();
    return {};
}

ScreenReply MenuScreen::tick(const FrameInput& input, AppContext& app, Micros now)
{
    GameSession& session = app.session;
    if (!session.gameReady)
        resetGame(session, app.random);

    // Clicks are judged against the picture the player saw: the frame last drawn
    const bool buttonsWereDrawn = m_buttonsDrawn;
    m_reading = app.transitionReading = session.transitionClock.seconds(now);
    fade(m_alpha, m_reading, m_fadeIn);
    ScreenReply reply;
    if (m_reading > FadeSeconds && !m_fadeIn)
        reply.next = ScreenState::Playing;

    // Hover and clicks go on in the frame that starts play, and on every page
    for (std::size_t i = 0; i < menuButtons.size(); ++i)
        m_hover[i] = app.hitboxes.hits(menuButtons[i], input.mouse);

    // The buttons act on the last command received, not on each click: a press that stays the last command
    // presses again in every frame until another event replaces it. A press released within the same frame
    // still counts once (a tap).
    LastCommand& last = app.last;
    const bool pressed = last.pressPending || (last.command.kind == CommandKind::LeftClick && !last.clickConsumed);
    last.pressPending = false;
    if (pressed && app.menuPage == MenuPage::Main)
        press(buttonsWereDrawn, app, now);
    m_buttonsDrawn = buttonsDrawn(app.menuPage);
    return reply;
}

void MenuScreen::press(bool buttonsWereDrawn, AppContext& app, Micros now)
{
    // Buttons answer only once drawn: a click in the fade-in lands on nothing the player can see
    if (m_fadeIn && !buttonsWereDrawn)
    {
        app.last.clickConsumed = true;
        return;
    }
    if (m_hover[0])
    {
        m_fadeIn = false;
        app.session.transitionClock.restart(now);
    }
    if (m_hover[1])
        app.menuPage = MenuPage::Instructions;
    if (m_hover[2])
        app.menuPage = MenuPage::About;
    if (m_hover[3])
        app.closeRequested = true;
}

void MenuScreen::describe(Scene& scene, const AppContext& app) const
{
    if (app.menuPage == MenuPage::Main)
        scene.add(Picture::MenuPage, m_alpha);
    if (m_buttonsDrawn)
    {
        for (std::size_t i = 0; i < menuButtons.size(); ++i)
            scene.add(m_hover[i] ? menuHovers[i] : menuButtons[i]);
    }
    else if (app.menuPage == MenuPage::Instructions)
        scene.add(Picture::InstructionsPage);
    else if (app.menuPage == MenuPage::About)
        scene.add(Picture::AboutPage);
}

Wake MenuScreen::due(const AppContext& app, Micros now) const
{
    const Timer& clock = app.session.transitionClock;
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
