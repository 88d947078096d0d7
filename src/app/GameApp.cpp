#include "app/GameApp.hpp"

#include "game/Animations.hpp"
#include "game/Controls.hpp"
#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"
#include "hud/HighScore.hpp"
#include "hud/LevelTimer.hpp"
#include "hud/PlayingHud.hpp"

#include <utility>

namespace
{
// Fade rule: alpha written only during the first second, so a finished fade-in
// stays just below 255.
void fade(std::uint8_t& alpha, float t, bool fadingIn)
{
    if (t < 1.f)
        alpha = static_cast<std::uint8_t>((fadingIn ? t : 1.f - t) * 255.f);
}
} // namespace

GameApp::GameApp(PictureAssets& pictures, const AudioPort& audio, DesignScale scale, RandomDraw random,
                 std::string highScorePath) :
m_pictures(pictures),
m_audio(audio),
m_scale(scale),
m_random(std::move(random)),
m_highScorePath(std::move(highScorePath))
{
}

void GameApp::start(Micros now, sf::Vector2i mouse)
{
    m_screens.lastMousePosition = mouse;
    m_screens.cursorIdleClock.restart(now);
    m_screens.cursorVisible = false;
    startSession(m_session, m_random, now);
    m_session.bestScore = loadBestScore(m_highScorePath);
    syncSprites(now);
}

void GameApp::handleEvent(const sf::Event& event, const InputState& input, Micros now)
{
    m_lastEvent = event;
    if (event.type == sf::Event::Closed)
        m_closeRequested = true;
    if (event.type == sf::Event::KeyPressed)
        handleKey(event.key.code, now);

    // Space is read as a held key on every event, so its auto-repeat keeps dropping gems.
    if (input.spaceHeld && m_screens.screen == ScreenState::Playing && m_session.fallingGem.falling)
        hardDrop(m_session, now, m_audio);

    m_screens.clickConsumed = false;
    if (event.type == sf::Event::MouseButtonPressed && event.mouseButton.button == sf::Mouse::Left)
        handleClick(input.mouse, now);
}

void GameApp::handleKey(sf::Keyboard::Key key, Micros now)
{
    ScreenFields& s = m_screens;
    const bool playing = s.screen == ScreenState::Playing;
    switch (key)
    {
        case sf::Keyboard::Space:
        case sf::Keyboard::Enter:
            if (s.screen == ScreenState::Title && s.titleShowing)
            {
                s.titleShowing = false;
                m_session.transitionClock.restart(now);
            }
            else if (s.screen == ScreenState::Menu && s.menuPage != MenuPage::Main)
                s.menuPage = MenuPage::Main;
            else if (s.screen == ScreenState::End)
            {
                s.menuFadeIn = true;
                m_session.transitionClock.restart(now);
            }
            break;
        case sf::Keyboard::Escape:
            if (s.menuPage == MenuPage::Main)
                m_closeRequested = true;
            else
                s.menuPage = MenuPage::Main;
            break;
        case sf::Keyboard::B:
            if (playing)
                leaveToMenu(now);
            break;
        case sf::Keyboard::M:
            if (playing && !s.musicKeyLatch && toggleMusic(m_session, m_audio))
                s.musicKeyLatch = true;
            break;
        case sf::Keyboard::S:
            if (playing && !s.soundKeyLatch && toggleSound(m_session))
                s.soundKeyLatch = true;
            break;
        case sf::Keyboard::P:
            if (playing && !s.pauseKeyLatch && togglePause(m_session, m_audio))
            {
                s.pauseKeyLatch = true;
                s.pauseButtonResume = m_session.paused;
            }
            break;
        case sf::Keyboard::Left:
            if (playing)
                moveSelectorLeft(m_session, now);
            break;
        case sf::Keyboard::Right:
            if (playing)
                moveSelectorRight(m_session, now);
            break;
        case sf::Keyboard::Up:
            if (playing)
                pushBead(m_session, now, m_audio);
            break;
        case sf::Keyboard::Down:
            if (playing)
                pullGem(m_session, now, m_audio);
            break;
        default:
            break;
    }
}

void GameApp::handleClick(sf::Vector2i mouse, Micros now)
{
    ScreenFields& s = m_screens;
    switch (s.screen)
    {
        case ScreenState::Title:
            if (s.titleShowing)
            {
                s.titleShowing = false;
                m_session.transitionClock.restart(now);
            }
            break;
        case ScreenState::Menu:
            // A click anywhere leaves a sub-page; the buttons beneath must not see it.
            if (s.menuPage != MenuPage::Main)
            {
                s.menuPage = MenuPage::Main;
                s.clickConsumed = true;
            }
            break;
        case ScreenState::End:
            s.menuFadeIn = true;
            m_session.transitionClock.restart(now);
            s.clickConsumed = true;
            break;
        case ScreenState::Playing:
            break;
    }

    // In-game buttons, in their fixed order; each looks at the screen as it is now.
    auto playingAt = [&](Picture button) { return s.screen == ScreenState::Playing && hits(button, mouse); };
    if (playingAt(Picture::MusicOnButton))
        toggleMusic(m_session, m_audio);
    if (playingAt(Picture::SoundOnButton))
        toggleSound(m_session);
    if (playingAt(Picture::PauseButton) && togglePause(m_session, m_audio))
        s.pauseButtonResume = m_session.paused;
    if (playingAt(Picture::MainMenuButton))
        leaveToMenu(now);
    if (playingAt(Picture::QuitButton))
        m_closeRequested = true;
}

