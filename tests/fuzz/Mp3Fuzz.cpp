// Any bytes as a sound file, with the MP3 reader registered as the game does: loaded whole or
// refused, and a loaded buffer holds whole frames of one or two channels.
#include "app/Mp3Reader.hpp"

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Err.hpp>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One buffer lives throughout, so the audio device opens once, not for every input.
    static const sf::SoundBuffer keepDeviceOpen = [] {
        registerMp3Reader();
        sf::err().rdbuf(nullptr); // a refused file is the expected case, not news
        return sf::SoundBuffer();
    }();

    sf::SoundBuffer buffer;
    if (!buffer.loadFromMemory(data, size))
        return 0;
    const unsigned channels = buffer.getChannelCount();
    if (channels < 1 || channels > 2 || buffer.getSampleCount() % channels != 0 || buffer.getSampleRate() == 0)
        __builtin_trap();
    return 0;
}
