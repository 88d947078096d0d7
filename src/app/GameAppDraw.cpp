#include "app/GameApp.hpp"

#include "game/Falling.hpp"

namespace
{
sf::Color white(std::uint8_t alpha) { return sf::Color(255, 255, 255, alpha); }

// A digit row follows its layout: places never laid out keep no texture.
void syncField(DigitSprites& sprites, const DigitField& field, const DigitSet& set, const DesignScale& scale)
{
    for (std::size_t i = 0; i < sprites.size(); ++i)
    {
        const DigitPlace& place = field.places[i];
        if (place.digit < 0)
            continue;
        sprites[i].setTexture(set[static_cast<std::size_t>(place.digit)]);
        sprites[i].setScale(scale.x, scale.y);
        sprites[i].setPosition(scale.apply(place.position));
        sprites[i].setColor(white(place.alpha));
    }
}

void drawAll(sf::RenderTarget& target, const DigitSprites& sprites)
{
    for (const auto& sprite : sprites)
        target.draw(sprite);
}
} // namespace

void GameApp::syncSprites(Micros now)
{
    PictureAssets& p = m_pictures;
    const GameSession& g = m_session;

    p.sprite(Picture::StartPage).setColor(white(m_screens.titleAlpha));
    p.sprite(Picture::MenuPage).setColor(white(m_screens.menuAlpha));

    // Thread, pattern and falling gem; gem sprites reset their rectangle so a
    // missing picture draws nothing.
    for (int i = 0; i < ThreadSlots; ++i)
    {
        const auto slot = static_cast<std::size_t>(i);
        p.threadSprites[slot].setTexture(p.gemTexture(g.thread[slot]), true);
        p.threadSprites[slot].setPosition(m_scale.apply(threadSlotPosition(i, g.selectorStop)));
        p.patternSprites[slot].setTexture(p.gemTexture(g.pattern[slot]), true);
        p.patternSprites[slot].setPosition(m_scale.apply(patternSlotPosition(i)));
    }
    p.fallingGemSprite.setTexture(p.gemTexture(g.fallingGem.code), true);
    p.fallingGemSprite.setPosition(m_scale.apply(cellPosition(g.fallingGem.row, g.fallingGem.column)));

    // Pair buttons keep their first picture's rectangle.
    p.sprite(Picture::MusicOnButton).setTexture(p.texture(g.musicOn ? Picture::MusicOnButton : Picture::MusicOffButton));
    p.sprite(Picture::SoundOnButton).setTexture(p.texture(g.soundOn ? Picture::SoundOnButton : Picture::SoundOffButton));
    p.sprite(Picture::PauseButton)
        .setTexture(p.texture(m_screens.pauseButtonResume ? Picture::ResumeButton : Picture::PauseButton));

    const std::array<int, 4> time = timeDigits(g.secondsLeft);
    for (std::size_t i = 0; i < time.size(); ++i)
        p.timeDigits[i].setTexture(p.hudDigits[static_cast<std::size_t>(time[i])]);
    const std::array<int, 2> level = levelDigits(g.level);
    if (m_screens.screen == ScreenState::Playing)
    {
        m_levelAlpha = levelDisplayOpacity(m_session, now);
        m_pulse = pulseFactor(g, now);
    }
    for (std::size_t i = 0; i < level.size(); ++i)
    {
        p.levelDigits[i].setTexture(p.hudDigits[static_cast<std::size_t>(level[i])]);
        p.levelDigits[i].setColor(white(m_levelAlpha));
    }

    syncField(p.scoreField, m_hud.score, p.hudDigits, m_scale);
    syncField(p.bestScoreField, m_hud.bestScore, p.hudDigits, m_scale);
    syncField(p.patternsField, m_hud.patterns, p.hudDigits, m_scale);
    syncField(p.popupField, m_hud.popup, p.hudDigits, m_scale);

    // End screen.
    p.sprite(Picture::GameOver).setColor(white(static_cast<std::uint8_t>(m_end.gameOverAlpha)));
    p.sprite(Picture::Congratulations).setColor(white(static_cast<std::uint8_t>(m_end.congratulationsAlpha)));
    for (std::size_t i = 0; i < p.endLevelDigits.size(); ++i)
        p.endLevelDigits[i].setTexture(p.endDigits[static_cast<std::size_t>(m_end.levelDigits[i])]);
    syncField(p.endScoreField, m_hud.endScore, p.endDigits, m_scale);
}

void GameApp::draw(sf::RenderTarget& target) const
{
    switch (m_screens.screen)
    {
        case ScreenState::Title:
        case ScreenState::Menu: drawTitleOrMenu(target); break;
        case ScreenState::Playing: drawPlaying(target); break;
        case ScreenState::End: drawEnd(target); break;
    }
}

void GameApp::drawTitleOrMenu(sf::RenderTarget& target) const
{
    const ScreenFields& s = m_screens;
    const PictureAssets& p = m_pictures;
    if (s.screen == ScreenState::Title)
    {
        target.draw(p.sprite(Picture::StartPage));
        return;
    }
    if (s.menuPage == MenuPage::Main)
        target.draw(p.sprite(Picture::MenuPage));
    if (s.transitionReading > 1.2f && s.menuFadeIn && s.menuPage == MenuPage::Main)
    {
        for (std::size_t i = 0; i < menuButtons.size(); ++i)
            target.draw(p.sprite(s.menuHover[i] ? menuHovers[i] : menuButtons[i]));
    }
    else if (s.menuPage == MenuPage::Instructions)
        target.draw(p.sprite(Picture::InstructionsPage));
    else if (s.menuPage == MenuPage::About)
        target.draw(p.sprite(Picture::AboutPage));
}

void GameApp::drawPlaying(sf::RenderTarget& target) const
{
    const PictureAssets& p = m_pictures;
    const GameSession& g = m_session;

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

    // Board cells through one temporary sprite each; the tube column sits under its picture.
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < BoardColumns; ++column)
        {
            const GemCode code = g.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            if (code == EmptyGem)
                continue;
            sf::Sprite cell(p.gemTexture(code));
            cell.setScale(m_scale.x, m_scale.y);
            cell.setPosition(m_scale.apply(cellPosition(row, column)));
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
            pulse.setPosition(m_scale.apply({300.f + 120.f * static_cast<float>(column), 203.f}));
            pulse.setScale(m_pulse * m_scale.x, m_pulse * m_scale.y);
            target.draw(pulse);
        }

    target.draw(p.sprite(Picture::TrashTube));
    if (g.popupPoints > 0)
        drawAll(target, p.popupField);
}

void GameApp::drawEnd(sf::RenderTarget& target) const
{
    const PictureAssets& p = m_pictures;
    target.draw(p.sprite(m_end.congratulations ? Picture::Congratulations : Picture::GameOver));
    switch (m_end.panel)
    {
        case ResultPanel::None: return;
        case ResultPanel::BestAllLevels: target.draw(p.sprite(Picture::PanelBestAllLevels)); break;
        case ResultPanel::AllLevels: target.draw(p.sprite(Picture::PanelAllLevels)); break;
        case ResultPanel::BestLost: target.draw(p.sprite(Picture::PanelBestLost)); break;
        case ResultPanel::Lost: target.draw(p.sprite(Picture::PanelLost)); break;
    }
    if (m_end.showLevelTens)
        target.draw(p.endLevelDigits[0]);
    if (m_end.showLevelUnits)
        target.draw(p.endLevelDigits[1]);
    if (m_end.showScore)
        drawAll(target, p.endScoreField);
}
