#include "app/FrameLoop.hpp"

#include "app/Assets.hpp"

namespace
{
// The real-time state, once per frame: every query is a round trip to the
// display server, so a key is asked for only while its latch waits for the release.
FrameInput sampleInput(const sf::Window& window, const GameApp& game)
{
    FrameInput input;
    input.mouse = sf::Mouse::getPosition(window);
    input.musicKeyHeld = game.needsKeyState(sf::Keyboard::M) && sf::Keyboard::isKeyPressed(sf::Keyboard::M);
    input.soundKeyHeld = game.needsKeyState(sf::Keyboard::S) && sf::Keyboard::isKeyPressed(sf::Keyboard::S);
    input.pauseKeyHeld = game.needsKeyState(sf::Keyboard::P) && sf::Keyboard::isKeyPressed(sf::Keyboard::P);
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
