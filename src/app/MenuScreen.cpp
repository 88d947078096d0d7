#include "app/MenuScreen.hpp"

#include "app/Drawing.hpp"

void MenuScreen::enter(float reading)
{
    m_fadeIn = true;
    m_pressPending = false;
    m_reading = reading;
    m_buttonsDrawn = false;
    fade(m_alpha, reading, true);
}

void MenuScreen::observe(const Command& command)
{
    m_lastCommand = command;
    m_clickConsumed = false;
    if (command.kind == CommandKind::LeftClick)
        m_pressPending = true;
}

void MenuScreen::respond(const Command& command)
{
    const bool leaveKey = command.kind == CommandKind::KeyPress &&
                          (command.key == sf::Keyboard::Space || command.key == sf::Keyboard::Enter);
    if (m_page == MenuPage::Main || !(leaveKey || command.kind == CommandKind::LeftClick))
        return;
    m_page = MenuPage::Main;
    if (command.kind == CommandKind::LeftClick)
        consumeClick();
}

ScreenSwitch MenuScreen::tick(const FrameInput& input, AppContext& app, Micros now)
{
    GameSession& session = app.session;
    if (!session.gameReady)
        resetGame(session, app.random);

    // Clicks are judged against the picture the player saw: the frame last drawn
    const bool buttonsWereDrawn = m_buttonsDrawn;
    m_reading = session.transitionClock.seconds(now);
    fade(m_alpha, m_reading, m_fadeIn);
    ScreenSwitch next;
    if (m_reading > 1.f && !m_fadeIn)
        next = ScreenState::Playing;

    // Hover and clicks go on in the frame that starts play, and on every page
    for (std::size_t i = 0; i < menuButtons.size(); ++i)
        m_hover[i] = app.hitboxes.hits(menuButtons[i], input.mouse);

    const bool pressed = m_pressPending || (m_lastCommand.kind == CommandKind::LeftClick && !m_clickConsumed);
    m_pressPending = false;
    if (pressed && m_page == MenuPage::Main)
        press(buttonsWereDrawn, app, now);
    m_buttonsDrawn = buttonsDrawn();
    return next;
}

void MenuScreen::press(bool buttonsWereDrawn, AppContext& app, Micros now)
{
    // Buttons answer only once drawn: a click in the fade-in lands on nothing the player can see
    if (m_fadeIn && !buttonsWereDrawn)
    {
        m_clickConsumed = true;
        return;
    }
    if (m_hover[0])
    {
        m_fadeIn = false;
        app.session.transitionClock.restart(now);
    }
    if (m_hover[1])
        m_page = MenuPage::Instructions;
    if (m_hover[2])
        m_page = MenuPage::About;
    if (m_hover[3])
        app.closeRequested = true;
}

void MenuScreen::draw(sf::RenderTarget& target, PictureAssets& pictures) const
{
    if (m_page == MenuPage::Main)
    {
        sf::Sprite& page = pictures.sprite(Picture::MenuPage);
        page.setColor(white(m_alpha));
        target.draw(page);
    }
    if (buttonsDrawn())
    {
        for (std::size_t i = 0; i < menuButtons.size(); ++i)
            target.draw(pictures.sprite(m_hover[i] ? menuHovers[i] : menuButtons[i]));
    }
    else if (m_page == MenuPage::Instructions)
        target.draw(pictures.sprite(Picture::InstructionsPage));
    else if (m_page == MenuPage::About)
        target.draw(pictures.sprite(Picture::AboutPage));
}
