// Play without a mouse: the menu from the keyboard, and a gamepad through every screen.

#include "AppHarness.hpp"

namespace
{
// The menu button drawn in its hover look, 0 start to 3 quit; -1 when none is.
int lookedAt(const GameApp& app)
{
    Scene scene;
    app.describe(scene);
    for (std::size_t i = 0; i < scene.count; ++i)
        for (std::size_t b = 0; b < menuHovers.size(); ++b)
            if (scene.items[i].texture == textureOf(menuHovers[b]))
                return static_cast<int>(b);
    return -1;
}

} // namespace

// The menu's focus: the start button at first, the arrows through the four buttons (round), Enter and Space
// pressing the focused one as a click would, only once the buttons are drawn; the pointer's move takes the
// focus; pages are left by Space, Enter or a gamepad's back; a press key held down acts once.
TEST(Input, TheMenuFromTheKeyboard)
{
    AppHarness h;
    h.press(sf::Keyboard::Space);
    h.run(1.5);
    h.press(sf::Keyboard::Enter); // before the buttons are drawn: presses nothing
    h.run(1.0);
    ASSERT_EQ(std::tuple(h.app.screen(), h.app.menu().fadingIn(), lookedAt(h.app)), std::tuple(ScreenState::Menu, true, 0));

    const struct { sf::Keyboard::Key key; int focus; } moves[] = {
        {sf::Keyboard::Down, 1}, {sf::Keyboard::Right, 2}, {sf::Keyboard::Down, 3}, {sf::Keyboard::Down, 0},
        {sf::Keyboard::Up, 3},   {sf::Keyboard::Left, 2},  {sf::Keyboard::Up, 1}};
    for (const auto& m : moves)
    {
        h.press(m.key);
        h.frame(0.01, false);
        EXPECT_EQ(lookedAt(h.app), m.focus) << m.key;
    }
    const struct { sf::Keyboard::Key press, leave; MenuPage page; } pages[] = {
        {sf::Keyboard::Enter, sf::Keyboard::Space, MenuPage::Instructions},
        {sf::Keyboard::Space, sf::Keyboard::Enter, MenuPage::Instructions}};
    for (const auto& p : pages)
    {
        h.press(p.press);
        h.frame(0.01, false);
        EXPECT_EQ(h.app.menuPage(), p.page);
        h.hold(p.leave);
        h.press(p.leave);
        h.frame(0.01, false);
        h.press(p.leave); // its auto-repeat, the key still down
        h.frame(0.01, false);
        EXPECT_EQ(h.app.menuPage(), MenuPage::Main) << "a held key pressed the button again";
        h.hold(p.leave, false);
        h.frame(0.01, false);
    }

    h.moveTo(h.centreOf(Picture::AboutButton));
    h.frame(0.01, false);
    EXPECT_EQ(lookedAt(h.app), 2) << "the pointer takes the focus";
    h.press(sf::Keyboard::Enter);
    h.frame(0.01, false);
    EXPECT_EQ(h.app.menuPage(), MenuPage::About);
    h.send({CommandKind::Back});
    h.frame(0.01, false);
    EXPECT_EQ(h.app.menuPage(), MenuPage::Main);

    // The arrows leave the resting pointer behind
    h.press(sf::Keyboard::Up);
    h.frame(0.01, false);
    EXPECT_EQ(lookedAt(h.app), 1);
    h.press(sf::Keyboard::Up);
    h.press(sf::Keyboard::Space);
    h.run(1.1);
    EXPECT_EQ(h.app.screen(), ScreenState::Playing);
}

// A game through every screen with a gamepad alone: A continues, starts and drops, the D-pad moves the selector
// with the 0.03 s limit and repeats while held, Start pauses, Back abandons; without the focus the pad counts
// for nothing. Then the keyboard alone quits from the menu.
TEST(Input, AGameWithAGamepadAlone)
{
    AppHarness h;
    GameSession& g = h.app.session();
    h.padTap(pad::South);
    h.run(2.4);
    h.padTap(pad::South); // the focused start button
    h.run(1.1);
    ASSERT_EQ(h.app.screen(), ScreenState::Playing);
    h.holdGemMidAir();

    // Right on the D-pad: one step, then repeats after 0.4 s every 0.08 s while held; the stick as well
    const int start = g.game.selectorStop;
    h.padAxis(sf::Joystick::PovX, 100.f);
    h.run(0.38, 0.01);
    EXPECT_EQ(g.game.selectorStop, start + 1);
    h.run(0.2, 0.01);
    EXPECT_EQ(g.game.selectorStop, start + 4) << "repeats at 0.40, 0.48 and 0.56 s";
    h.padAxis(sf::Joystick::PovX, 0.f);
    h.run(0.5, 0.01);
    EXPECT_EQ(g.game.selectorStop, start + 4);
    h.padAxis(sf::Joystick::X, -70.f);
    h.padAxis(sf::Joystick::X, -10.f);
    h.padAxis(sf::Joystick::X, -80.f); // a second push, within 0.03 s of the first: refused
    EXPECT_EQ(g.game.selectorStop, start + 3);
    h.run(0.05, 0.01);
    h.padAxis(sf::Joystick::X, -40.f); // between its thresholds the stick stays pushed
    h.padAxis(sf::Joystick::X, -70.f);
    EXPECT_EQ(g.game.selectorStop, start + 3);
    h.padAxis(sf::Joystick::X, 0.f);

    // Start pauses and resumes; without the focus nothing counts
    h.padTap(pad::Start);
    EXPECT_TRUE(g.game.paused);
    h.frame();
    h.padTap(pad::Start);
    EXPECT_FALSE(g.game.paused);
    h.send({CommandKind::FocusLost});
    EXPECT_TRUE(g.game.paused) << "the focus loss pauses";
    h.frame(); // lets go of P's latch: only the missing focus may refuse the next press
    h.padTap(pad::Start);
    EXPECT_TRUE(g.game.paused) << "a pad without the focus resumed";
    h.send({CommandKind::FocusGained});
    h.frame();
    h.padTap(pad::Start);
    EXPECT_FALSE(g.game.paused);

    // A held drops gem after gem to the top; the end screen waits for A to be let go
    h.padButton(pad::South, true);
    for (int frame = 0; frame < 2000 && h.app.screen() == ScreenState::Playing; ++frame)
        h.frame(0.02, false);
    ASSERT_EQ(h.app.screen(), ScreenState::End);
    EXPECT_TRUE(g.game.overflowEnding);
    h.run(4.0, 0.05); // A's repeats, held since play
    EXPECT_EQ(h.app.screen(), ScreenState::End);
    h.padButton(pad::South, false);
    h.frame();
    h.padTap(pad::South);
    h.frame();
    ASSERT_EQ(h.app.screen(), ScreenState::Menu);

    // Back abandons a game
    h.run(1.3);
    h.padTap(pad::South);
    h.run(1.1);
    h.padTap(pad::Select);
    ASSERT_EQ(h.app.screen(), ScreenState::Menu);

    // The keyboard alone: up to quit, Enter
    h.run(1.3);
    h.press(sf::Keyboard::Up);
    h.press(sf::Keyboard::Enter);
    h.frame();
    EXPECT_TRUE(h.app.closeRequested());
}
