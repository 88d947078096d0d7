#pragma once

#include <SFML/Audio/SoundFileReader.hpp>
#include <SFML/Config.hpp>

struct mpg123_handle_struct;

namespace sf
{
class InputStream;
}

// Decodes MP3 sound files for SFML 2.5, which reads only WAV, OGG and FLAC by
// itself. The data comes through the sf::InputStream, never by file name, and is
// delivered as 16-bit signed samples at the file's own rate and channel count.
class Mp3Reader : public sf::SoundFileReader
{
public:
    Mp3Reader() = default;
    ~Mp3Reader() override;

    Mp3Reader(const Mp3Reader&) = delete;
    Mp3Reader& operator=(const Mp3Reader&) = delete;

    // True only for data that starts with an ID3v2 tag or an MPEG audio frame
    // header and that the decoder can find a frame in. Leaves the stream at 0.
    static bool check(sf::InputStream& stream);

    bool open(sf::InputStream& stream, Info& info) override;

    // An offset past the end moves to the end; later reads return nothing.
    void seek(sf::Uint64 sampleOffset) override;

    // Never returns fewer samples than asked while the announced count has not
    // been reached: a file that stops decoding early is completed with silence.
    sf::Uint64 read(sf::Int16* samples, sf::Uint64 maxCount) override;

private:
    void close();

    mpg123_handle_struct* m_handle = nullptr; // open decoder, or null before open()
    unsigned int m_channelCount = 0;          // 1 or 2 once open
    sf::Uint64 m_sampleCount = 0;             // all channels, as announced by open()
    sf::Uint64 m_position = 0;                // next sample to deliver, 0 to m_sampleCount
};

// Makes sf::SoundBuffer and sf::InputSoundFile load MP3 files. Call once at
// start-up before any sound is loaded; further calls change nothing.
void registerMp3Reader();
