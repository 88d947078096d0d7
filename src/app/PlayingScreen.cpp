#include "app/PlayingScreen.hpp"

#include "game/Animations.hpp"
#include "game/Controls.hpp"
#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"
#include "hud/LevelTimer.hpp"
#include "hud/PlayingHud.hpp"

namespace
{
KeySet only(sf::Keyboard::Key key)
{
    KeySet keys;
    keys.set(key);
    return keys;
}
} // namespace

ScreenReply PlayingScreen::enter(AppContext& app, Micros now)
{
    beginPlay(app.session, now);
    m_pauseButtonResume = false;
    m_hintShown = false;
    // A game left paused, or during an ending, left the music paused or stopped: the music button of
    // this game says on, so it plays
    if (app.session.kept.musicOn && !app.audio.musicPlaying())
        app.audio.sendMusic(MusicCommand::Play);
    present(app, now);
    return {};
}

ScreenReply PlayingScreen::respond(const Command& command, AppContext& app, Micros now)
{
    GameSession& session = app.session;
    ScreenReply reply;
    const bool latched = command.kind == CommandKind::KeyPress && app.latches[command.key];
    if (command.kind == CommandKind::KeyPress && !latched)
    {
        switch (command.key)
        {
            case sf::Keyboard::B: return leave(app, now);
            case sf::Keyboard::M:
                if (toggleMusic(session, app.audio))
                    reply.latch = only(sf::Keyboard::M);
                break;
            case sf::Keyboard::S:
                if (toggleSound(session))
                    reply.latch = only(sf::Keyboard::S);
                break;
            case sf::Keyboard::P:
                if (canTogglePause(session))
                {
                    togglePauseFrom(app);
                    reply.latch = only(sf::Keyboard::P);
                }
                break;
            case sf::Keyboard::Left: moveSelectorLeft(session, now); break;
            case sf::Keyboard::Right: moveSelectorRight(session, now); break;
            case sf::Keyboard::Up:
                if (tubeRefusesThread(session))
                {
                    m_hintShown = true;
                    m_hintClock.restart(now);
                }
                pushBead(session, now, app.audio);
                break;
            case sf::Keyboard::Down: pullGem(session, now, app.audio); break;
            default: break;
        }
    }
    else if (command.kind == CommandKind::FocusLost)
        takeOwedPause(app);

    // Space is read as held after every event, so its auto-repeat keeps dropping gems
    if (command.spaceHeld)
        hardDrop(session, now, app.audio);
    if (command.kind != CommandKind::LeftClick)
        return reply;

    // The in-game buttons in their fixed order; a click has no latch
    const Hitboxes& boxes = app.hitboxes;
    if (boxes.hits(Picture::MusicOnButton, command.position))
        toggleMusic(session, app.audio);
    if (boxes.hits(Picture::SoundOnButton, command.position))
        toggleSound(session);
    if (boxes.hits(Picture::PauseButton, command.position) && canTogglePause(session))
        togglePauseFrom(app);
    if (boxes.hits(Picture::MainMenuButton, command.position))
        return leave(app, now);
    if (boxes.hits(Picture::QuitButton, command.position))
        app.closeRequested = true;
    return reply;
}

void PlayingScreen::takeOwedPause(AppContext& app)
{
    // A player who switched to another window finds the game paused, as P would have done, and it stays
    // paused until resumed. An ending runs on, and a paused game needs nothing more; in a landing pause,
    // the pause stays owed.
    const GameSession& session = app.session;
    if (!app.focusPauseOwed)
        return;
    if (!(session.game.paused || session.game.timeUp || session.game.overflowEnding))
    {
        if (!canTogglePause(session))
            return;
        togglePauseFrom(app);
    }
    app.focusPauseOwed = false;
}

ScreenReply PlayingScreen::leave(AppContext& app, Micros now)
{
    // Abandoned: the menu prepares a fresh game, and only the best score carries over
    app.session.game.gameReady = false;
    app.session.carried.transitionClock.restart(now);
    return {ScreenState::Menu};
}

void PlayingScreen::togglePauseFrom(AppContext& app)
{
    togglePause(app.session, app.audio);
    m_pauseButtonResume = app.session.game.paused;
}

ScreenReply PlayingScreen::tick(const FrameInput&, AppContext& app, Micros now)
{
    takeOwedPause(app); // in the first frame where P would be accepted, as an event would

    GameSession& session = app.session;
    ScreenReply reply;
    stepThreadAnimations(session, now, app.random);
    if (levelTick(session, now, app.audio) == EndingReport::EndScreenDue)
        reply.next = ScreenState::End;
    updatePlayingHud(session, m_hud, now, laneX[static_cast<std::size_t>(session.game.selectorStop)], app.bestScoreFile);
    if (updateFallingGem(session, now, app.random, app.audio) == FallResult::Froze)
    {
        reply.frozen = true;
        return reply;
    }
    if (overflowEndingStep(session, now, app.audio) == EndingReport::EndScreenDue)
        reply.next = ScreenState::End;
    present(app, now);
    return reply;
}

