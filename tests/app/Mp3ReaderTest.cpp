#include "app/Mp3Reader.hpp"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Err.hpp>
#include <SFML/System/MemoryInputStream.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
#ifdef GLIMMORA_SOURCE_DIR
const fs::path sourceDir = GLIMMORA_SOURCE_DIR;
#else
const fs::path sourceDir = fs::current_path();
#endif

const fs::path toneMp3 = sourceDir / "tests/data/tone.mp3"; // 0.3 s, 44100 Hz, mono, no tag
const fs::path taggedMp3 = sourceDir / "tests/data/tone_stereo_tagged.mp3"; // 0.3 s, 22050 Hz, stereo, ID3v2
constexpr float toneSeconds = 0.3f;
constexpr float oneFrameSeconds = 1152.f / 22050.f; // coarsest MPEG granularity of the fixtures

using Bytes = std::vector<char>;

Bytes readBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Same bytes on every run, no visible structure.
Bytes garbage(std::size_t size)
{
    Bytes bytes(size);
    unsigned int state = 12345u;
    for (char& byte : bytes)
    {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

bool checkBytes(const Bytes& bytes)
{
    // SFML's memory stream treats a null pointer as no stream at all.
    static const char none = 0;
    sf::MemoryInputStream stream;
    stream.open(bytes.empty() ? &none : bytes.data(), bytes.size());
    const bool accepted = Mp3Reader::check(stream);
    EXPECT_EQ(stream.tell(), 0) << "check must leave the stream at its start";
    return accepted;
}

// Each test gets its own folder, as ctest may run them side by side.
class Mp3ReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerMp3Reader();
        dir = fs::temp_directory_path() / ("glimmora_mp3_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        quietErrors = sf::err().rdbuf(nullptr); // SFML reports every rejected file
    }

    void TearDown() override
    {
        sf::err().rdbuf(quietErrors);
        fs::remove_all(dir);
    }

    fs::path write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream(dir / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return dir / name;
    }

    // A 0.3 s tone in one of SFML's own formats, chosen by the extension.
    fs::path writeTone(const std::string& name) const
    {
        std::vector<sf::Int16> samples(13230);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<sf::Int16>(8000 * std::sin(static_cast<double>(i) * 0.0627));
        sf::OutputSoundFile file;
        EXPECT_TRUE(file.openFromFile((dir / name).string(), 44100, 1));
        file.write(samples.data(), samples.size());
        return dir / name;
    }

    fs::path dir;
    std::streambuf* quietErrors = nullptr;
};

} // namespace


// The fixtures and the game's own effects load with their format and length; every
// format keeps its own reader however often ours is registered.
TEST_F(Mp3ReaderTest, GoodFilesLoadAndOtherFormatsKeepTheirReaders)
{
    registerMp3Reader();
    const struct { fs::path file; unsigned sampleRate, channelCount; float seconds; } cases[] = {
        {toneMp3, 44100, 1, toneSeconds}, {taggedMp3, 22050, 2, toneSeconds}, {writeTone("tone.ogg"), 44100, 1, toneSeconds},
        {writeTone("tone.flac"), 44100, 1, toneSeconds}, {writeTone("tone.wav"), 44100, 1, toneSeconds},
        {sourceDir / "assets/gem_fall.mp3", 0, 0, 0.f}, {sourceDir / "assets/applause.mp3", 0, 0, 0.f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file.string());
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(c.file.string()));
        EXPECT_TRUE(c.sampleRate == 0 || buffer.getSampleRate() == c.sampleRate);
        EXPECT_TRUE(c.channelCount == 0 || buffer.getChannelCount() == c.channelCount);
        const float seconds = buffer.getDuration().asSeconds();
        EXPECT_TRUE(c.seconds ? std::abs(seconds - c.seconds) <= oneFrameSeconds : seconds > 0.05f) << seconds;
    }
}

// Only real MP3 data is claimed, from its first byte; damaged files fail or load
// no more than their decodable part.
TEST_F(Mp3ReaderTest, DamagedAndForeignFiles)
{
    const Bytes tone = readBytes(toneMp3);
    Bytes damaged = tone, mp3AfterJunk = garbage(100), id3ThenNoise = garbage(3000);
    const Bytes noise = garbage(600);
    std::copy(noise.begin(), noise.end(), damaged.begin() + 1200);
    mp3AfterJunk.insert(mp3AfterJunk.end(), tone.begin(), tone.end());
    std::copy_n("ID3\x03\0\0\0\0\0\x10", 10, id3ThenNoise.begin());
    const std::string text = "These are not the sounds of a game.\n";
    const float any = std::numeric_limits<float>::max();
    const struct { const char* name; Bytes bytes; int claimed; float maxSeconds; } cases[] = {
        // claimed: 1 yes, 0 no, -1 either (the start is a genuine MP3 start)
        {"bare MP3", tone, 1, any}, {"ID3v2 tag", readBytes(taggedMp3), 1, any},
        {"OGG", readBytes(writeTone("tone.ogg")), 0, any}, {"WAV", readBytes(writeTone("tone.wav")), 0, any},
        {"MP3 behind garbage", mp3AfterJunk, 0, any}, // the decoder alone would resync onto it
        {"empty", {}, 0, 0.f}, {"garbage", garbage(3000), 0, 0.f}, {"ID3 tag then garbage", id3ThenNoise, 0, 0.f},
        {"text", Bytes(text.begin(), text.end()), 0, 0.f}, {"first ten bytes", Bytes(tone.begin(), tone.begin() + 10), -1, 0.f},
        {"first half", Bytes(tone.begin(), tone.begin() + tone.size() / 2), -1, toneSeconds * 0.6f},
        {"middle overwritten", damaged, -1, toneSeconds + oneFrameSeconds}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.claimed >= 0)
        {
            EXPECT_EQ(checkBytes(c.bytes), c.claimed == 1);
        }
        sf::SoundBuffer buffer;
        if (buffer.loadFromFile(write("bad.mp3", c.bytes).string()))
        {
            EXPECT_LE(buffer.getDuration().asSeconds(), c.maxSeconds);
        }
    }
}