void GameApp::leaveToMenu(Micros now)
{
    m_session.gameReady = false;
    m_screens.screen = ScreenState::Menu;
    m_screens.menuFadeIn = true;
    m_session.transitionClock.restart(now);
}

void GameApp::updateCursor(const InputState& input, Micros now)
{
    ScreenFields& s = m_screens;
    if (s.screen != ScreenState::Menu && s.screen != ScreenState::Playing)
        return;
    if (input.mouse != s.lastMousePosition)
    {
        s.cursorVisible = true;
        s.cursorIdleClock.restart(now);
    }
    else if (s.cursorVisible && s.cursorIdleClock.seconds(now) > 2.f)
        s.cursorVisible = false;
}

bool GameApp::update(const InputState& input, Micros now)
{
    switch (m_screens.screen)
    {
        case ScreenState::Title:
            m_screens.lastMousePosition = input.mouse;
            updateTitle(now);
            break;
        case ScreenState::Menu:
            m_screens.lastMousePosition = input.mouse;
            updateMenu(input, now);
            break;
        case ScreenState::Playing:
            m_screens.lastMousePosition = input.mouse;
            if (!updatePlaying(now))
                return false;
            break;
        case ScreenState::End:
            updateEndScreen(m_session, now, m_audio, m_screens.menuFadeIn, m_screens.screen, m_end, m_hud);
            break;
    }
    syncSprites(now);
    return true;
}

void GameApp::updateTitle(Micros now)
{
    ScreenFields& s = m_screens;
    const float t = m_session.transitionClock.seconds(now);
    s.transitionReading = t;
    fade(s.titleAlpha, t, s.titleShowing);
    if (t > 1.f && !s.titleShowing)
    {
        s.screen = ScreenState::Menu;
        s.menuFadeIn = true;
        m_session.transitionClock.restart(now);
    }
}

void GameApp::updateMenu(const InputState& input, Micros now)
{
    ScreenFields& s = m_screens;
    if (!m_session.gameReady)
    {
        resetGame(m_session, m_random, now);
        s.pauseButtonResume = false;
    }

    const float t = m_session.transitionClock.seconds(now);
    s.transitionReading = t;
    fade(s.menuAlpha, t, s.menuFadeIn);
    if (t > 1.f && !s.menuFadeIn)
        s.screen = ScreenState::Playing;

    for (std::size_t i = 0; i < menuButtons.size(); ++i)
        s.menuHover[i] = hits(menuButtons[i], input.mouse);

    // The last event received stands until another replaces it, so a press keeps
    // acting on the buttons frame after frame.
    const bool leftPress = m_lastEvent.type == sf::Event::MouseButtonPressed &&
                           m_lastEvent.mouseButton.button == sf::Mouse::Left;
    if (!leftPress || s.menuPage != MenuPage::Main)
        return;
    if (s.menuHover[0] && !s.clickConsumed)
    {
        s.menuFadeIn = false;
        m_session.transitionClock.restart(now);
    }
    if (s.menuHover[1] && !s.clickConsumed)
        s.menuPage = MenuPage::Instructions;
    if (s.menuHover[2] && !s.clickConsumed)
        s.menuPage = MenuPage::About;
    if (s.menuHover[3] && !s.clickConsumed)
        m_closeRequested = true;
}

bool GameApp::updatePlaying(Micros now)
{
    GameSession& g = m_session;
    stepThreadAnimations(g, now, m_random);
    levelTick(g, now, m_audio, m_screens.screen);
    updatePlayingHud(g, m_hud, now, m_highScorePath);
    if (updateFallingGem(g, now, m_random, m_audio) == FallResult::Froze)
        return false;
    overflowEndingStep(g, now, m_audio, m_screens.screen);
    return true;
}

bool GameApp::hits(Picture picture, sf::Vector2i point) const
{
    return m_pictures.sprite(picture).getGlobalBounds().contains(static_cast<float>(point.x),
                                                                 static_cast<float>(point.y));
}

void GameApp::releaseLatches(const InputState& input)
{
    if (!input.musicKeyHeld)
        m_screens.musicKeyLatch = false;
    if (!input.soundKeyHeld)
        m_screens.soundKeyLatch = false;
    if (!input.pauseKeyHeld)
        m_screens.pauseKeyLatch = false;
}
