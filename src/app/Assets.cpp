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
// A picture's file in the set drawn at twice the size: the same name in assets/2x/.
std::string inSet(const std::string& path, int texelsPerUnit)
{
    const std::string folder = "assets/";
    return texelsPerUnit == 1 ? path : folder + std::to_string(texelsPerUnit) + "x/" + path.substr(folder.size());
}
} // namespace

void PictureAssets::loadPictures(bool doubleSize)
{
    texelsPerUnit = doubleSize ? 2 : 1;
    for (std::size_t i = 0; i < PictureCount; ++i)
        textures[i].loadFromFile(inSet(pictureCatalogue[i].path, texelsPerUnit));
    for (std::size_t n = 0; n < DigitCount; ++n)
    {
        const std::string digit = std::to_string(n) + ".png";
        textures[hudDigit(static_cast<int>(n))].loadFromFile(inSet(HudDigitPrefix + digit, texelsPerUnit));
        textures[endDigit(static_cast<int>(n))].loadFromFile(inSet(EndDigitPrefix + digit, texelsPerUnit));
    }
}

void PictureAssets::loadGems()
{
    for (GemCode code = EmptyGem; code < GemCodeCount; ++code)
    {
        textures[gemPicture(code)].loadFromFile(inSet(gemPicturePaths[static_cast<std::size_t>(code)], texelsPerUnit));
        textures[gemPicture(code)].setSmooth(true);
    }
}

void PictureAssets::filterFor(const DesignScale& scale)
{
    // At 1920 x 1080 every texel of the design's set lands on one pixel: filtering would change nothing there
    // and cost dearly (with a software renderer, nearly half of every frame)
    const bool stretched = texelsPerUnit != 1 || scale.x != 1.f || scale.y != 1.f;
    for (TextureId id = 0; id < gemPicture(EmptyGem); ++id)
        textures[id].setSmooth(stretched);
}

Hitboxes PictureAssets::hitboxes(const DesignScale& scale) const
{
    Hitboxes boxes;
    boxes.scale = scale;
    for (std::size_t i = 0; i < PictureCount; ++i)
        boxes.sizes[i] = designSize(static_cast<TextureId>(i));
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

void Renderer::draw(sf::RenderTarget& target, const Scene& scene) const
{
    // A set drawn at twice the size is drawn at half the scale
    const float texel = 1.f / static_cast<float>(m_pictures.texelsPerUnit);
    target.clear(sf::Color(0, 0, 0, 255));
    for (std::size_t i = 0; i < scene.count; ++i)
    {
        const DrawItem& item = scene.items[i];
        const sf::Vector2u frame = m_pictures.texture(item.frame).getSize();
        sf::Sprite sprite(m_pictures.texture(item.texture),
                          sf::IntRect(0, 0, static_cast<int>(frame.x), static_cast<int>(frame.y)));
        if (item.centred)
            sprite.setOrigin(static_cast<float>(frame.x) / 2.f, static_cast<float>(frame.y) / 2.f);
        sprite.setScale(item.zoom * texel * m_scale.x, item.zoom * texel * m_scale.y);
        sprite.setPosition(m_scale.apply(item.position));
        sprite.setColor(sf::Color(255, 255, 255, item.alpha));
        target.draw(sprite);
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
    // The listener's gain scales every sound alike, so the sounds keep their volumes to each other
    port.masterGain = [](float gain) { sf::Listener::setGlobalVolume(100.f * gain); };
    return port;
}

AudioAssets::Sounds::~Sounds()
{
    // The music goes before the sounds, and each sound before its buffer.
    music.stop();
    for (auto& sound : sounds)
        sound.stop();
}
