#include "app/EndScreen.hpp"

#include "app/Drawing.hpp"

void EndScreen::enter(AppContext& app, Micros now)
{
    m_leaveRequested = false;
    m_leaveKeyLatch = true; // Space may be held since play, dropping gems
    m_reading = app.session.transitionClock.seconds(now);
    beginEndScreen(app.session, now, m_display);
}

bool EndScreen::respond(const Command& command, AppContext& app, Micros now)
{
    const bool click = command.kind == CommandKind::LeftClick;
    const bool key = command.kind == CommandKind::KeyPress &&
                     (command.key == sf::Keyboard::Space || command.key == sf::Keyboard::Enter);
    // The result stays up until everything it shows is on screen. A key held since play, or
    // pressed before then, is let go first: its auto-repeat would skip what it never showed.
    const bool shown = endScreenComplete(app.session, m_display, m_reading);
    if (key && (m_leaveKeyLatch || !shown))
        m_leaveKeyLatch = true;
    else if (shown && (key || click))
    {
        m_leaveRequested = true;
        app.session.transitionClock.restart(now);
    }
    return click;
}

void EndScreen::releaseLatch(const FrameInput& input)
{
    if (input.spaceKeyReleased && input.enterKeyReleased)
        m_leaveKeyLatch = false;
}

ScreenSwitch EndScreen::tick(AppContext& app, Micros now)
{
    // Leaving still lets the fade and the music restart run in this frame
    m_reading = app.session.transitionClock.seconds(now);
    updateEndScreen(app.session, now, app.audio, m_display, m_score);
    if (!m_leaveRequested)
        return std::nullopt;
    return ScreenState::Menu;
}

void EndScreen::draw(sf::RenderTarget& target, PictureAssets& p) const
{
    const EndDisplay& end = m_display;
    p.sprite(Picture::GameOver).setColor(white(static_cast<std::uint8_t>(end.gameOverAlpha)));
    p.sprite(Picture::Congratulations).setColor(white(static_cast<std::uint8_t>(end.congratulationsAlpha)));
    target.draw(p.sprite(end.congratulations ? Picture::Congratulations : Picture::GameOver));

    switch (end.panel)
    {
        case ResultPanel::None: return;
        case ResultPanel::BestAllLevels: target.draw(p.sprite(Picture::PanelBestAllLevels)); break;
        case ResultPanel::AllLevels: target.draw(p.sprite(Picture::PanelAllLevels)); break;
        case ResultPanel::BestLost: target.draw(p.sprite(Picture::PanelBestLost)); break;
        case ResultPanel::Lost: target.draw(p.sprite(Picture::PanelLost)); break;
    }
    for (std::size_t i = 0; i < p.endLevelDigits.size(); ++i)
        p.endLevelDigits[i].setTexture(p.endDigits[static_cast<std::size_t>(end.levelDigits[i])]);
    if (end.showLevelTens)
        target.draw(p.endLevelDigits[0]);
    if (end.showLevelUnits)
        target.draw(p.endLevelDigits[1]);
    if (end.showScore)
    {
        syncField(p.endScoreField, m_score, p.endDigits, p.scale);
        drawAll(target, p.endScoreField);
    }
}
