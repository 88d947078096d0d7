#include "app/FrameLoop.hpp"

#include "app/Assets.hpp"

bool FrameLoop::frame(GameApp& game)
{
    sf::Event event;
    while (m_window.pollEvent(event))
    {
        Command command = commandFromEvent(event, sf::Keyboard::isKeyPressed(sf::Keyboard::Space));
        // Another program grabbing the keyboard for a moment (a desktop hotkey) sends a focus loss
        // too, while the window keeps the focus: only a real loss counts
        if (command.kind == CommandKind::FocusLost && m_window.hasFocus())
            command.kind = CommandKind::Other;
        if (command.kind == CommandKind::Resized)
            follow({static_cast<unsigned>(command.position.x), static_cast<unsigned>(command.position.y)});
        game.respond(command, now());
        if (game.closeRequested())
            m_window.close();
    }

    const FrameInput input = readFrameInput(game, sf::Mouse::getPosition(m_window),
                                            [](sf::Keyboard::Key key) { return sf::Keyboard::isKeyPressed(key); });
    const bool drawFrame = game.tick(input, now());
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

void FrameLoop::follow(sf::Vector2u size)
{
    // The picture fills the window as it is now, whatever size was asked for
    m_window.setView(sf::View(sf::FloatRect(0.f, 0.f, static_cast<float>(size.x), static_cast<float>(size.y))));
    m_pictures.place(computeDesignScale(size.x, size.y));
}
