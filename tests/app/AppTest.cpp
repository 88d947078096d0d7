// The app layer in process: screens, controls and drawing together, with a
// manual clock, commands as the window would deliver them and an off-screen picture.

#include "AppHarness.hpp"

#include "game/Falling.hpp"

#include <fstream>

#include <fcntl.h>
#include <sys/file.h>

namespace
{
const DesignPoint middle{960.f, 540.f};

// A game with these points lost by overflow, through to the end screen's first frame: Space drops the last
// gem and is held on, auto-repeating, or let go at once.
void reachEndScreen(AppHarness& h, int points, bool spaceHeld)
{
    h.reachPlaying();
    h.app.session().game.pendingPoints = points;
    h.fillColumnButTop(0);
    h.hold(sf::Keyboard::Space);
    for (int frame = 0; frame < 500 && h.app.screen() == ScreenState::Playing; ++frame, h.frame(0.02, false))
    {
        if (spaceHeld || frame == 0)
            h.press(sf::Keyboard::Space); // the popup's hundred steps hold the ending back
        h.hold(sf::Keyboard::Space, spaceHeld);
    }
    ASSERT_EQ(h.app.screen(), ScreenState::End);
}
} // namespace

// Title fade, a press held from the title that must not press the quit button beneath it, hover, and the
// sub-pages. (When the buttons and the cursor's hiding come, the loop's tests time.)
TEST(Screens, TitleAndMenu)
{
    AppHarness h;
    h.frame(0.5);
    EXPECT_TRUE(near(h.pixelAt(middle), sf::Color(h.texel(Picture::StartPage, middle).r * 127 / 255,
                                                   h.texel(Picture::StartPage, middle).g * 127 / 255,
                                                   h.texel(Picture::StartPage, middle).b * 127 / 255), 3));

    const DesignPoint quit = h.centreOf(Picture::QuitMenuButton);
    h.clickAt(quit); // dismisses the title and stays the last command
    h.run(0.99);
    ASSERT_EQ(h.app.screen(), ScreenState::Title) << "the title's fade-out takes a second";
    h.run(0.02);
    ASSERT_EQ(h.app.screen(), ScreenState::Menu);
    h.run(1.22);
    EXPECT_FALSE(h.app.closeRequested()) << "the title's click pressed a button the player had not seen";
    EXPECT_TRUE(near(h.pixelAt(quit), h.texel(Picture::QuitMenuHover, quit)));
    EXPECT_TRUE(h.app.session().game.gameReady) << "the first menu frame prepares a game";

    // The pointer shows as it moves over the menu, and takes the hover look with it
    const DesignPoint start = h.centreOf(Picture::StartGameButton);
    h.moveTo(start);
    h.frame();
    EXPECT_TRUE(near(h.pixelAt(start), h.texel(Picture::StartGameHover, start)));
    EXPECT_TRUE(h.app.cursorVisible());

    // The instructions page alone; a click on the start button's spot only leaves it
    h.clickAt(h.centreOf(Picture::InstructionsButton));
    h.frame();
    ASSERT_EQ(h.app.menuPage(), MenuPage::Instructions);
    EXPECT_TRUE(near(h.pixelAt(middle), h.texel(Picture::InstructionsPage, middle)));
    h.clickAt(start);
    h.run(1.5);
    EXPECT_EQ(std::tuple(h.app.menuPage(), h.app.menu().fadingIn(), h.app.screen()),
              std::tuple(MenuPage::Main, true, ScreenState::Menu));

    // A tap (press and release in one frame) opens a page; Escape leaves it, its auto-repeat
    // does nothing more, and once released it closes from the main page
    h.tapAt(h.centreOf(Picture::AboutButton));
    h.frame();
    ASSERT_EQ(h.app.menuPage(), MenuPage::About);
    h.hold(sf::Keyboard::Escape);
    for (int repeat = 0; repeat < 3; ++repeat, h.frame(0.03))
        h.press(sf::Keyboard::Escape);
    EXPECT_EQ(std::tuple(h.app.menuPage(), h.app.closeRequested()), std::tuple(MenuPage::Main, false));
    h.hold(sf::Keyboard::Escape, false);
    h.frame();
    h.press(sf::Keyboard::Escape);
    EXPECT_TRUE(h.app.closeRequested());
}

