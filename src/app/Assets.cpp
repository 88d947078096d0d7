#include "app/Assets.hpp"

#include "app/Mp3Reader.hpp"

#include <AL/alc.h>

#include <iostream>
#include <string>

DesignScale computeDesignScale(unsigned desktopWidth, unsigned desktopHeight)
{
    return {static_cast<float>(desktopWidth) / 1920.f, static_cast<float>(desktopHeight) / 1080.f};
}

namespace
{
void loadDigitSet(DigitSet& set, const char* prefix)
{
    for (std::size_t n = 0; n < set.size(); ++n)
        set[n].loadFromFile(prefix + std::to_string(n) + ".png");
}

void placeSprite(sf::Sprite& sprite, const DesignScale& scale, DesignPoint position)
{
    sprite.setScale(scale.x, scale.y);
    sprite.setPosition(scale.apply(position));
}
} // namespace

void PictureAssets::loadPictures(const DesignScale& runScale)
{
    for (std::size_t i = 0; i < PictureCount; ++i)
    {
        textures[i].loadFromFile(pictureCatalogue[i].path);
        sprites[i].setTexture(textures[i], true);
    }
    // Pages that fade start invisible; the end backgrounds get their alpha from the end screen.
    sprite(Picture::StartPage).setColor(sf::Color(255, 255, 255, 0));
    sprite(Picture::MenuPage).setColor(sf::Color(255, 255, 255, 0));
    sprite(Picture::GameOver).setColor(sf::Color(255, 255, 255, 0));

    loadDigitSet(hudDigits, HudDigitPrefix);
    loadDigitSet(endDigits, EndDigitPrefix);

    // The HUD reads 01:00 and level 01 until the first game says otherwise.
    const std::array<int, 4> startTime = {0, 1, 0, 0};
    for (std::size_t i = 0; i < timeDigits.size(); ++i)
        timeDigits[i].setTexture(hudDigits[static_cast<std::size_t>(startTime[i])], true);
    for (std::size_t i = 0; i < levelDigits.size(); ++i)
    {
        levelDigits[i].setTexture(hudDigits[i == 0 ? 0 : 1], true);
        endLevelDigits[i].setTexture(endDigits[i == 0 ? 0 : 1], true);
    }
    place(runScale);
}

void PictureAssets::place(const DesignScale& windowScale)
{
    scale = windowScale;
    // Filtered only when stretched, so any other screen size gets clean strokes. At 1920 x 1080 every
    // texel lands on one pixel: filtering would change nothing there and cost dearly (with a software
    // renderer, nearly half of every frame).
    const bool smooth = scale.x != 1.f || scale.y != 1.f;
    for (std::size_t i = 0; i < PictureCount; ++i)
    {
        textures[i].setSmooth(smooth);
        placeSprite(sprites[i], scale, pictureCatalogue[i].position);
    }
    for (DigitSet* set : {&hudDigits, &endDigits})
        for (sf::Texture& digit : *set)
            digit.setSmooth(smooth);
    for (std::size_t i = 0; i < timeDigits.size(); ++i)
        placeSprite(timeDigits[i], scale, timeDigitPositions[i]);
    for (std::size_t i = 0; i < levelDigits.size(); ++i)
    {
        placeSprite(levelDigits[i], scale, levelDigitPositions[i]);
        placeSprite(endLevelDigits[i], scale, endLevelDigitPositions[i]);
    }
    // Thread, pattern and falling gem are placed from the game's record at every draw
    for (auto& sprite : threadSprites)
        sprite.setScale(scale.x, scale.y);
    for (auto& sprite : patternSprites)
        sprite.setScale(scale.x, scale.y);
    fallingGemSprite.setScale(scale.x, scale.y);
}

Hitboxes PictureAssets::hitboxes() const
{
    Hitboxes boxes;
    boxes.scale = scale;
    for (std::size_t i = 0; i < PictureCount; ++i)
        boxes.sizes[i] = textures[i].getSize();
    return boxes;
}

Hitboxes hitboxesFromFiles(const DesignScale& scale)
{
    // Decoding the images needs no display, unlike making textures of them
    Hitboxes boxes;
    boxes.scale = scale;
    for (std::size_t i = 0; i < PictureCount; ++i)
    {
        sf::Image image;
        if (image.loadFromFile(pictureCatalogue[i].path))
            boxes.sizes[i] = image.getSize();
    }
    return boxes;
}

void PictureAssets::loadGems()
{
    for (std::size_t code = 0; code < gemTextures.size(); ++code)
    {
        gemTextures[code].loadFromFile(gemPicturePaths[code]);
        gemTextures[code].setSmooth(true);
    }
}

namespace
{
// The audio library's own device, opened by the first sound object, would report its
// failure, and then each further object's, on stderr: ask OpenAL first.
bool audioDeviceOpens()
{
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device)
        return false;
    alcCloseDevice(device);
    return true;
}
} // namespace

void AudioAssets::load()
{
    if (!audioDeviceOpens())
    {
        std::cerr << "glimmora-game: no sound device opens; playing without sound" << std::endl;
        return;
    }
    registerMp3Reader();
    loaded = std::make_unique<Sounds>();
    // Should the library still get no device, a started music stream would spin on its errors
    if (!alcGetCurrentContext())
    {
        loaded.reset();
        return;
    }
    for (std::size_t i = 0; i < loaded->buffers.size(); ++i)
    {
        loaded->buffers[i].loadFromFile(soundCatalogue[i].path);
        loaded->sounds[i].setBuffer(loaded->buffers[i]);
        loaded->sounds[i].setVolume(soundCatalogue[i].volume);
    }
    loaded->musicOpened = loaded->music.openFromFile(MusicPath);
    if (loaded->musicOpened)
    {
        loaded->music.setLoop(true);
        loaded->music.setVolume(MusicVolume);
        loaded->music.play();
    }
}

void AudioAssets::musicCommand(MusicCommand command)
{
    if (!loaded || !loaded->musicOpened)
        return;
    switch (command)
    {
        case MusicCommand::Play: loaded->music.play(); break;
        case MusicCommand::Pause: loaded->music.pause(); break;
        case MusicCommand::Stop: loaded->music.stop(); break;
    }
}

AudioPort AudioAssets::port()
{
    AudioPort port;
    if (!loaded)
        return port;
    auto& sounds = loaded->sounds;
    port.isPlaying = [&sounds](Effect e) { return sounds[static_cast<std::size_t>(e)].getStatus() == sf::Sound::Playing; };
    port.start = [&sounds](Effect e) { sounds[static_cast<std::size_t>(e)].play(); };
    port.music = [this](MusicCommand command) { musicCommand(command); };
    port.musicIsPlaying = [this] { return loaded->musicOpened && loaded->music.getStatus() == sf::Music::Playing; };
    return port;
}

AudioAssets::Sounds::~Sounds()
{
    // The music goes before the sounds, and each sound before its buffer.
    music.stop();
    for (auto& sound : sounds)
        sound.stop();
}
