// Glimmora Game: start-up, the frame loop and release.

#include "app/Assets.hpp"
#include "app/FrameLoop.hpp"
#include "app/GameApp.hpp"
#include "app/Launch.hpp"
#include "app/Monitor.hpp"

#include <SFML/Graphics.hpp>

#include <ctime>
#include <memory>

int main()
{
    // Before any window: the game's data and a display, or one line on why the game cannot start.
    std::filesystem::path highScorePath;
    if (!prepareLaunch(highScorePath))
        return 1;

    // The cursor and its picture outlive the window that shows them.
    sf::Image cursorImage;
    sf::Cursor cursor;

    sf::RenderWindow window;
    const sf::Vector2u size = openOnOneMonitor(window, "Glimmora Game");
    endDisplayCheck();
    setWindowIcon(window);
    const DesignScale scale = computeDesignScale(size.x, size.y);
    RandomGenerator generator(static_cast<std::uint32_t>(std::time(nullptr)));

    auto pictures = std::make_unique<PictureAssets>();
    pictures->loadPictures(scale);
    if (cursorImage.loadFromFile(CursorPath) &&
        cursor.loadFromPixels(cursorImage.getPixelsPtr(), cursorImage.getSize(), {0, 0}))
        window.setMouseCursor(cursor);
    pictures->loadGems();

    const sf::Vector2i mouse = sf::Mouse::getPosition(window);
    window.setMouseCursorVisible(false);

    auto audio = std::make_unique<AudioAssets>();
    audio->load();

    FrameLoop loop(window, *pictures);
    AppContext context;
    context.audio = audio->port();
    context.random = std::ref(generator);
    context.bestScoreFile = BestScoreFile(highScorePath);
    context.hitboxes = pictures->hitboxes();
    auto game = std::make_unique<GameApp>(std::move(context));
    game->start(loop.now(), mouse);

    while (window.isOpen())
        loop.frame(*game);

    // Reverse order of creation: the game, the music and sounds, the pictures; the window last.
    game.reset();
    audio.reset();
    pictures.reset();
    return 0;
}
