#include "app/TitleScreen.hpp"

#include "app/Drawing.hpp"

bool TitleScreen::respond(const Command& command, AppContext& app, Micros now)
{
    const bool dismiss = command.kind == CommandKind::LeftClick ||
                         (command.kind == CommandKind::KeyPress &&
                          (command.key == sf::Keyboard::Space || command.key == sf::Keyboard::Enter));
    if (dismiss && m_showing)
    {
        m_showing = false;
        app.session.transitionClock.restart(now);
    }
    // A press held through the fades must not land on a menu button the player has not seen
    return command.kind == CommandKind::LeftClick;
}

ScreenSwitch TitleScreen::tick(AppContext& app, Micros now)
{
    m_reading = app.session.transitionClock.seconds(now);
    fade(m_alpha, m_reading, m_showing);
    if (!(m_reading > 1.f && !m_showing))
        return std::nullopt;
    app.session.transitionClock.restart(now);
    return ScreenState::Menu;
}

void TitleScreen::draw(sf::RenderTarget& target, PictureAssets& pictures) const
{
    sf::Sprite& page = pictures.sprite(Picture::StartPage);
    page.setColor(white(m_alpha));
    target.draw(page);
}
