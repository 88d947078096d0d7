#include "app/EndScreen.hpp"

ScreenReply EndScreen::enter(AppContext& app, Micros now)
{
    m_leaveRequested = false;
    m_transitionSeconds = app.session.carried.transitionClock.seconds(now);
    beginEndScreen(app.session, now, m_display);
    return {std::nullopt, pressKeys()}; // Space may be held since play, dropping gems
}

ScreenReply EndScreen::respond(const Command& command, AppContext& app, Micros now)
{
    const bool click = command.kind == CommandKind::LeftClick;
    const bool key = command.kind == CommandKind::KeyPress &&
                     (command.key == sf::Keyboard::Space || command.key == sf::Keyboard::Enter);
    if (click)
        app.last.consumeClick();
    // The result stays up until everything it shows is on screen: its auto-repeat would skip what it never showed
    const bool shown = endScreenComplete(app.session, m_display, m_transitionSeconds);
    const bool latched = (app.latches & pressKeys()).any();
    if (key && (latched || !shown))
        return {std::nullopt, pressKeys()};
    if (shown && (key || click))
    {
        m_leaveRequested = true;
        app.session.carried.transitionClock.restart(now);
    }
    // A leave key still held must not press the menu's focused button
    return {std::nullopt, key ? pressKeys() : KeySet()};
}

ScreenReply EndScreen::tick(const FrameInput&, AppContext& app, Micros now)
{
    // Leaving still lets the fade and the music restart run in this frame
    m_transitionSeconds = app.transitionReading = app.session.carried.transitionClock.seconds(now);
    updateEndScreen(app.session, now, app.audio, m_display, m_score);
    if (!m_leaveRequested)
        return {};
    return {ScreenState::Menu};
}

void EndScreen::describe(Scene& scene, const AppContext&) const
{
    const EndDisplay& end = m_display;
    if (end.congratulations)
        scene.add(Picture::Congratulations, static_cast<std::uint8_t>(end.congratulationsAlpha));
    else
        scene.add(Picture::GameOver, static_cast<std::uint8_t>(end.gameOverAlpha));

    switch (end.panel)
    {
        case ResultPanel::None: return;
        case ResultPanel::BestAllLevels: scene.add(Picture::PanelBestAllLevels); break;
        case ResultPanel::AllLevels: scene.add(Picture::PanelAllLevels); break;
        case ResultPanel::BestLost: scene.add(Picture::PanelBestLost); break;
        case ResultPanel::Lost: scene.add(Picture::PanelLost); break;
    }
    if (end.showLevelTens)
        scene.add(endDigit(end.levelDigits[0]), endLevelDigitPositions[0]);
    if (end.showLevelUnits)
        scene.add(endDigit(end.levelDigits[1]), endLevelDigitPositions[1]);
    if (end.showScore)
        scene.add(m_score, endDigit);
}

Wake EndScreen::due(const AppContext& app, Micros now) const
{
    Wake wake = endScreenWake(app.session, m_display, now);
    if (m_leaveRequested)
        wake.soonest(now);
    return wake;
}
