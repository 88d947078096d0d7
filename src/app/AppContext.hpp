#pragma once

#include "app/AssetCatalogue.hpp"
#include "app/Command.hpp"
#include "app/Settings.hpp"
#include "app/Layout.hpp"
#include "app/ScreenState.hpp"
#include "game/GameSession.hpp"
#include "hud/BestScore.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <array>
#include <optional>
#include <string>

// Where the pictures' sprites cover the window: each picture's size stretched by the design's scale
// to the window's current size. A picture that failed to load covers nothing.
struct Hitboxes
{
    std::array<sf::Vector2u, PictureCount> sizes{}; // texels, as loaded
    DesignScale scale;                              // the window's size now over the design's

    // The library's rectangle test: left <= x < right, top <= y < bottom.
    bool hits(Picture picture, sf::Vector2i point) const
    {
        const sf::Vector2f corner = scale.apply(pictureInfo(picture).position);
        const sf::Vector2u size = sizes[static_cast<std::size_t>(picture)];
        return sf::FloatRect(corner.x, corner.y, static_cast<float>(size.x) * scale.x, static_cast<float>(size.y) * scale.y)
            .contains(static_cast<float>(point.x), static_cast<float>(point.y));
    }
};

// Sizes from the pictures' files alone, for runs without a display.
Hitboxes hitboxesFromFiles(const DesignScale& scale);

// The last command received, as the window's one event record, and what became of its click: the menu's
// buttons act on it in every frame until another command replaces it.
struct LastCommand
{
    Command command;
    bool clickConsumed = false; // another screen used the click: it left a page, the title or the end screen
    bool pressPending = false;  // an unconsumed press came since the menu's last frame (a tap within one frame)

    void consumeClick()
    {
        clickConsumed = true;
        pressPending = false;
    }
};

// What every screen works on: the one game record, what the frame loop passes in, and the few fields that
// belong to no one screen.
struct AppContext
{
    GameSession session;
    AudioPort audio;
    RandomDraw random;
    BestScoreFile bestScoreFile; // none: a best score neither read nor kept
    SettingsFile settingsFile;   // none: settings neither read nor kept
    Hitboxes hitboxes;

    MenuPage menuPage = MenuPage::Main; // Escape reads it on every screen
    LastCommand last;
    float transitionReading = 0.f; // seconds: the transitionClock reading of the last update that took one
    KeySet latches;                // keys that acted and wait for their release
    bool focusPauseOwed = false;   // the window lost the focus where play could not pause: it pauses once it can
    int masterLevel = DefaultMasterLevel; // the master volume, 0 (silent) to MasterLevels
    bool volumeShown = false;      // the master volume's indicator shows, for a moment after a change
    Timer volumeClock;             // since the last change
    bool closeRequested = false;   // Escape on a main page, a quit button, the close event
};

// A screen's answer to a command or a tick: the screen to switch to, if any.
using ScreenSwitch = std::optional<ScreenState>;
