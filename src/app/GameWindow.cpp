#include "app/GameWindow.hpp"

#include <SFML/System/Sleep.hpp>

GameWindow::GameWindow(sf::RenderWindow& window, PictureAssets& pictures, const DesignScale& scale) :
m_window(window),
m_pictures(pictures),
m_renderer(pictures, scale),
m_watch(window.getSystemHandle())
{
    // A resting stick's noise wakes no frame; the game reads an axis only past half its travel
    m_window.setJoystickThreshold(5.f);
}

Micros GameWindow::refreshPeriod() const
{
    return 1000000 / m_watch.refreshRate();
}

bool GameWindow::poll(Command& command)
{
    sf::Event event;
    if (!m_window.pollEvent(event))
        return false;
    command = commandFromEvent(event, sf::Keyboard::isKeyPressed(sf::Keyboard::Space));
    // Another program grabbing the keyboard for a moment (a desktop hotkey) sends a focus loss too, while the
    // window keeps the focus: only a real loss counts
    if (command.kind == CommandKind::FocusLost && m_window.hasFocus())
        command.kind = CommandKind::Other;
    if (command.kind == CommandKind::Resized)
        follow({static_cast<unsigned>(command.position.x), static_cast<unsigned>(command.position.y)});
    return true;
}

void GameWindow::follow(sf::Vector2u size)
{
    const DesignScale scale = computeDesignScale(size.x, size.y);
    m_window.setView(sf::View(sf::FloatRect(0.f, 0.f, static_cast<float>(size.x), static_cast<float>(size.y))));
    m_pictures.filterFor(scale);
    m_renderer.setScale(scale);
    m_lost = true;
}

LoopPort GameWindow::port()
{
    LoopPort port;
    port.now = [this] { return static_cast<Micros>(m_clock.getElapsedTime().asMicroseconds()); };
    port.poll = [this](Command& command) { return poll(command); };
    port.input = [this](const GameApp& game) {
        return readFrameInput(game, sf::Mouse::getPosition(m_window),
                              [](sf::Keyboard::Key key) { return sf::Keyboard::isKeyPressed(key); });
    };
    port.show = [this](const Scene& scene) {
        m_renderer.draw(m_window, scene);
        m_window.display();
    };
    port.exposed = [this] {
        const bool lost = m_watch.exposed() || m_lost;
        m_lost = false;
        return lost;
    };
    port.cursor = [this](bool shown) { m_window.setMouseCursorVisible(shown); };
    port.close = [this] { m_window.close(); };
    port.sleepUntil = [this](Micros until) {
        const Micros left = until - static_cast<Micros>(m_clock.getElapsedTime().asMicroseconds());
        if (left > 0)
            sf::sleep(sf::microseconds(left));
    };
    return port;
}
