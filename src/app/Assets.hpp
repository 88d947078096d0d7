#pragma once

#include "app/AppContext.hpp"
#include "app/AssetCatalogue.hpp"
#include "app/Layout.hpp"
#include "app/Scene.hpp"

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>

#include <algorithm>
#include <array>
#include <cassert>
#include <memory>

// Every texture, loaded once and never changed but for its filtering, which follows the window's size. Loads
// are not checked: a missing file leaves an empty texture that draws nothing, and the game runs on.
struct PictureAssets
{
    std::array<sf::Texture, TextureCount> textures;
    int texelsPerUnit = 1; // 2 for the set drawn at twice the design's size

    const sf::Texture& texture(TextureId id) const { return textures[id]; }
    const sf::Texture& texture(Picture picture) const { return textures[textureOf(picture)]; }
    // A texture's size in design units.
    sf::Vector2u designSize(TextureId id) const { return textures[id].getSize() / static_cast<unsigned>(texelsPerUnit); }

    // The set of pictures for a window of this scale: the one drawn at twice the size where the window
    // stretches the design by more than a quarter, so that large screens get sharp pictures.
    static bool wantsDoubleSize(const DesignScale& scale) { return std::max(scale.x, scale.y) > 1.25f; }

    // Pages, buttons, HUD digits and end-screen pictures, in catalogue order, from the set chosen.
    void loadPictures(bool doubleSize = false);
    // The gem table, from the same set.
    void loadGems();
    // Filtered only where the window stretches them, and always at twice the size; the gems always, as the
    // danger pulse scales them.
    void filterFor(const DesignScale& scale);

    // Where each picture covers a window of this scale, for the buttons' clicks.
    Hitboxes hitboxes(const DesignScale& scale) const;
};

// Draws scenes: each picture through a sprite made for that one draw, stretched by the design's scale.
class Renderer
{
public:
    Renderer(const PictureAssets& pictures, const DesignScale& scale) : m_pictures(pictures), m_scale(scale) {}

    // The window's size changed.
    void setScale(const DesignScale& scale) { m_scale = scale; }
    const DesignScale& scale() const { return m_scale; }

    // Clears to black and draws the scene in its order.
    void draw(sf::RenderTarget& target, const Scene& scene) const;

private:
    const PictureAssets& m_pictures;
    DesignScale m_scale;
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