// The buttons answer only once the player has seen them: a tap after the frame drawn at 1.19 s (no buttons
// yet), handled in the frame of 1.21 s (the first to draw them), presses nothing.
TEST(Screens, MenuButtonsAnswerOnlyOnceDrawn)
{
    AppHarness h;
    h.press(sf::Keyboard::Space);
    while (h.app.screen() == ScreenState::Title)
        h.frame(0.01, false);
    h.run(1.19, 0.01);
    const DesignPoint start = h.centreOf(Picture::StartGameButton);
    h.tapAt(start);
    h.frame(0.02);
    EXPECT_TRUE(near(h.pixelAt(start), h.texel(Picture::StartGameHover, start), 2)) << "the buttons are drawn now";
    h.run(0.1);
    EXPECT_TRUE(h.app.menu().fadingIn()) << "a button the player had not seen was pressed";
    h.tapAt(start);
    h.frame();
    EXPECT_FALSE(h.app.menu().fadingIn());
}

// Start game fades out while its press stands, then play begins with the level's
// whole minute however long the menu stood.
TEST(Screens, PlayBeginsWithAFullFirstLevel)
{
    AppHarness h;
    h.reachMenu();
    h.run(5.0);
    h.clickAt(h.centreOf(Picture::StartGameButton));
    h.run(1.5);
    EXPECT_EQ(h.app.screen(), ScreenState::Menu) << "the standing press restarts the fade-out";
    h.moveTo({10.f, 10.f});
    h.run(1.0);
    h.frame(0.005);
    ASSERT_EQ(h.app.screen(), ScreenState::Playing);
    h.run(0.99);
    EXPECT_EQ(h.app.session().game.secondsLeft, 60) << "01:00 for the first second of play";
    h.run(0.02);
    EXPECT_EQ(h.app.session().game.secondsLeft, 59);
}

// The five in-game buttons by click on a 5:4 desktop, where every hit box is stretched, and after the window
// was given another size.
TEST(Screens, InGameButtonsAtFiveByFour)
{
    AppHarness h(1280, 1024);
    h.reachPlaying();
    h.holdGemMidAir();
    const GameSession& g = h.app.session();

    // Each button switches its own, and only its own
    const struct { Picture button; bool musicOn, soundOn, paused; } clicks[] = {
        {Picture::MusicOnButton, false, true, false}, {Picture::SoundOnButton, false, false, false},
        {Picture::PauseButton, false, false, true}};
    for (const auto& c : clicks)
    {
        h.clickAt(h.centreOf(c.button));
        EXPECT_EQ(std::tuple(g.kept.musicOn, g.kept.soundOn, g.game.paused), std::tuple(c.musicOn, c.soundOn, c.paused));
    }
    h.frame();
    // The resume picture in the pause button's place, under the paused game's sign
    const DesignPoint pause = h.centreOf(Picture::PauseButton);
    const sf::Color dim = h.pictures.texture(Picture::PausedOverlay).copyToImage().getPixel(
        static_cast<unsigned>(pause.x), static_cast<unsigned>(pause.y));
    EXPECT_TRUE(near(h.pixelAt(pause), over(dim, h.texel(h.pictures.texture(Picture::ResumeButton),
                                                          pictureInfo(Picture::PauseButton).position, pause)), 12));
    h.clickAt(h.centreOf(Picture::MusicOnButton)); // refused while paused
    h.clickAt(pause);
    EXPECT_EQ(std::tuple(g.kept.musicOn, g.game.paused), std::tuple(false, false));
    EXPECT_EQ(h.audio.music, (std::vector{MusicCommand::Pause}));

    h.clickAt(h.centreOf(Picture::MainMenuButton));
    EXPECT_EQ(std::tuple(h.app.screen(), g.game.gameReady), std::tuple(ScreenState::Menu, false));
    h.moveTo({10.f, 10.f});
    h.run(1.3);
    h.startGame();

    // A window given another size: the buttons answer where they are drawn now
    h.resize(1920, 1080);
    h.clickAt(h.centreOf(Picture::QuitButton));
    EXPECT_TRUE(h.app.closeRequested());
}

