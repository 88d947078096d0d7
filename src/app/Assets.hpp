#pragma once

#include "app/AppContext.hpp"
#include "app/AssetCatalogue.hpp"
#include "app/Layout.hpp"

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>

#include <array>
#include <cassert>
#include <memory>

using DigitSet = std::array<sf::Texture, 10>;
using DigitSprites = std::array<sf::Sprite, 7>;

// Every picture and its sprites. Loads are not checked: a missing file leaves an
// empty texture whose sprite draws nothing, and the game runs on.
struct PictureAssets
{
    DesignScale scale;  // the window's size over the design's, set by place
    std::array<sf::Texture, PictureCount> textures;
    std::array<sf::Sprite, PictureCount> sprites; // one per picture, scaled and placed
    DigitSet hudDigits;
    DigitSet endDigits;
    std::array<sf::Texture, GemCodeCount> gemTextures;

    std::array<sf::Sprite, 4> timeDigits;  // minutes tens, units, seconds tens, units
    std::array<sf::Sprite, 2> levelDigits; // tens, units
    std::array<sf::Sprite, 2> endLevelDigits;
    DigitSprites scoreField, bestScoreField, patternsField, popupField, endScoreField;

    std::array<sf::Sprite, ThreadSlots> threadSprites;
    std::array<sf::Sprite, ThreadSlots> patternSprites;
    sf::Sprite fallingGemSprite;

    sf::Texture& texture(Picture p) { return textures[static_cast<std::size_t>(p)]; }
    const sf::Texture& gemTexture(GemCode code) const
    {
        assert(code >= EmptyGem && code < GemCodeCount);
        return gemTextures[static_cast<std::size_t>(code)];
    }
    sf::Sprite& sprite(Picture p) { return sprites[static_cast<std::size_t>(p)]; }
    const sf::Sprite& sprite(Picture p) const { return sprites[static_cast<std::size_t>(p)]; }

    // Pages, buttons, HUD digits and end-screen pictures, in catalogue order, placed for `runScale`.
    void loadPictures(const DesignScale& runScale);
    // Every sprite scaled and placed again, for a window whose size changed.
    void place(const DesignScale& windowScale);
    // The gem table; thread and pattern sprites get their pictures at the first reset.
    void loadGems();

    // Where each picture's sprite covers the window, for the buttons' clicks.
    Hitboxes hitboxes() const;
};

// Effects and the music. The music is the one load that is checked.
struct AudioAssets
{
    // Every sound object, made only once an output device is known to open: each one
    // made without a device fails, and says so on stderr.
    struct Sounds
    {
        std::array<sf::SoundBuffer, static_cast<std::size_t>(Effect::Count)> buffers;
        std::array<sf::Sound, static_cast<std::size_t>(Effect::Count)> sounds;
        sf::Music music; // last: released first, before the sounds and their buffers
        bool musicOpened = false;
        ~Sounds();
    };
    std::unique_ptr<Sounds> loaded; // none without an output device

    // Loads every effect, opens the music and, if it opened, starts it looping.
    // Without an output device it says so in one line and the game runs silent.
    void load();
    // Music requests on an unopened track change nothing.
    void musicCommand(MusicCommand command);
    // Silent and inert without a device: no sound call can fail there.
    AudioPort port();
};
