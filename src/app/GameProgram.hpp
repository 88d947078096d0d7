#pragma once

#include "app/Assets.hpp"
#include "app/FrameLoop.hpp"
#include "app/GameApp.hpp"
#include "app/GameWindow.hpp"

#include <SFML/Graphics.hpp>

#include <functional>
#include <memory>

// What only the benchmarks change.
struct StartOptions
{
    bool keepPlayerFiles = true; // false: no best score or settings are read or kept
    bool unthrottled = false;  // every pass of the loop runs a frame and draws it
};

// The running game and everything it owns, made in start-up order and released in the reverse one:
// the cursor and its picture outlive the window that shows them, the window outlives everything drawn
// in it, and the music goes before the sounds. The game and its benchmark start it alike.
class GameProgram
{
public:
    // Told the name of each start-up step as it ends, for the benchmark's timings.
    using Phase = std::function<void(const char* step)>;

    // Start-up, before the first frame; false after telling the player in one line why the game
    // cannot start.
    bool start(const Phase& phase = {}, StartOptions options = StartOptions());

    // Frames until the window closes.
    void run();

    // The display lost from here on has no game to keep the record of: the game has kept it itself.
    ~GameProgram();

    sf::RenderWindow& window() { return *m_window; }
    FrameLoop& loop() { return *m_loop; }
    GameApp& game() { return *m_game; }

private:
    // Made once the display is known to open: the window library aborts without one
    sf::Image m_cursorImage;
    std::unique_ptr<sf::Cursor> m_cursor;
    std::unique_ptr<sf::RenderWindow> m_window;
    std::unique_ptr<PictureAssets> m_pictures;
    std::unique_ptr<AudioAssets> m_audio;
    std::unique_ptr<RandomGenerator> m_generator;
    std::unique_ptr<GameWindow> m_gameWindow;
    std::unique_ptr<FrameLoop> m_loop;
    std::unique_ptr<GameApp> m_game;
};
