#include "app/GameApp.hpp"

#include "hud/HighScore.hpp"

#include <utility>

namespace
{
constexpr float CursorIdleSeconds = 2.f;
} // namespace

GameApp::GameApp(AppContext context) : m_app(std::move(context))
{
}

void GameApp::start(Micros now, sf::Vector2i mouse)
{
    m_lastMousePosition = mouse;
    m_cursorIdleClock.restart(now);
    startSession(m_app.session, m_app.random, now);
    m_app.session.bestScore = m_app.bestScoreFile.load();
}

void GameApp::respond(const Command& command, Micros now)
{
    m_menu.observe(command);
    if (command.kind == CommandKind::Close)
        m_app.closeRequested = true;

    // Escape means the same on every screen: back from a sub-page, else quit. It acts once
    // per press, so a held key's auto-repeat cannot quit from the menu it just returned to.
    if (command.kind == CommandKind::KeyPress && command.key == sf::Keyboard::Escape)
    {
        if (!m_escapeKeyLatch)
        {
            if (m_menu.page() == MenuPage::Main)
                m_app.closeRequested = true;
            else
                m_menu.showMainPage();
        }
        m_escapeKeyLatch = true;
    }
    else if (command.kind == CommandKind::KeyPress)
        route(command, now);

    // Space is read as held after every event, so its auto-repeat keeps dropping gems
    if (command.spaceHeld && m_screen == ScreenState::Playing)
        m_playing.holdSpace(m_app, now);

    if (command.kind == CommandKind::LeftClick)
        route(command, now);

    // A focus loss where play cannot pause (a landing pause, the fade toward play) is owed until it can,
    // unless the player is back first
    if (command.kind == CommandKind::FocusLost)
        m_focusPauseOwed = !(m_screen == ScreenState::Playing && m_playing.holdForFocusLoss(m_app));
    else if (command.kind == CommandKind::FocusGained)
        m_focusPauseOwed = false;
    else if (command.kind == CommandKind::Resized)
        resize({static_cast<unsigned>(command.position.x), static_cast<unsigned>(command.position.y)});
}

void GameApp::resize(sf::Vector2u size)
{
    m_app.hitboxes.scale = computeDesignScale(size.x, size.y);
}

void GameApp::route(const Command& command, Micros now)
{
    switch (m_screen)
    {
        case ScreenState::Title:
            if (m_title.respond(command, m_app, now))
                m_menu.consumeClick();
            break;
        case ScreenState::Menu: m_menu.respond(command); break;
        case ScreenState::Playing: switchTo(m_playing.respond(command, m_app, now), now); break;
        case ScreenState::End:
            if (m_end.respond(command, m_app, now))
                m_menu.consumeClick();
            break;
    }
}

bool GameApp::tick(const FrameInput& input, Micros now)
{
    updateCursor(input, now);
    if (m_screen != ScreenState::End)
        m_lastMousePosition = input.mouse;

    switch (m_screen)
    {
        case ScreenState::Title: switchTo(m_title.tick(m_app, now), now); break;
        case ScreenState::Menu: switchTo(m_menu.tick(input, m_app, now), now); break;
        case ScreenState::Playing:
        {
            // The first frame where P would be accepted takes an owed focus pause, as an event would
            if (m_focusPauseOwed && m_playing.holdForFocusLoss(m_app))
                m_focusPauseOwed = false;
            const PlayingTick played = m_playing.tick(m_app, now);
            if (played.frozen)
                return false;
            switchTo(played.next, now);
            break;
        }
        case ScreenState::End: switchTo(m_end.tick(m_app, now), now); break;
    }

    if (input.escapeKeyReleased)
        m_escapeKeyLatch = false;
    m_playing.releaseLatches(input);
    m_end.releaseLatch(input);
    return true;
}

void GameApp::switchTo(ScreenSwitch next, Micros now)
{
    if (!next)
        return;
    const ScreenState from = m_screen;
    m_screen = *next;

    // Each screen is ready to be drawn in the frame that switches to it
    switch (m_screen)
    {
        case ScreenState::Title: break;
        case ScreenState::Menu:
            m_menu.enter(from == ScreenState::Title ? m_title.reading()
                         : from == ScreenState::End ? m_end.reading()
                                                     : 0.f);
            break;
        case ScreenState::Playing: m_playing.enter(m_app, now); break;
        case ScreenState::End: m_end.enter(m_app, now); break;
    }
}

void GameApp::updateCursor(const FrameInput& input, Micros now)
{
    // The title and end screens leave the cursor as it is
    if (m_screen != ScreenState::Menu && m_screen != ScreenState::Playing)
        return;
    if (input.mouse != m_lastMousePosition)
    {
        m_cursorVisible = true;
        m_cursorIdleClock.restart(now);
    }
    else if (m_cursorVisible && m_cursorIdleClock.seconds(now) > CursorIdleSeconds)
        m_cursorVisible = false;
}

bool GameApp::needsKeyState(sf::Keyboard::Key key) const
{
    switch (key)
    {
        case sf::Keyboard::M: return m_playing.musicKeyLatch();
        case sf::Keyboard::S: return m_playing.soundKeyLatch();
        case sf::Keyboard::P: return m_playing.pauseKeyLatch();
        case sf::Keyboard::Escape: return m_escapeKeyLatch;
        case sf::Keyboard::Space:
        case sf::Keyboard::Enter: return m_screen == ScreenState::End && m_end.leaveKeyLatch();
        default: return false;
    }
}

void GameApp::draw(sf::RenderTarget& target, PictureAssets& pictures) const
{
    switch (m_screen)
    {
        case ScreenState::Title: m_title.draw(target, pictures); break;
        case ScreenState::Menu: m_menu.draw(target, pictures); break;
        case ScreenState::Playing: m_playing.draw(target, pictures, m_app.session); break;
        case ScreenState::End: m_end.draw(target, pictures); break;
    }
}

FrameInput readFrameInput(const GameApp& game, sf::Vector2i mouse, const KeyQuery& isHeld)
{
    // Every query is a round trip to the display server: only keys whose latch waits are read
    const auto released = [&](sf::Keyboard::Key key) { return game.needsKeyState(key) && !isHeld(key); };
    FrameInput input;
    input.mouse = mouse;
    input.musicKeyReleased = released(sf::Keyboard::M);
    input.soundKeyReleased = released(sf::Keyboard::S);
    input.pauseKeyReleased = released(sf::Keyboard::P);
    input.escapeKeyReleased = released(sf::Keyboard::Escape);
    input.spaceKeyReleased = released(sf::Keyboard::Space);
    input.enterKeyReleased = released(sf::Keyboard::Enter);
    return input;
}
