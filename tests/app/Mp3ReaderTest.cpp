#include "app/AssetCatalogue.hpp"
#include "app/Mp3Reader.hpp"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Err.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

// The fixtures, the first half of one, and the game's own effects load through the game's reader with
// their format and length; every other format keeps its own reader however often ours is registered, and
// bytes that are no MP3 are refused. (Any bytes at all are the fuzz target's.)
TEST(Mp3Reader, LoadsMp3FilesWholeAndLeavesOtherFormatsToTheirReaders)
{
    registerMp3Reader();
    registerMp3Reader();
    std::streambuf* const errors = sf::err().rdbuf(nullptr); // the refused file is expected, not news
    const fs::path dir = fs::temp_directory_path() / ("glimmora-mp3-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto tone = [&](const std::string& name) { // 0.3 s at 44100 Hz, mono, in SFML's own formats
        std::vector<sf::Int16> samples(13230);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<sf::Int16>(8000 * std::sin(static_cast<double>(i) * 0.0627));
        sf::OutputSoundFile file;
        EXPECT_TRUE(file.openFromFile((dir / name).string(), 44100, 1));
        file.write(samples.data(), samples.size());
        return dir / name;
    };
    const fs::path mono = "tests/data/tone.mp3", tagged = "tests/data/tone_stereo_tagged.mp3"; // the second with an ID3v2 tag
    std::ifstream whole(mono, std::ios::binary);
    std::string half(std::istreambuf_iterator<char>(whole), {});
    half.resize(half.size() / 2);
    std::ofstream(dir / "half.mp3", std::ios::binary) << half;
    std::ofstream(dir / "text.mp3") << "These are not the sounds of a game.\n";
    const float frame = 1152.f / 22050.f; // the coarsest MPEG granularity of the fixtures
    struct Case { fs::path file; unsigned sampleRate, channelCount; float seconds; };
    std::vector<Case> cases = {{mono, 44100, 1, 0.3f}, {tagged, 22050, 2, 0.3f}, {dir / "half.mp3", 44100, 1, 0.15f},
                               {tone("tone.ogg"), 44100, 1, 0.3f}, {tone("tone.flac"), 44100, 1, 0.3f},
                               {tone("tone.wav"), 44100, 1, 0.3f},  {dir / "text.mp3", 0, 0, 0.f}};
    for (const SoundInfo& effect : soundCatalogue)
        cases.push_back({effect.path, 0, 0, -1.f});
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file.string());
        sf::SoundBuffer buffer;
        ASSERT_EQ(buffer.loadFromFile(c.file.string()), c.seconds != 0.f);
        EXPECT_TRUE(c.sampleRate == 0 || buffer.getSampleRate() == c.sampleRate);
        EXPECT_TRUE(c.channelCount == 0 || buffer.getChannelCount() == c.channelCount);
        const float seconds = buffer.getDuration().asSeconds();
        EXPECT_TRUE(c.seconds < 0 ? seconds > 0.1f : std::abs(seconds - c.seconds) <= frame) << seconds;
    }
    fs::remove_all(dir);
    sf::err().rdbuf(errors);
}
