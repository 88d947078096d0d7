#include "app/TitleScreen.hpp"

#include "app/Fade.hpp"

ScreenReply TitleScreen::respond(const Command& command, AppContext& app, Micros now)
{
    const bool dismiss = command.kind == CommandKind::LeftClick ||
                         (command.kind == CommandKind::KeyPress &&
                          (command.key == sf::Keyboard::Space || command.key == sf::Keyboard::Enter));
    if (dismiss && m_showing)
    {
        m_showing = false;
        app.session.carried.transitionClock.restart(now);
    }
    // A press held through the fades must not land on a menu button the player has not seen
    if (command.kind == CommandKind::LeftClick)
        app.last.consumeClick();
    ScreenReply reply;
    if (dismiss && command.kind == CommandKind::KeyPress)
        reply.latch.set(sf::Keyboard::Space).set(sf::Keyboard::Enter);
    return reply;
}

ScreenReply TitleScreen::tick(const FrameInput&, AppContext& app, Micros now)
{
    const float reading = app.transitionReading = app.session.carried.transitionClock.seconds(now);
    fade(m_alpha, reading, m_showing);
    if (!(reading > FadeSeconds && !m_showing))
        return {};
    app.session.carried.transitionClock.restart(now);
    return {ScreenState::Menu};
}

void TitleScreen::describe(Scene& scene, const AppContext&) const
{
    scene.add(Picture::StartPage, m_alpha);
}

Wake TitleScreen::due(const AppContext& app, Micros now) const
{
    Wake wake;
    wake.moving = app.session.carried.transitionClock.seconds(now) < FadeSeconds;
    if (!m_showing)
        wake.soonest(app.session.carried.transitionClock.passes(FadeSeconds));
    return wake;
}