// M, S and P act once per press: auto-repeat toggles nothing more until the key is
// released, and a refused press leaves its latch clear.
TEST(Screens, HeldKeysActOncePerPress)
{
    const auto music = [](GameSession& g) -> bool& { return g.kept.musicOn; };
    const auto sound = [](GameSession& g) -> bool& { return g.kept.soundOn; };
    const auto paused = [](GameSession& g) -> bool& { return g.game.paused; };
    const struct { sf::Keyboard::Key key; bool& (*flag)(GameSession&); } keys[] = {
        {sf::Keyboard::M, music}, {sf::Keyboard::S, sound}, {sf::Keyboard::P, paused}};
    for (const auto& k : keys)
    {
        AppHarness h;
        h.reachPlaying();
        h.holdGemMidAir();
        const bool before = k.flag(h.app.session());
        h.hold(k.key);
        for (int i = 0; i < 4; ++i, h.frame(0.03)) // an even count: toggling on each would end where it began
            h.press(k.key);
        EXPECT_NE(k.flag(h.app.session()), before) << k.key;
        EXPECT_TRUE(h.app.latches()[k.key]);
        h.hold(k.key, false);
        h.frame();
        EXPECT_FALSE(h.app.latches()[k.key]);
        h.press(k.key);
        EXPECT_EQ(k.flag(h.app.session()), before) << k.key;
    }

    // P in a landing pause is refused, and so leaves its latch clear
    AppHarness h;
    h.reachPlaying();
    h.holdGemMidAir();
    h.hold(sf::Keyboard::Space);
    h.press(sf::Keyboard::Space);
    ASSERT_TRUE(h.app.session().game.fallingGem.landingPause);
    h.press(sf::Keyboard::P);
    EXPECT_FALSE(h.app.session().game.paused || h.app.latches()[sf::Keyboard::P]);

    // A game left in that landing pause: the next game's first gem pauses all the same
    h.press(sf::Keyboard::B);
    h.hold(sf::Keyboard::Space, false);
    h.run(1.3);
    h.startGame();
    h.press(sf::Keyboard::P);
    EXPECT_TRUE(h.app.session().game.paused);
}

