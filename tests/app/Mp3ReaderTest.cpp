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


TEST_F(Mp3ReaderTest, GoodFilesLoadWithTheirFormatAndLength)
{
    const struct
    {
        fs::path file;
        unsigned int sampleRate;
        unsigned int channelCount;
    } cases[] = {{toneMp3, 44100, 1}, {taggedMp3, 22050, 2}};

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file.string());
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(c.file.string()));
        EXPECT_EQ(buffer.getSampleRate(), c.sampleRate);
        EXPECT_EQ(buffer.getChannelCount(), c.channelCount);
        EXPECT_NEAR(buffer.getDuration().asSeconds(), toneSeconds, oneFrameSeconds);
    }
}

TEST_F(Mp3ReaderTest, BadFilesFailOrLoadOnlyTheirDecodablePart)
{
    const Bytes tone = readBytes(toneMp3);
    Bytes damaged = tone;
    const Bytes noise = garbage(600);
    std::copy(noise.begin(), noise.end(), damaged.begin() + 1200);
    const std::string text = "These are not the sounds of a game.\n";
    Bytes id3ThenNoise = garbage(3000);
    std::copy_n("ID3\x03\0\0\0\0\0\x10", 10, id3ThenNoise.begin());

    const float anyLength = std::numeric_limits<float>::max();
    const struct
    {
        const char* name;
        Bytes bytes;
        bool checkMayAccept; // the start is a genuine MP3 start
        float maxSeconds;    // longest buffer a successful load may give
    } cases[] = {
        {"empty", {}, false, 0.f},
        {"first ten bytes", Bytes(tone.begin(), tone.begin() + 10), true, 0.f},
        {"first half", Bytes(tone.begin(), tone.begin() + tone.size() / 2), true, toneSeconds * 0.6f},
        {"middle overwritten", damaged, true, toneSeconds + oneFrameSeconds},
        {"garbage", garbage(3000), false, 0.f},
        {"ID3 tag then garbage", id3ThenNoise, false, 0.f},
        {"text", Bytes(text.begin(), text.end()), false, 0.f},
        {"WAV renamed", readBytes(writeTone("tone.wav")), false, anyLength}, // SFML's WAV reader may take it
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (!c.checkMayAccept)
        {
            EXPECT_FALSE(checkBytes(c.bytes));
        }

        sf::SoundBuffer buffer;
        if (buffer.loadFromFile(write("bad.mp3", c.bytes).string()))
        {
            EXPECT_LE(buffer.getDuration().asSeconds(), c.maxSeconds);
        }
    }
}

TEST_F(Mp3ReaderTest, CheckAcceptsOnlyMp3)
{
    Bytes mp3AfterJunk = garbage(100);
    const Bytes tone = readBytes(toneMp3);
    mp3AfterJunk.insert(mp3AfterJunk.end(), tone.begin(), tone.end());

    const struct
    {
        const char* name;
        Bytes bytes;
        bool accepted;
    } cases[] = {
        {"bare MP3", readBytes(toneMp3), true},
        {"MP3 with ID3v2 tag", readBytes(taggedMp3), true},
        {"OGG", readBytes(writeTone("tone.ogg")), false},
        {"FLAC", readBytes(writeTone("tone.flac")), false},
        {"WAV", readBytes(writeTone("tone.wav")), false},
        {"garbage", garbage(3000), false},
        {"MP3 behind 100 bytes of garbage", mp3AfterJunk, false}, // the decoder alone would resync onto it
        {"empty", {}, false},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkBytes(c.bytes), c.accepted);
    }
}

TEST_F(Mp3ReaderTest, RegisteringAgainKeepsEveryFormatLoading)
{
    registerMp3Reader();
    registerMp3Reader();

    // The MP3 reader must not take SFML's own formats away from their readers.
    for (const fs::path& file : {toneMp3, writeTone("tone.ogg"), writeTone("tone.flac"), writeTone("tone.wav")})
    {
        SCOPED_TRACE(file.string());
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(file.string()));
        EXPECT_NEAR(buffer.getDuration().asSeconds(), toneSeconds, oneFrameSeconds);
    }
}

TEST_F(Mp3ReaderTest, ReadAfterSeekContinuesFromThatSample)
{
    for (const fs::path& file : {toneMp3, taggedMp3})
    {
        SCOPED_TRACE(file.string());
        const Bytes bytes = readBytes(file);
        sf::MemoryInputStream stream;
        stream.open(bytes.data(), bytes.size());
        Mp3Reader reader;
        sf::SoundFileReader::Info info{};
        ASSERT_TRUE(reader.open(stream, info));
        ASSERT_EQ(info.sampleCount, static_cast<sf::Uint64>(toneSeconds * info.sampleRate + 0.5f) * info.channelCount);

        std::vector<sf::Int16> whole(info.sampleCount);
        ASSERT_EQ(reader.read(whole.data(), whole.size()), whole.size());

        // Inside the first frame, mid-file on a frame boundary, and between boundaries.
        // The decoder's state after a seek may round a sample differently; a sample
        // off by one position would differ by hundreds on these tones.
        for (sf::Uint64 frame : {100u, 1152u, 4001u})
        {
            const sf::Uint64 offset = frame * info.channelCount;
            std::vector<sf::Int16> part(1000);
            reader.seek(offset);
            ASSERT_EQ(reader.read(part.data(), part.size()), part.size());
            int worst = 0;
            for (std::size_t i = 0; i < part.size(); ++i)
                worst = std::max(worst, std::abs(part[i] - whole[offset + i]));
            EXPECT_LE(worst, 4) << "after seeking to sample " << offset;
        }

        // Past the end means at the end: nothing more to read.
        reader.seek(info.sampleCount + 5000);
        sf::Int16 sample = 0;
        EXPECT_EQ(reader.read(&sample, 1), 0u);
    }
}
