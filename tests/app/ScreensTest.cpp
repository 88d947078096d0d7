// The app layer in process: screens, controls and drawing together, with a
// manual clock, made-up input and an off-screen picture.

#include "AppHarness.hpp"

#include "game/Falling.hpp"

namespace
{
DesignPoint middle() { return {960.f, 540.f}; }

int count(const std::vector<MusicCommand>& commands, MusicCommand command)
{
    int n = 0;
    for (MusicCommand c : commands)
        n += c == command;
    return n;
}

// The falling gem is put where it can still fall, so pause is accepted.
void holdGemMidAir(GameSession& g)
{
    g.board = Board{};
    g.fallingGem = FallingGem{};
    g.fallingGem.column = 3;
    g.fallingGem.code = 1;
}
} // namespace

TEST(DesignScaleTest, StretchesEachAxisOnItsOwn)
{
    struct Case { unsigned width, height; float sx, sy; };
    for (const Case& c : {Case{1920, 1080, 1.f, 1.f}, Case{3840, 2160, 2.f, 2.f}, Case{1280, 1024, 0.6667f, 0.9481f}})
    {
        const DesignScale scale = computeDesignScale(c.width, c.height);
        EXPECT_NEAR(scale.x, c.sx, 1e-4) << c.width << "x" << c.height;
        EXPECT_NEAR(scale.y, c.sy, 1e-4) << c.width << "x" << c.height;
        // A board cell lands where the design puts it, times each factor.
        const sf::Vector2f cell = scale.apply(cellPosition(7, 11));
        EXPECT_NEAR(cell.x, (270.f + 120.f * 11) * c.sx, 0.2f);
        EXPECT_NEAR(cell.y, (113.f + 60.f * 7) * c.sy, 0.2f);
    }
}

TEST(TitleTest, FadesInOverTheFirstSecond)
{
    AppHarness h;
    h.frame(0.5);
    EXPECT_EQ(h.app.screens().titleAlpha, 127);
    const sf::Texture& page = h.pictures.texture(Picture::StartPage);
    EXPECT_TRUE(near(h.pixelAt(middle()), expectedPixel(page, {0, 0}, middle(), 127)));

    h.frame(0.6);
    EXPECT_EQ(h.app.screens().titleAlpha, 127) << "no alpha is written after the first second";
    EXPECT_EQ(h.app.screens().screen, ScreenState::Title);
}

TEST(TitleTest, SpaceDuringTheFadeInStartsTheFadeOutFromOpaque)
{
    AppHarness h;
    h.frame(0.3);
    h.press(sf::Keyboard::Space);
    h.frame(0.001);
    EXPECT_GE(h.app.screens().titleAlpha, 254);
    h.press(sf::Keyboard::Space); // a second Space does nothing
    h.frame(0.5);
    EXPECT_NEAR(h.app.screens().titleAlpha, 127, 1);
    h.frame(0.51);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);
    EXPECT_TRUE(h.app.screens().menuFadeIn);
}

TEST(TitleTest, ClickDismissesAndEscapeCloses)
{
    AppHarness h;
    h.clickAt(middle());
    h.frame(1.01);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);

    AppHarness other;
    other.press(sf::Keyboard::Escape);
    EXPECT_TRUE(other.app.closeRequested());
}

TEST(MenuTest, ButtonsAppearOnly1point2SecondsIntoTheFadeIn)
{
    AppHarness h;
    h.press(sf::Keyboard::Enter);
    h.frame(1.01); // title fade-out over; the menu shows from this frame
    ASSERT_EQ(h.app.screens().screen, ScreenState::Menu);
    EXPECT_FALSE(h.app.session().gameReady);
    h.frame(0.001);
    EXPECT_TRUE(h.app.session().gameReady) << "the first menu update prepares a game";

    const DesignPoint button = h.centreOf(Picture::StartGameButton);
    const sf::Color buttonPixel = expectedPixel(h.pictures.texture(Picture::StartGameButton),
                                                pictureInfo(Picture::StartGameButton).position, button);
    h.frame(1.1);
    EXPECT_FALSE(near(h.pixelAt(button), buttonPixel, 2)) << "buttons hidden before 1.2 s";
    h.frame(0.15);
    EXPECT_TRUE(near(h.pixelAt(button), buttonPixel)) << "buttons shown after 1.2 s";

    // Hover picks the orange look.
    h.moveTo(button);
    h.frame();
    EXPECT_TRUE(h.app.screens().menuHover[0]);
    EXPECT_TRUE(near(h.pixelAt(button), expectedPixel(h.pictures.texture(Picture::StartGameHover),
                                                      pictureInfo(Picture::StartGameHover).position, button)));
}

TEST(MenuTest, StartGameFadesIntoPlayOneSecondLater)
{
    AppHarness h;
    h.reachMenu();
    h.clickAt(h.centreOf(Picture::StartGameButton));
    h.frame(0.001);
    EXPECT_FALSE(h.app.screens().menuFadeIn);
    // While the press stays the last event, the fade-out keeps restarting.
    h.frame(0.5);
    h.frame(0.6);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);
    h.moveTo(h.centreOf(Picture::StartGameButton));
    h.frame(0.9);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);
    h.frame(0.15);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Playing);
}