// Losing the focus pauses play as P would, and regaining it does not resume. Where P is refused (a landing
// pause, the menu's fade toward play) the pause is owed: it comes in the first frame that takes P, unless the
// player is back first. Endings run on unpaused. The next game's music plays as its button says.
TEST(Screens, LosingTheFocusPausesPlay)
{
    enum When { MidAir, LandingPause, FadeTowardPlay, Overflow, TimeOut };
    const struct { const char* name; When when; bool backFirst, pauses; } cases[] = {
        {"mid-air", MidAir, false, true},           {"mid-air, back at once", MidAir, true, true},
        {"landing pause", LandingPause, false, true}, {"landing pause, back first", LandingPause, true, false},
        {"fade toward play", FadeTowardPlay, false, true}, {"fade toward play, back first", FadeTowardPlay, true, false},
        {"overflow", Overflow, false, false},       {"time-out", TimeOut, false, false}};
    for (const auto& c : cases)
    {
        AppHarness h;
        GameSession& g = h.app.session();
        const auto loseFocus = [&] {
            h.send({CommandKind::FocusLost, sf::Keyboard::Unknown, {}, false});
            if (c.backFirst)
                h.send({CommandKind::FocusGained, sf::Keyboard::Unknown, {}, false});
        };
        if (c.when == FadeTowardPlay)
        {
            h.reachMenu();
            h.clickAt(h.centreOf(Picture::StartGameButton));
            h.frame();
            h.moveTo({10.f, 10.f});
            loseFocus();
            h.run(1.1);
            ASSERT_EQ(h.app.screen(), ScreenState::Playing);
        }
        else
        {
            h.reachPlaying();
            h.holdGemMidAir();
            if (c.when == LandingPause)
            {
                std::tie(g.game.fallingGem.falling, g.game.fallingGem.landingPause) = std::tuple(false, true);
                g.carried.fallingGem.landingClock.restart(h.now);
            }
            g.game.overflowEnding = c.when == Overflow;
            g.game.timeUp = c.when == TimeOut;
            loseFocus();
        }
        h.run(0.4); // the landing pause ends, the next gem spawns
        EXPECT_EQ(std::tuple(g.game.paused, h.audio.music), std::tuple(c.pauses, std::vector<MusicCommand>(c.pauses, MusicCommand::Pause)))
            << c.name;
        if (c.when != MidAir || c.backFirst)
            continue;
        h.press(sf::Keyboard::B);
        h.run(1.3);
        h.startGame();
        EXPECT_EQ(h.audio.music, (std::vector{MusicCommand::Pause, MusicCommand::Play})) << "the next game's music stays paused";
    }
}

// The playing screen's draw order and what decides each sprite: a pulled gem in
// slot 0, the tube over its beads, the falling gem hidden in its landing pause,
// and the danger pulse shown while paused but not during either ending.
TEST(Screens, PlayingScreenDrawsFromState)
{
    AppHarness h;
    h.reachPlaying();
    GameSession& g = h.app.session();
    h.holdGemMidAir(10);
    g.game.board[7][6] = 2;
    h.press(sf::Keyboard::Down);
    g.game.board[7][TubeColumn] = 1;
    g.game.fallingGem.row = 3;
    h.frame();
    const DesignPoint slot0{laneX[6] + 30.f, 625.f}, tube{1807.f, 563.f}, gem{1500.f, 323.f};
    EXPECT_TRUE(near(h.pixelAt(slot0), h.texel(h.pictures.texture(gemPicture(2)), {laneX[6], 595.f}, slot0)));
    const auto layer = [&](const sf::Texture& t, DesignPoint origin) {
        const sf::Image image = t.copyToImage();
        return image.getPixel(static_cast<unsigned>(tube.x - origin.x), static_cast<unsigned>(tube.y - origin.y));
    };
    sf::Color expected = layer(h.pictures.texture(Picture::Background), {0.f, 0.f});
    for (sf::Color top : {layer(h.pictures.texture(gemPicture(1)), cellPosition(7, TubeColumn)),
                          layer(h.pictures.texture(Picture::TrashTube), pictureInfo(Picture::TrashTube).position)})
        expected = over(top, expected);
    EXPECT_TRUE(near(h.pixelAt(tube), expected, 4)) << "background, bead, then the tube over it";
    EXPECT_TRUE(near(h.pixelAt(gem), h.texel(h.pictures.texture(gemPicture(g.carried.fallingGem.code)), {1470.f, 293.f}, gem)));
    g.game.fallingGem.falling = false;
    g.game.fallingGem.landingPause = true;
    h.frame();
    EXPECT_TRUE(near(h.pixelAt(gem), h.texel(Picture::Background, gem))) << "drawn as a board cell only";
    g.game.fallingGem.landingPause = false;
    g.game.fallingGem.falling = true;

    // Column 2 in danger; the pulse at its largest half a second into its cycle
    for (int row = 1; row < BoardRows; ++row)
        g.game.board[static_cast<std::size_t>(row)][2] = 3;
    const sf::IntRect box(h.pixel({498.f, 161.f}), {60, 70}); // the pulse's top left, clear of the full board's sign
    const auto pulseArea = [&](bool* flag) {
        if (flag)
            *flag = true;
        g.kept.pulseClock.restart(h.now - microsFromSeconds(0.499));
        h.frame();
        if (flag)
            *flag = false;
        sf::Image area;
        area.create(static_cast<unsigned>(box.width), static_cast<unsigned>(box.height));
        area.copy(h.shot(), 0, 0, box);
        return std::vector<sf::Uint8>(area.getPixelsPtr(), area.getPixelsPtr() + box.width * box.height * 4);
    };
    const auto running = pulseArea(nullptr);
    EXPECT_EQ(pulseArea(&g.game.paused), running);
    const auto overflow = pulseArea(&g.game.overflowEnding);
    EXPECT_NE(overflow, running);
    EXPECT_EQ(pulseArea(&g.game.timeUp), overflow);
}

