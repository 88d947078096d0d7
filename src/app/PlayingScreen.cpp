#include "app/PlayingScreen.hpp"

#include "app/Drawing.hpp"
#include "game/Animations.hpp"
#include "game/Controls.hpp"
#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"
#include "hud/LevelTimer.hpp"
#include "hud/PlayingHud.hpp"

void PlayingScreen::enter(AppContext& app, Micros now)
{
    beginPlay(app.session, now);
    m_pauseButtonResume = false;
    // A game left paused, or during an ending, left the music paused or stopped: the music button of
    // this game says on, so it plays
    if (app.session.musicOn && !app.audio.musicPlaying())
        app.audio.sendMusic(MusicCommand::Play);
    present(app, now);
}

ScreenSwitch PlayingScreen::respond(const Command& command, AppContext& app, Micros now)
{
    GameSession& session = app.session;
    if (command.kind == CommandKind::KeyPress)
    {
        switch (command.key)
        {
            case sf::Keyboard::B: return leave(app, now);
            case sf::Keyboard::M:
                if (!m_musicKeyLatch && toggleMusic(session, app.audio))
                    m_musicKeyLatch = true;
                break;
            case sf::Keyboard::S:
                if (!m_soundKeyLatch && toggleSound(session))
                    m_soundKeyLatch = true;
                break;
            case sf::Keyboard::P:
                if (!m_pauseKeyLatch && canTogglePause(session))
                {
                    togglePauseFrom(app);
                    m_pauseKeyLatch = true;
                }
                break;
            case sf::Keyboard::Left: moveSelectorLeft(session, now); break;
            case sf::Keyboard::Right: moveSelectorRight(session, now); break;
            case sf::Keyboard::Up: pushBead(session, now, app.audio); break;
            case sf::Keyboard::Down: pullGem(session, now, app.audio); break;
            default: break;
        }
        return std::nullopt;
    }
    if (command.kind != CommandKind::LeftClick)
        return std::nullopt;

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
    return std::nullopt;
}

bool PlayingScreen::holdForFocusLoss(AppContext& app)
{
    // A player who switched to another window finds the game paused, as P would have done, and it
    // stays paused until resumed. An ending runs on, and a paused game needs nothing more.
    const GameSession& session = app.session;
    if (session.paused || session.timeUp || session.overflowEnding)
        return true;
    if (!canTogglePause(session))
        return false;
    togglePauseFrom(app);
    return true;
}

void PlayingScreen::holdSpace(AppContext& app, Micros now)
{
    hardDrop(app.session, now, app.audio);
}

ScreenSwitch PlayingScreen::leave(AppContext& app, Micros now)
{
    // Abandoned: the menu prepares a fresh game, and only the best score carries over
    app.session.gameReady = false;
    app.session.transitionClock.restart(now);
    return ScreenState::Menu;
}

void PlayingScreen::togglePauseFrom(AppContext& app)
{
    togglePause(app.session, app.audio);
    m_pauseButtonResume = app.session.paused;
}

PlayingTick PlayingScreen::tick(AppContext& app, Micros now)
{
    GameSession& session = app.session;
    PlayingTick result;
    stepThreadAnimations(session, now, app.random);
    if (levelTick(session, now, app.audio) == EndingReport::EndScreenDue)
        result.next = ScreenState::End;
    updatePlayingHud(session, m_hud, now, laneX[static_cast<std::size_t>(session.selectorStop)], app.bestScoreFile);
    if (updateFallingGem(session, now, app.random, app.audio) == FallResult::Froze)
    {
        result.frozen = true;
        return result;
    }
    if (overflowEndingStep(session, now, app.audio) == EndingReport::EndScreenDue)
        result.next = ScreenState::End;
    present(app, now);
    return result;
}

void PlayingScreen::present(AppContext& app, Micros now)
{
    m_levelAlpha = levelDisplayOpacity(app.session, now);
    m_pulse = pulseFactor(app.session, now);
    layoutHudNumbers(app.session, m_hud);
}

void PlayingScreen::releaseLatches(const FrameInput& input)
{
    if (input.musicKeyReleased)
        m_musicKeyLatch = false;
    if (input.soundKeyReleased)
        m_soundKeyLatch = false;
    if (input.pauseKeyReleased)
        m_pauseKeyLatch = false;
}