TEST(MenuTest, ClickLeavingTheInstructionsPageDoesNotPressTheButtonBeneath)
{
    AppHarness h;
    h.reachMenu();
    h.clickAt(h.centreOf(Picture::InstructionsButton));
    h.frame();
    ASSERT_EQ(h.app.screens().menuPage, MenuPage::Instructions);

    // The instructions picture alone fills the screen.
    const sf::Texture& page = h.pictures.texture(Picture::InstructionsPage);
    EXPECT_TRUE(near(h.pixelAt(middle()), expectedPixel(page, {0, 0}, middle())));

    // A click on the spot of the start button: back to the menu page, nothing started.
    h.clickAt(h.centreOf(Picture::StartGameButton));
    for (int i = 0; i < 20; ++i)
        h.frame(0.05);
    EXPECT_EQ(h.app.screens().menuPage, MenuPage::Main);
    EXPECT_TRUE(h.app.screens().menuFadeIn);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);

    // Escape on a sub-page returns too, and only then closes.
    h.clickAt(h.centreOf(Picture::AboutButton));
    h.frame();
    ASSERT_EQ(h.app.screens().menuPage, MenuPage::About);
    h.press(sf::Keyboard::Escape);
    EXPECT_EQ(h.app.screens().menuPage, MenuPage::Main);
    EXPECT_FALSE(h.app.closeRequested());
    h.press(sf::Keyboard::Escape);
    EXPECT_TRUE(h.app.closeRequested());
}

TEST(CursorTest, ShowsOnMovementAndHidesAfterTwoIdleSeconds)
{
    AppHarness h;
    h.moveTo({100.f, 100.f});
    h.frame();
    EXPECT_FALSE(h.app.screens().cursorVisible) << "the title never shows the cursor";
    h.press(sf::Keyboard::Space);
    h.run(1.05);
    ASSERT_EQ(h.app.screens().screen, ScreenState::Menu);
    h.moveTo({200.f, 100.f});
    h.frame();
    EXPECT_TRUE(h.app.screens().cursorVisible);
    h.frame(1.9);
    EXPECT_TRUE(h.app.screens().cursorVisible);
    h.frame(0.2);
    EXPECT_FALSE(h.app.screens().cursorVisible);
}

TEST(PlayingTest, MusicKeyHeldTogglesOnce)
{
    AppHarness h;
    h.reachPlaying();
    h.input.musicKeyHeld = true;
    for (int i = 0; i < 5; ++i)
    {
        h.press(sf::Keyboard::M); // auto-repeat
        h.frame(0.03);
    }
    EXPECT_FALSE(h.app.session().musicOn);
    EXPECT_EQ(count(h.audio.music, MusicCommand::Pause), 1);
    h.input.musicKeyHeld = false;
    h.frame();
    h.press(sf::Keyboard::M);
    EXPECT_TRUE(h.app.session().musicOn);
    EXPECT_EQ(count(h.audio.music, MusicCommand::Play), 1);
}

TEST(PlayingTest, PauseRefusedDuringTheLandingPause)
{
    AppHarness h;
    h.reachPlaying();
    holdGemMidAir(h.app.session());
    h.input.spaceHeld = true;
    h.press(sf::Keyboard::Space);
    h.input.spaceHeld = false;
    ASSERT_TRUE(h.app.session().fallingGem.landingPause);
    h.input.pauseKeyHeld = true;
    h.press(sf::Keyboard::P);
    EXPECT_FALSE(h.app.session().paused);
    EXPECT_FALSE(h.app.screens().pauseKeyLatch) << "a refused key leaves its latch clear";
}

TEST(PlayingTest, PauseButtonShowsResumeWhilePaused)
{
    AppHarness h;
    h.reachPlaying();
    holdGemMidAir(h.app.session());
    const sf::Sprite& button = h.pictures.sprite(Picture::PauseButton);
    const DesignPoint centre = h.centreOf(Picture::PauseButton);

    h.clickAt(centre);
    h.frame();
    EXPECT_TRUE(h.app.session().paused);
    EXPECT_EQ(button.getTexture(), &h.pictures.texture(Picture::ResumeButton));
    EXPECT_TRUE(near(h.pixelAt(centre), expectedPixel(h.pictures.texture(Picture::ResumeButton),
                                                      pictureInfo(Picture::PauseButton).position, centre)));
    h.clickAt(centre);
    h.frame();
    EXPECT_FALSE(h.app.session().paused);
    EXPECT_EQ(button.getTexture(), &h.pictures.texture(Picture::PauseButton));
}