// What the board alone would not tell, drawn over the design's frame: the selected column under its gems, the
// thread's hint for 1.5 s after Up at the tube with a part-full thread, the paused sign over everything while the
// player has paused (not in the freeze before an overflow ending), the full board's sign during that ending, and
// the master volume's indicator on every screen for 1.5 s after each step, its level from 0 to 10.
TEST(Screens, FeedbackInTheFrame)
{
    AppHarness h;
    h.reachPlaying();
    h.holdGemMidAir();
    GameSession& g = h.app.session();
    const TextureId marker = textureOf(Picture::ColumnMarker);
    h.frame();
    Scene s = h.scene();
    const int markerAt = h.placeOf(marker);
    ASSERT_GE(markerAt, 0);
    EXPECT_EQ(s.items[static_cast<std::size_t>(markerAt)].position, (DesignPoint{laneX[StartStop], 113.f}));
    EXPECT_LT(markerAt, h.placeOf(gemPicture(g.carried.fallingGem.code), cellPosition(g.game.fallingGem.row, g.game.fallingGem.column)))
        << "the marker over the falling gem";

    // Up at the tube with three beads: the hint, then gone 1.5 s later; a full thread is thrown away without it
    std::tie(g.game.thread, g.game.selectorStop) = std::tuple(Thread{1, 2, 3}, TrashTubeStop);
    h.press(sf::Keyboard::Up);
    h.frame();
    EXPECT_GE(h.placeOf(textureOf(Picture::ThreadNotFull)), 0);
    EXPECT_EQ(h.scene().items[static_cast<std::size_t>(h.placeOf(marker))].position.x, laneX[TrashTubeStop]);
    h.run(1.49);
    EXPECT_GE(h.placeOf(textureOf(Picture::ThreadNotFull)), 0);
    h.run(0.02);
    EXPECT_LT(h.placeOf(textureOf(Picture::ThreadNotFull)), 0);
    g.game.thread = Thread{1, 2, 3, 1, 2, 3, 1, 2};
    h.press(sf::Keyboard::Up);
    h.frame();
    EXPECT_LT(h.placeOf(textureOf(Picture::ThreadNotFull)), 0);

    // Paused by the player: the sign last; by the freeze: none
    h.holdGemMidAir();
    h.press(sf::Keyboard::P);
    h.frame();
    s = h.scene();
    EXPECT_EQ(h.placeOf(textureOf(Picture::PausedOverlay)), static_cast<int>(s.count) - 1);
    h.hold(sf::Keyboard::P, false);
    h.frame();
    h.press(sf::Keyboard::P);
    h.frame();
    EXPECT_LT(h.placeOf(textureOf(Picture::PausedOverlay)), 0);
    h.fillColumnButTop(4);
    h.hold(sf::Keyboard::Space);
    h.press(sf::Keyboard::Space);
    h.hold(sf::Keyboard::Space, false);
    h.run(0.4);
    ASSERT_TRUE(gameFrozen(g));
    EXPECT_LT(h.placeOf(textureOf(Picture::PausedOverlay)), 0);
    EXPECT_GE(h.placeOf(textureOf(Picture::BoardFullSign)), 0);

    // The volume: each step shown, held at its ends, the gain 3 dB a level
    const struct { sf::Keyboard::Key key; int presses, level; } steps[] = {
        {sf::Keyboard::Equal, 1, 9}, {sf::Keyboard::Add, 3, 10}, {sf::Keyboard::Hyphen, 4, 6}, {sf::Keyboard::Subtract, 9, 0}};
    for (const auto& step : steps)
    {
        for (int i = 0; i < step.presses; ++i)
            h.press(step.key);
        h.frame();
        EXPECT_EQ(h.app.masterLevel(), step.level);
        EXPECT_GE(h.placeOf(textureOf(volumePicture(step.level))), 0);
    }
    EXPECT_EQ(h.audio.gains.back(), 0.f);
    EXPECT_NEAR(masterGain(DefaultMasterLevel) / masterGain(DefaultMasterLevel - 1), 1.4125f, 1e-3f);
    EXPECT_EQ(masterGain(MasterLevels), MaxMasterGain);
    h.run(1.49);
    EXPECT_GE(h.placeOf(textureOf(volumePicture(0))), 0);
    h.run(0.02);
    EXPECT_LT(h.placeOf(textureOf(volumePicture(0))), 0);
}

