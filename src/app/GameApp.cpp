#include "app/GameApp.hpp"

#include "hud/BestScore.hpp"

#include <algorithm>
#include <utility>

namespace
{
constexpr float CursorIdleSeconds = 2.f;
constexpr float VolumeShownSeconds = 1.5f; // the volume's indicator after the last change

// -1 for a key that turns the volume down, +1 up, else 0.
int volumeStep(const Command& command)
{
    if (command.kind != CommandKind::KeyPress)
        return 0;
    switch (command.key)
    {
        case sf::Keyboard::Hyphen:
        case sf::Keyboard::Subtract: return -1;
        case sf::Keyboard::Equal:
        case sf::Keyboard::Add: return 1;
        default: return 0;
    }
}
} // namespace

GameApp::GameApp(AppContext context) : m_app(std::move(context))
{
}

void GameApp::start(Micros now, sf::Vector2i mouse)
{
    m_lastMousePosition = mouse;
    m_cursorIdleClock.restart(now);
    startSession(m_app.session, m_app.random, now);
    m_app.session.kept.bestScore = m_app.bestScoreFile.load();

    // The player's settings: the music, started with the program, pauses if they say so
    const Settings settings = m_app.settingsFile.load();
    m_app.session.kept.musicOn = settings.musicOn;
    m_app.session.kept.soundOn = settings.soundOn;
    m_app.masterLevel = settings.masterLevel;
    if (!settings.musicOn)
        m_app.audio.sendMusic(MusicCommand::Pause);
    m_app.audio.setMasterGain(masterGain(m_app.masterLevel));
}

void GameApp::stepVolume(int step, Micros now)
{
    m_app.masterLevel = std::clamp(m_app.masterLevel + step, 0, MasterLevels);
    m_app.audio.setMasterGain(masterGain(m_app.masterLevel));
    m_app.volumeShown = true;
    m_app.volumeClock.restart(now);
}

template <typename App, typename Use>
decltype(auto) GameApp::withScreen(App& app, Use&& use)
{
    switch (app.m_screen)
    {
        case ScreenState::Title: return use(std::get<TitleScreen>(app.m_screens));
        case ScreenState::Menu: return use(std::get<MenuScreen>(app.m_screens));
        case ScreenState::Playing: return use(std::get<PlayingScreen>(app.m_screens));
        case ScreenState::End: break;
    }
    return use(std::get<EndScreen>(app.m_screens));
}

void GameApp::respond(const Command& given, Micros now)
{
    // Space held on a gamepad drops gems as on the keyboard
    Command command = given;
    command.spaceHeld = command.spaceHeld || m_pad.holds(sf::Keyboard::Space);

    // The window's one event record: the menu's buttons read the last command
    m_app.last.command = command;
    m_app.last.clickConsumed = false;
    if (command.kind == CommandKind::LeftClick)
        m_app.last.pressPending = true;

    switch (command.kind)
    {
        case CommandKind::Close: m_app.closeRequested = true; break;
        case CommandKind::FocusLost:
            m_app.focusPauseOwed = true;
            m_pad.focus(false);
            break;
        case CommandKind::FocusGained:
            m_app.focusPauseOwed = false;
            m_pad.focus(true);
            break;
        case CommandKind::Resized:
            m_app.hitboxes.scale = computeDesignScale(static_cast<unsigned>(command.position.x),
                                                      static_cast<unsigned>(command.position.y));
            break;
        default: break;
    }

    if (const int step = volumeStep(command))
        stepVolume(step, now);

    // Escape means the same on every screen: back from a sub-page, else quit. It acts once per press, so a held
    // key's auto-repeat cannot quit from the menu it just returned to.
    if (command.kind == CommandKind::KeyPress && command.key == sf::Keyboard::Escape)
    {
        if (!m_app.latches[sf::Keyboard::Escape])
        {
            if (m_app.menuPage == MenuPage::Main)
                m_app.closeRequested = true;
            else
                m_app.menuPage = MenuPage::Main;
        }
        m_app.latches.set(sf::Keyboard::Escape);
    }
    take(withScreen(*this, [&](auto& screen) { return screen.respond(command, m_app, now); }), now);

    std::vector<Command> keys;
    m_pad.translate(command, now, keys);
    respondAll(keys, now);
}

void GameApp::respondAll(const std::vector<Command>& commands, Micros now)
{
    for (const Command& command : commands)
        respond(command, now);
}

bool GameApp::tick(const FrameInput& input, Micros now)
{
    // A gamepad's held directions repeat as keys do, before the frame's update like the window's events
    std::vector<Command> repeats;
    m_pad.repeat(now, repeats);
    respondAll(repeats, now);

    updateCursor(input, now);
    if (m_app.volumeShown && m_app.volumeClock.seconds(now) > VolumeShownSeconds)
        m_app.volumeShown = false;
    if (m_screen != ScreenState::End)
        m_lastMousePosition = input.mouse;

    const ScreenReply reply = withScreen(*this, [&](auto& screen) { return screen.tick(input, m_app, now); });
    if (reply.frozen)
        return false;
    take(reply, now);

    // Latches let go once their keys were read up
    m_app.latches &= ~input.released;
    m_app.settingsFile.keep({m_app.session.kept.musicOn, m_app.session.kept.soundOn, m_app.masterLevel});
    return true;
}

void GameApp::take(const ScreenReply& reply, Micros now)
{
    m_app.latches |= reply.latch;
    if (!reply.next)
        return;
    if (m_screen == ScreenState::Playing)
        m_app.bestScoreFile.retry(); // the game's end: a save another copy held up
    // Each screen is ready to be drawn in the frame that switches to it
    m_screen = *reply.next;
    take(withScreen(*this, [&](auto& screen) { return screen.enter(m_app, now); }), now);
}

void GameApp::describe(Scene& scene) const
{
    withScreen(*this, [&](const auto& screen) { screen.describe(scene, m_app); });
    if (m_app.volumeShown)
        scene.add(volumePicture(m_app.masterLevel));
}

Wake GameApp::due(Micros now) const
{
    Wake wake = withScreen(*this, [&](const auto& screen) { return screen.due(m_app, now); });
    wake.soonest(m_pad.due());
    if (m_app.volumeShown)
        wake.soonest(m_app.volumeClock.passes(VolumeShownSeconds));
    if (m_cursorVisible && (m_screen == ScreenState::Menu || m_screen == ScreenState::Playing))
        wake.soonest(m_cursorIdleClock.passes(CursorIdleSeconds));
    return wake;
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

FrameInput readFrameInput(const GameApp& game, sf::Vector2i mouse, const KeyQuery& isHeld)
{
    // Every query is a round trip to the display server: only keys whose latch waits are read
    FrameInput input;
    input.mouse = mouse;
    const KeySet& latched = game.latches();
    for (std::size_t key = 0; key < latched.size(); ++key)
    {
        const auto code = static_cast<sf::Keyboard::Key>(key);
        if (latched[key] && !isHeld(code) && !game.padHolds(code))
            input.released.set(key);
    }
    return input;
}
