// Glimmora Game: start-up, the frame loop and release.

#include "app/Assets.hpp"
#include "app/GameApp.hpp"
#include "hud/HighScore.hpp"

#include <SFML/Graphics.hpp>

#include <ctime>
#include <memory>

namespace
{
InputState queryInput(const sf::Window& window)
{
    InputState input;
    input.spaceHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::Space);
    input.musicKeyHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::M);
    input.soundKeyHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::S);
    input.pauseKeyHeld = sf::Keyboard::isKeyPressed(sf::Keyboard::P);
    input.mouse = sf::Mouse::getPosition(window);
    return input;
}
} // namespace

int main()
{
    // The cursor and its picture outlive the window that shows them.
    sf::Image cursorImage;
    sf::Cursor cursor;

    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    sf::RenderWindow window(desktop, "Glimmora Game", sf::Style::Fullscreen, sf::ContextSettings());
    const DesignScale scale = computeDesignScale(desktop.width, desktop.height);
    RandomGenerator generator(static_cast<std::uint32_t>(std::time(nullptr)));

    auto pictures = std::make_unique<PictureAssets>();
    pictures->loadPictures(scale);
    if (cursorImage.loadFromFile(CursorPath) &&
        cursor.loadFromPixels(cursorImage.getPixelsPtr(), cursorImage.getSize(), {0, 0}))
        window.setMouseCursor(cursor);
    pictures->loadGems(scale);

    const sf::Vector2i mouse = sf::Mouse::getPosition(window);
    window.setMouseCursorVisible(false);
    bool cursorShown = false;

    auto audio = std::make_unique<AudioAssets>();
    audio->load();

    sf::Clock clock;
    auto now = [&clock] { return static_cast<Micros>(clock.getElapsedTime().asMicroseconds()); };
    auto game = std::make_unique<GameApp>(*pictures, audio->port(), scale, std::ref(generator), HighScorePath);
    game->start(now(), mouse);

    sf::Event event;
    while (window.isOpen())
    {
        while (window.pollEvent(event))
        {
            game->handleEvent(event, queryInput(window), now());
            if (game->closeRequested())
                window.close();
        }

        game->updateCursor(queryInput(window), now());
        if (game->screens().cursorVisible != cursorShown)
        {
            cursorShown = game->screens().cursorVisible;
            window.setMouseCursorVisible(cursorShown);
        }

        if (!game->update(queryInput(window), now()))
            continue; // the game froze: this frame ends without drawing
        if (game->closeRequested())
            window.close();
        game->releaseLatches(queryInput(window));

        window.clear(sf::Color(0, 0, 0, 255));
        game->draw(window);
        window.display();
    }

    // Reverse order of creation: the game, the music and sounds, the pictures; the window last.
    game.reset();
    audio.reset();
    pictures.reset();
    return 0;
}
