#include "app/FrameLoop.hpp"

#include "app/Assets.hpp"

namespace
{
// The real-time state, once per frame: every query is a round trip to the
// display server, so a key is asked for only while its latch waits for the release.
FrameInput sampleInput(const sf::Window& window, const GameApp& game)
{
    const auto held = [&game](sf::Keyboard::Key key) { return game.needsKeyState(key) && sf::Keyboard::isKeyPressed(key); };
    FrameInput input;
    input.mouse = sf::Mouse::getPosition(window);
    input.musicKeyHeld = held(sf::Keyboard::M);
    input.soundKeyHeld = held(sf::Keyboard::S);
    input.pauseKeyHeld = held(sf::Keyboard::P);
    input.escapeKeyHeld = held(sf::Keyboard::Escape);
    input.spaceKeyHeld = held(sf::Keyboard::Space);
    input.enterKeyHeld = held(sf::Keyboard::Enter);
    return input;
}
} // namespace

bool FrameLoop::frame(GameApp& game)
{
    sf::Event event;
    while (m_window.pollEvent(event))
    {
        game.respond(commandFromEvent(event, sf::Keyboard::isKeyPressed(sf::Keyboard::Space)), now());
        if (game.closeRequested())
            m_window.close();
    }

    const bool drawFrame = game.tick(sampleInput(m_window, game), now());
    if (game.cursorVisible() != m_cursorShown)
    {
        m_cursorShown = game.cursorVisible();
        m_window.setMouseCursorVisible(m_cursorShown);
    }
    if (!drawFrame)
        return false; // the game froze: this frame ends without drawing
    if (game.closeRequested())
        m_window.close();

    m_window.clear(sf::Color(0, 0, 0, 255));
    game.draw(m_window, m_pictures);
    m_window.display();
    return true;
}
