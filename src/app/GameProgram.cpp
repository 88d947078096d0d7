#include "app/GameProgram.hpp"

#include "app/Launch.hpp"
#include "platform/Monitor.hpp"
#include "platform/System.hpp"

#include <ctime>

bool GameProgram::start(const Phase& phase, StartOptions options)
{
    const auto mark = [&phase](const char* step) {
        if (phase)
            phase(step);
    };

    // Before any window: the game's data and a display, or one line on why the game cannot start.
    PlayerFiles files;
    if (!prepareLaunch(files))
        return false;
    mark("checks");

    m_cursor = std::make_unique<sf::Cursor>();
    m_window = std::make_unique<sf::RenderWindow>();
    const sf::Vector2u size = openOnOneMonitor(*m_window, "Glimmora Game");
    endDisplayCheck();
    if (!m_window->isOpen())
    {
        platform::reportFailure("glimmora-game: cannot start: no window opens on this display");
        return false;
    }
    mark("window");
    setWindowIcon(*m_window);
    mark("icon");
    const DesignScale scale = computeDesignScale(size.x, size.y);
    m_generator = std::make_unique<RandomGenerator>(static_cast<std::uint32_t>(std::time(nullptr)));

    m_pictures = std::make_unique<PictureAssets>();
    m_pictures->loadPictures(PictureAssets::wantsDoubleSize(scale));
    if (m_cursorImage.loadFromFile(CursorPath) &&
        m_cursor->loadFromPixels(m_cursorImage.getPixelsPtr(), m_cursorImage.getSize(), {0, 0}))
        m_window->setMouseCursor(*m_cursor);
    m_pictures->loadGems();
    m_pictures->filterFor(scale);
    mark("pictures");

    const sf::Vector2i mouse = sf::Mouse::getPosition(*m_window);
    m_window->setMouseCursorVisible(false);

    m_audio = std::make_unique<AudioAssets>();
    m_audio->load();
    mark("audio");

    m_gameWindow = std::make_unique<GameWindow>(*m_window, *m_pictures, scale);
    Pacing pacing;
    pacing.refresh = m_gameWindow->refreshPeriod();
    pacing.unthrottled = options.unthrottled;
    m_loop = std::make_unique<FrameLoop>(m_gameWindow->port(), pacing);
    AppContext context;
    context.audio = m_audio->port();
    context.random = std::ref(*m_generator);
    if (options.keepPlayerFiles)
    {
        context.bestScoreFile = BestScoreFile(files.bestScore);
        context.settingsFile = SettingsFile(files.settings);
    }
    context.hitboxes = m_pictures->hitboxes(scale);
    m_game = std::make_unique<GameApp>(std::move(context));
    platform::onDisplayLost([this] { if (m_game) m_game->bestScoreFile().close(); });
    m_game->start(m_loop->now(), mouse);
    mark("app");
    return true;
}

void GameProgram::run()
{
    while (m_window->isOpen() && !platform::quitRequested())
        m_loop->pass(*m_game);
}

GameProgram::~GameProgram()
{
    // The window goes after the game, and closing it may find the display gone
    platform::onDisplayLost([] {});
    m_game.reset();
}