// The end screen answers Space, Enter and clicks only once everything it shows is up: the result panel (3 s)
// for a game that scored, the faded-in background (1 s) otherwise. Mashed keys and clicks do not skip it, and a
// key held since play must be let go first, however late its first repeat comes.
TEST(Screens, TheEndScreenWaitsForItsResult)
{
    enum Input { MashedSpace, MashedClicks, SpaceHeldSincePlay };
    const struct { const char* name; int points; Input input; double shownAt; } cases[] = {
        {"Space mashed", 300, MashedSpace, 3.0}, {"Space mashed, no points", 0, MashedSpace, 1.0},
        {"clicks", 300, MashedClicks, 3.0}, {"Space held since play", 300, SpaceHeldSincePlay, 3.0}};
    for (const auto& c : cases)
    {
        AppHarness h;
        reachEndScreen(h, c.points, c.input == SpaceHeldSincePlay);
        const Micros entered = h.now;
        for (int frame = 0; frame < 400 && h.app.screen() == ScreenState::End; ++frame, h.frame(0.02, false))
        {
            if (frame % 5 == 1 && c.input == MashedSpace)
                h.press(sf::Keyboard::Space);
            else if (frame % 5 == 1 && c.input == MashedClicks)
                h.tapAt(middle);
            else if (frame == 200) // its first repeat, long after the panel came
                h.press(sf::Keyboard::Space);
            else if (frame == 210)
                h.hold(sf::Keyboard::Space, false);
            else if (frame == 215)
                h.press(sf::Keyboard::Space);
        }
        const double left = static_cast<double>(h.now - entered) / 1e6;
        if (c.input == SpaceHeldSincePlay)
            EXPECT_NEAR(left, 4.32, 0.03) << c.name << ": only a press after the release leaves";
        else
            EXPECT_TRUE(left > c.shownAt && left < c.shownAt + 0.15) << c.name << " left at " << left << " s";
    }
}