TEST(PlayingTest, LeavingWhilePausedGivesAnUnpausedNextGame)
{
    AppHarness h;
    h.reachPlaying();
    holdGemMidAir(h.app.session());
    h.press(sf::Keyboard::P);
    ASSERT_TRUE(h.app.session().paused);
    h.press(sf::Keyboard::B);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);
    h.frame();
    EXPECT_FALSE(h.app.session().paused);
    EXPECT_TRUE(h.app.session().fallingGem.falling);
    EXPECT_EQ(h.pictures.sprite(Picture::PauseButton).getTexture(), &h.pictures.texture(Picture::PauseButton));
    EXPECT_EQ(h.audio.music.back(), MusicCommand::Pause) << "leaving does not resume the music";
}

TEST(PlayingTest, DownKeyPullsOntoTheThreadOnScreen)
{
    AppHarness h;
    h.reachPlaying();
    GameSession& g = h.app.session();
    g.board[7][6] = 2;
    h.frame();
    const DesignPoint slot0 = {laneX[6] + 30.f, 625.f};
    const sf::Color before = h.pixelAt(slot0);
    h.press(sf::Keyboard::Down);
    h.frame();
    EXPECT_EQ(g.thread[0], 2);
    EXPECT_TRUE(near(h.pixelAt(slot0), expectedPixel(h.pictures.gemTextures[2], {laneX[6], 595.f}, slot0)));
    EXPECT_FALSE(near(h.pixelAt(slot0), before, 2));
}

TEST(PlayingTest, TrashTubeIsDrawnOverATubeBead)
{
    AppHarness h;
    h.reachPlaying();
    GameSession& g = h.app.session();
    const DesignPoint point = {1777.f + 30.f, 113.f + 60.f * 7 + 30.f};
    g.board[7][TubeColumn] = 1;
    h.frame();
    const sf::Color drawn = h.pixelAt(point);

    // Background, then the bead, then the tube, each blended over the last.
    auto over = [](sf::Color dst, sf::Color src) {
        const float a = src.a / 255.f;
        return sf::Color(static_cast<sf::Uint8>(src.r * a + dst.r * (1 - a)),
                         static_cast<sf::Uint8>(src.g * a + dst.g * (1 - a)),
                         static_cast<sf::Uint8>(src.b * a + dst.b * (1 - a)));
    };
    auto texel = [](const sf::Texture& t, DesignPoint origin, DesignPoint p) {
        const sf::Image image = t.copyToImage();
        const sf::Vector2u at(static_cast<unsigned>(p.x - origin.x), static_cast<unsigned>(p.y - origin.y));
        return at.x < image.getSize().x && at.y < image.getSize().y ? image.getPixel(at.x, at.y) : sf::Color::Transparent;
    };
    sf::Color expected = texel(h.pictures.texture(Picture::Background), {0, 0}, point);
    expected = over(expected, texel(h.pictures.gemTextures[1], cellPosition(7, TubeColumn), point));
    expected = over(expected, texel(h.pictures.texture(Picture::TrashTube), pictureInfo(Picture::TrashTube).position, point));
    EXPECT_TRUE(near(drawn, expected, 4)) << int(drawn.r) << "," << int(drawn.g) << "," << int(drawn.b) << " vs "
                                          << int(expected.r) << "," << int(expected.g) << "," << int(expected.b);
}

TEST(EndTest, OverflowReachesTheEndScreenAndAClickReturnsWithoutPressingAButton)
{
    AppHarness h;
    h.reachPlaying();
    GameSession& g = h.app.session();
    g.board = Board{};
    g.fallingGem = FallingGem{};
    g.fallingGem.column = 0;
    g.fallingGem.code = 3;
    for (int row = 1; row < BoardRows; ++row)
        g.board[static_cast<std::size_t>(row)][0] = 1;
    h.frame(0.001); // lands in row 0: the ending starts
    EXPECT_TRUE(g.overflowEnding);
    EXPECT_EQ(h.audio.music.back(), MusicCommand::Stop);
    h.run(5.5, 0.05);
    EXPECT_EQ(h.app.screens().screen, ScreenState::Playing);
    h.run(0.6, 0.05);
    ASSERT_EQ(h.app.screens().screen, ScreenState::End);
    h.frame(0.5);
    EXPECT_TRUE(h.app.endScreen().congratulations) << "a score of 0 is not below a best of 0";

    h.clickAt(h.centreOf(Picture::StartGameButton));
    h.frame();
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);
    h.run(1.5, 0.05);
    EXPECT_TRUE(h.app.screens().menuFadeIn) << "the click that left the end screen starts nothing";
    EXPECT_EQ(h.app.screens().screen, ScreenState::Menu);
    EXPECT_FALSE(h.app.session().overflowEnding) << "the menu prepared a new game";
}

TEST(EndTest, BestScoreSurvivesARestartOfTheProgram)
{
    std::string path;
    {
        AppHarness first;
        first.keepHighScoreFile = true;
        path = first.highScorePath;
        first.reachPlaying();
        first.app.session().pendingPoints = 650;
        first.frame();
        EXPECT_EQ(first.app.session().bestScore, 650);
    }
    AppHarness second(1920, 1080, path);
    EXPECT_EQ(second.app.session().bestScore, 650);
    std::remove(path.c_str());
}