void PlayingScreen::present(AppContext& app, Micros now)
{
    if (m_hintShown && m_hintClock.seconds(now) > HintSeconds)
        m_hintShown = false;
    m_levelAlpha = levelDisplayOpacity(app.session, now);
    m_pulse = pulseFactor(app.session, now);
    layoutHudNumbers(app.session, m_hud);
}

void PlayingScreen::describe(Scene& scene, const AppContext& app) const
{
    const GameSession& g = app.session;
    scene.add(Picture::Background);
    // Pair buttons keep their first picture's rectangle
    scene.addInFrame(g.kept.musicOn ? Picture::MusicOnButton : Picture::MusicOffButton, Picture::MusicOnButton);
    scene.addInFrame(g.kept.soundOn ? Picture::SoundOnButton : Picture::SoundOffButton, Picture::SoundOnButton);
    scene.addInFrame(m_pauseButtonResume ? Picture::ResumeButton : Picture::PauseButton, Picture::PauseButton);
    scene.add(Picture::MainMenuButton);
    scene.add(Picture::QuitButton);

    const std::array<int, 4> time = timeDigits(g.game.secondsLeft);
    scene.add(hudDigit(time[0]), timeDigitPositions[0]);
    scene.add(hudDigit(time[1]), timeDigitPositions[1]);
    scene.add(Picture::DigitColon);
    scene.add(hudDigit(time[2]), timeDigitPositions[2]);
    scene.add(hudDigit(time[3]), timeDigitPositions[3]);
    const std::array<int, 2> level = levelDigits(g.game.level);
    scene.add(hudDigit(level[0]), levelDigitPositions[0], m_levelAlpha);
    scene.add(hudDigit(level[1]), levelDigitPositions[1], m_levelAlpha);
    scene.add(m_hud.score, hudDigit);
    scene.add(m_hud.bestScore, hudDigit);
    scene.add(m_hud.patterns, hudDigit);

    for (int slot = 0; slot < ThreadSlots; ++slot)
        scene.add(gemPicture(g.game.thread[static_cast<std::size_t>(slot)]), threadSlotPosition(slot, g.game.selectorStop));
    for (int slot = 0; slot < ThreadSlots; ++slot)
        scene.add(gemPicture(g.game.pattern[static_cast<std::size_t>(slot)]), patternSlotPosition(slot));
    // The selected column, under the gems in it
    scene.add(textureOf(Picture::ColumnMarker), {laneX[static_cast<std::size_t>(g.game.selectorStop)], layout::ColumnMarker.y});
    if (g.game.fallingGem.falling || g.game.paused)
        scene.add(gemPicture(g.carried.fallingGem.code), cellPosition(g.game.fallingGem.row, g.game.fallingGem.column));

    // Board cells, row by row; the tube column sits under its picture
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < BoardColumns; ++column)
        {
            const GemCode code = g.game.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            if (code != EmptyGem)
                scene.add(gemPicture(code), cellPosition(row, column));
        }

    if (dangerPulseShown(g))
        for (int column = 0; column < PlayColumns; ++column)
            if (isDangerColumn(g.game.board, column))
            {
                const TextureId gem = gemPicture(g.game.board[1][static_cast<std::size_t>(column)]);
                scene.add({gem, gem, 255, true, dangerPulseCentre(column), m_pulse});
            }

    scene.add(Picture::TrashTube);
    if (g.game.popupPoints > 0)
        scene.add(m_hud.popup, hudDigit);

    // What happens that the board alone would not tell
    if (m_hintShown)
        scene.add(Picture::ThreadNotFull);
    if (g.game.overflowEnding)
        scene.add(Picture::BoardFullSign);
    if (m_pauseButtonResume)
        scene.add(Picture::PausedOverlay);
}

Wake PlayingScreen::due(const AppContext& app, Micros now) const
{
    const GameSession& g = app.session;
    Wake wake = endingWake(g, now);
    wake.moving = wake.moving || dangerPulseShown(g);
    for (const Micros step : {animationDue(g), levelTickDue(g), popupDue(g), blinkDue(g, now), fallDue(g)})
        wake.soonest(step);
    if (app.focusPauseOwed && canTogglePause(g))
        wake.soonest(now);
    if (m_hintShown)
        wake.soonest(m_hintClock.passes(HintSeconds));
    return wake;
}