namespace
{
// Thread, pattern and falling gem take their pictures by code; resetting the
// rectangle lets a missing picture draw nothing.
void placeGems(PictureAssets& p, const GameSession& g, const DesignScale& scale)
{
    for (int i = 0; i < ThreadSlots; ++i)
    {
        const auto slot = static_cast<std::size_t>(i);
        p.threadSprites[slot].setTexture(p.gemTexture(g.thread[slot]), true);
        p.threadSprites[slot].setPosition(scale.apply(threadSlotPosition(i, g.selectorStop)));
        p.patternSprites[slot].setTexture(p.gemTexture(g.pattern[slot]), true);
        p.patternSprites[slot].setPosition(scale.apply(patternSlotPosition(i)));
    }
    p.fallingGemSprite.setTexture(p.gemTexture(g.fallingGem.code), true);
    p.fallingGemSprite.setPosition(scale.apply(cellPosition(g.fallingGem.row, g.fallingGem.column)));
}
} // namespace

void PlayingScreen::draw(sf::RenderTarget& target, PictureAssets& p, const GameSession& g) const
{
    const DesignScale& scale = p.scale;

    // Pair buttons keep their first picture's rectangle
    p.sprite(Picture::MusicOnButton).setTexture(p.texture(g.musicOn ? Picture::MusicOnButton : Picture::MusicOffButton));
    p.sprite(Picture::SoundOnButton).setTexture(p.texture(g.soundOn ? Picture::SoundOnButton : Picture::SoundOffButton));
    p.sprite(Picture::PauseButton)
        .setTexture(p.texture(m_pauseButtonResume ? Picture::ResumeButton : Picture::PauseButton));

    const std::array<int, 4> time = timeDigits(g.secondsLeft);
    for (std::size_t i = 0; i < time.size(); ++i)
        p.timeDigits[i].setTexture(p.hudDigits[static_cast<std::size_t>(time[i])]);
    const std::array<int, 2> level = levelDigits(g.level);
    for (std::size_t i = 0; i < level.size(); ++i)
    {
        p.levelDigits[i].setTexture(p.hudDigits[static_cast<std::size_t>(level[i])]);
        p.levelDigits[i].setColor(white(m_levelAlpha));
    }
    syncField(p.scoreField, m_hud.score, p.hudDigits, scale);
    syncField(p.bestScoreField, m_hud.bestScore, p.hudDigits, scale);
    syncField(p.patternsField, m_hud.patterns, p.hudDigits, scale);
    syncField(p.popupField, m_hud.popup, p.hudDigits, scale);
    placeGems(p, g, scale);

    target.draw(p.sprite(Picture::Background));
    for (Picture button : {Picture::MusicOnButton, Picture::SoundOnButton, Picture::PauseButton,
                           Picture::MainMenuButton, Picture::QuitButton})
        target.draw(p.sprite(button));

    target.draw(p.timeDigits[0]);
    target.draw(p.timeDigits[1]);
    target.draw(p.sprite(Picture::DigitColon));
    target.draw(p.timeDigits[2]);
    target.draw(p.timeDigits[3]);
    target.draw(p.levelDigits[0]);
    target.draw(p.levelDigits[1]);
    drawAll(target, p.scoreField);
    drawAll(target, p.bestScoreField);
    drawAll(target, p.patternsField);

    for (const auto& sprite : p.threadSprites)
        target.draw(sprite);
    for (const auto& sprite : p.patternSprites)
        target.draw(sprite);
    if (g.fallingGem.falling || g.paused)
        target.draw(p.fallingGemSprite);

    // Board cells through one temporary sprite each; the tube column sits under its picture
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < BoardColumns; ++column)
        {
            const GemCode code = g.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            if (code == EmptyGem)
                continue;
            sf::Sprite cell(p.gemTexture(code));
            cell.setScale(scale.x, scale.y);
            cell.setPosition(scale.apply(cellPosition(row, column)));
            target.draw(cell);
        }

    if (!g.overflowEnding && !g.timeUp)
        for (int column = 0; column < PlayColumns; ++column)
        {
            if (!isDangerColumn(g.board, column))
                continue;
            const sf::Texture& texture = p.gemTexture(g.board[1][static_cast<std::size_t>(column)]);
            sf::Sprite pulse(texture);
            pulse.setOrigin(static_cast<float>(texture.getSize().x) / 2.f, static_cast<float>(texture.getSize().y) / 2.f);
            pulse.setPosition(scale.apply(dangerPulseCentre(column)));
            pulse.setScale(m_pulse * scale.x, m_pulse * scale.y);
            target.draw(pulse);
        }

    target.draw(p.sprite(Picture::TrashTube));
    if (g.popupPoints > 0)
        drawAll(target, p.popupField);
}