// Either ending leads to the end screen; its first frame shows this game's end. The first menu frame after it
// draws no buttons, and neither the click that left it nor a second click of a double click presses one.
TEST(Screens, EndScreenShowsThisGameAndLeavesCleanly)
{
    AppHarness h;
    reachEndScreen(h, 300, true); // a best score: congratulations and its panel
    h.hold(sf::Keyboard::Space, false);
    h.run(3.1, 0.05);
    ASSERT_EQ(h.app.end().display().panel, ResultPanel::BestLost);

    // Leave by a double click, start the next game, lose it without points
    const DesignPoint start = h.centreOf(Picture::StartGameButton);
    h.clickAt(start);
    h.frame(0.4); // slow frames must not flash the buttons
    ASSERT_EQ(h.app.screen(), ScreenState::Menu);
    EXPECT_FALSE(near(h.pixelAt(start), h.texel(Picture::StartGameButton, start), 2));
    h.tapAt(h.centreOf(Picture::QuitMenuButton));
    h.run(1.5);
    EXPECT_EQ(std::tuple(h.app.screen(), h.app.menu().fadingIn(), h.app.closeRequested()),
              std::tuple(ScreenState::Menu, true, false));
    h.startGame();
    h.fillColumnButTop(5);
    h.frame();
    h.run(6.0, 0.05);
    ASSERT_EQ(h.app.screen(), ScreenState::Playing);
    h.frame(0.1);
    ASSERT_EQ(h.app.screen(), ScreenState::End);
    EXPECT_EQ(std::tuple(h.app.end().display().panel, h.app.end().display().congratulations),
              std::tuple(ResultPanel::None, false));
    const DesignPoint panel = h.centreOf(Picture::PanelBestLost);
    EXPECT_TRUE(near(h.pixelAt(panel), sf::Color::Black, 3)) << "the last game's panel on the switch frame";
    EXPECT_EQ(h.audio.started.back(), Effect::Defeat);
}

// Space held through the last level's end: the gem hangs, the won game ends
// applauded with its all-levels panel, never frozen as lost; also when the drop
// that fills a column to the top comes in the frame the last second runs out.
TEST(Screens, ATimeOutStaysATimeOut)
{
    for (const bool lastSecondDrop : {false, true})
    {
        AppHarness h;
        h.reachPlaying();
        GameSession& g = h.app.session();
        std::tie(g.game.level, g.game.secondsLeft, g.game.score, g.kept.bestScore) = std::tuple(60, 1, 500, 900);
        h.fillColumnButTop(4);
        if (lastSecondDrop)
            g.game.levelClock.restart(h.now - microsFromSeconds(0.999));
        else
            g.game.board[1][4] = g.game.board[2][4] = EmptyGem;
        h.hold(sf::Keyboard::Space);
        for (int frame = 0; frame < 500 && h.app.screen() == ScreenState::Playing; ++frame)
        {
            h.press(sf::Keyboard::Space); // auto-repeat
            h.frame(0.02, false);
        }
        ASSERT_EQ(h.app.screen(), ScreenState::End) << "last-second drop " << lastSecondDrop;
        EXPECT_FALSE(g.game.overflowEnding);
        EXPECT_EQ(std::count(h.audio.started.begin(), h.audio.started.end(), Effect::Defeat), 0);
        h.hold(sf::Keyboard::Space, false);
        h.run(3.1, 0.05);
        EXPECT_EQ(h.app.end().display().panel, ResultPanel::AllLevels);
    }
}

// A rise that another copy of the game held up is stored at the game's end, and read at the next start.
TEST(Screens, BestScoreSurvivesARestart)
{
    const std::string path = AppHarness::scratchPath();
    {
        AppHarness first(1920, 1080, path + ".keep");
        first.reachPlaying();
        std::ofstream(first.bestScorePath) << 0;
        const int other = ::open(first.bestScorePath.c_str(), O_RDWR);
        ::flock(other, LOCK_EX);
        first.app.session().game.pendingPoints = 650;
        first.frame();
        ::close(other);
        first.press(sf::Keyboard::B);
        std::string stored;
        EXPECT_TRUE(std::ifstream(first.bestScorePath) >> stored && stored == "650") << stored;
        std::rename((path + ".keep").c_str(), path.c_str());
    }
    AppHarness second(1920, 1080, path);
    EXPECT_EQ(second.app.session().kept.bestScore, 650);
}
