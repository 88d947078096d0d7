#pragma once

#include "app/Assets.hpp"
#include "app/FrameLoop.hpp"
#include "app/GameApp.hpp"

#include <SFML/Graphics.hpp>

#include <functional>
#include <memory>

// The running game and everything it owns, made in start-up order and released in the reverse one:
// the cursor and its picture outlive the window that shows them, the window outlives everything drawn
// in it, and the music goes before the sounds. The game and its benchmark start it alike.
class GameProgram
{
public:
    // Told the name of each start-up step as it ends, for the benchmark's timings.
    using Phase = std::function<void(const char* step)>;

    // Start-up, before the first frame; false after telling the player in one line why the game
    // cannot start. Without `keepBestScore` no best score is read or kept (the benchmark's runs).
    bool start(const Phase& phase = {}, bool keepBestScore = true);

    // Frames until the window closes.
    void run();

    sf::RenderWindow& window() { return m_window; }
    FrameLoop& loop() { return *m_loop; }
    GameApp& game() { return *m_game; }

private:
    sf::Image m_cursorImage;
    sf::Cursor m_cursor;
    sf::RenderWindow m_window;
    std::unique_ptr<PictureAssets> m_pictures;
    std::unique_ptr<AudioAssets> m_audio;
    std::unique_ptr<RandomGenerator> m_generator;
    std::unique_ptr<FrameLoop> m_loop;
    std::unique_ptr<GameApp> m_game;
};
