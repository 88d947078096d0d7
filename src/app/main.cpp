// Glimmora Game: start-up, the frame loop and release.

#include "app/Assets.hpp"
#include "app/GameApp.hpp"
#include "app/Launch.hpp"

#include <SFML/Graphics.hpp>

#include <ctime>
#include <memory>

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

int main()
{
    // Before any window: the game's data and a display, or one line on why the game cannot start.
    std::string highScorePath;
    if (!prepareLaunch(highScorePath))
        return 1;

    // The cursor and its picture outlive the window that shows them.
    sf::Image cursorImage;
    sf::Cursor cursor;

    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    sf::RenderWindow window(desktop, "Glimmora Game", sf::Style::Fullscreen, sf::ContextSettings());
    endDisplayCheck();
    setWindowIcon(window);
    const DesignScale scale = computeDesignScale(desktop.width, desktop.height);
    RandomGenerator generator(static_cast<std::uint32_t>(std::time(nullptr)));

    auto pictures = std::make_unique<PictureAssets>();
    pictures->loadPictures(scale);
    if (cursorImage.loadFromFile(CursorPath) &&
        cursor.loadFromPixels(cursorImage.getPixelsPtr(), cursorImage.getSize(), {0, 0}))
        window.setMouseCursor(cursor);
    pictures->loadGems();

    const sf::Vector2i mouse = sf::Mouse::getPosition(window);
    window.setMouseCursorVisible(false);
    bool cursorShown = false;

    auto audio = std::make_unique<AudioAssets>();
    audio->load();

    sf::Clock clock;
    auto now = [&clock] { return static_cast<Micros>(clock.getElapsedTime().asMicroseconds()); };
    AppContext context;
    context.audio = audio->port();
    context.random = std::ref(generator);
    context.highScorePath = highScorePath;
    context.hitboxes = pictures->hitboxes();
    auto game = std::make_unique<GameApp>(std::move(context));
    game->start(now(), mouse);

    sf::Event event;
    while (window.isOpen())
    {
        while (window.pollEvent(event))
        {
            game->respond(commandFromEvent(event, sf::Keyboard::isKeyPressed(sf::Keyboard::Space)), now());
            if (game->closeRequested())
                window.close();
        }

        const bool drawFrame = game->tick(sampleInput(window, *game), now());
        if (game->cursorVisible() != cursorShown)
        {
            cursorShown = game->cursorVisible();
            window.setMouseCursorVisible(cursorShown);
        }
        if (!drawFrame)
            continue; // the game froze: this frame ends without drawing
        if (game->closeRequested())
            window.close();

        window.clear(sf::Color(0, 0, 0, 255));
        game->draw(window, *pictures);
        window.display();
    }

    // Reverse order of creation: the game, the music and sounds, the pictures; the window last.
    game.reset();
    audio.reset();
    pictures.reset();
    return 0;
}
