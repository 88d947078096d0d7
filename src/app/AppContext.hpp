#pragma once

#include "app/AssetCatalogue.hpp"
#include "app/Layout.hpp"
#include "app/ScreenState.hpp"
#include "game/GameSession.hpp"
#include "hud/HighScore.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <array>
#include <optional>
#include <string>

// Window-pixel rectangles of the pictures, as their scaled sprites cover them;
// a picture that failed to load covers nothing.
struct Hitboxes
{
    std::array<sf::FloatRect, PictureCount> rects;

    // The library's rectangle test: left <= x < right, top <= y < bottom.
    bool hits(Picture picture, sf::Vector2i point) const
    {
        return rects[static_cast<std::size_t>(picture)].contains(static_cast<float>(point.x),
                                                                 static_cast<float>(point.y));
    }
};

// Rectangles from the pictures' files alone, for runs without a display.
Hitboxes hitboxesFromFiles(const DesignScale& scale);

// What every screen works on: the one game record and what the frame loop passes in.
struct AppContext
{
    GameSession session;
    AudioPort audio;
    RandomDraw random;
    BestScoreFile bestScoreFile; // none: a best score neither read nor kept
    Hitboxes hitboxes;
    bool closeRequested = false; // Escape on a main page, a quit button, the close event
};

// A screen's answer to a command or a tick: the screen to switch to, if any.
using ScreenSwitch = std::optional<ScreenState>;
