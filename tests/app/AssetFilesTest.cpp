// Every file the catalogue names is there, of its intended size, and decodes.

#include "app/AssetCatalogue.hpp"
#include "app/Mp3Reader.hpp"

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct PictureFile
{
    std::string path;
    unsigned width, height; // 0: any size
};

std::vector<PictureFile> allPictures()
{
    std::vector<PictureFile> files;
    for (const PictureInfo& info : pictureCatalogue)
        files.push_back({info.path, info.fullScreen ? 1920u : 0u, info.fullScreen ? 1080u : 0u});
    for (const char* path : gemPicturePaths)
        files.push_back({path, GemPictureSize, GemPictureSize});
    for (int n = 0; n < 10; ++n)
    {
        files.push_back({HudDigitPrefix + std::to_string(n) + ".png", 0, 0});
        files.push_back({EndDigitPrefix + std::to_string(n) + ".png", 0, 0});
    }
    files.push_back({CursorPath, 0, 0});
    return files;
}

sf::Vector2u sizeOf(const std::string& path)
{
    sf::Image image;
    return image.loadFromFile(path) ? image.getSize() : sf::Vector2u();
}
} // namespace

TEST(AssetFilesTest, EveryPictureLoadsAtItsIntendedSize)
{
    for (const PictureFile& file : allPictures())
    {
        const sf::Vector2u size = sizeOf(file.path);
        EXPECT_GT(size.x * size.y, 0u) << file.path << " missing or not a picture";
        if (file.width != 0)
        {
            EXPECT_EQ(size.x, file.width) << file.path;
            EXPECT_EQ(size.y, file.height) << file.path;
        }
    }
}

TEST(AssetFilesTest, PicturesOfOnePairOrSetShareTheirSize)
{
    // A swapped picture keeps its sprite's rectangle, so pairs must match.
    const std::vector<std::pair<Picture, Picture>> pairs = {
        {Picture::StartGameButton, Picture::StartGameHover}, {Picture::InstructionsButton, Picture::InstructionsHover},
        {Picture::AboutButton, Picture::AboutHover},         {Picture::QuitMenuButton, Picture::QuitMenuHover},
        {Picture::MusicOnButton, Picture::MusicOffButton},   {Picture::SoundOnButton, Picture::SoundOffButton},
        {Picture::PauseButton, Picture::ResumeButton}};
    for (const auto& [a, b] : pairs)
        EXPECT_EQ(sizeOf(pictureInfo(a).path), sizeOf(pictureInfo(b).path)) << pictureInfo(a).path;
    for (int n = 1; n < 10; ++n)
    {
        EXPECT_EQ(sizeOf(HudDigitPrefix + std::to_string(n) + ".png"), sizeOf(std::string(HudDigitPrefix) + "0.png"));
        EXPECT_EQ(sizeOf(EndDigitPrefix + std::to_string(n) + ".png"), sizeOf(std::string(EndDigitPrefix) + "0.png"));
    }
}

TEST(AssetFilesTest, EveryEffectDecodesThroughTheMp3Reader)
{
    registerMp3Reader();
    for (const SoundInfo& sound : soundCatalogue)
    {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(sound.path)) << sound.path;
        EXPECT_GT(buffer.getDuration(), sf::milliseconds(50)) << sound.path;
    }
}

TEST(AssetFilesTest, MusicOpensAsALoopableStream)
{
    sf::Music music;
    ASSERT_TRUE(music.openFromFile(MusicPath));
    EXPECT_GT(music.getDuration(), sf::seconds(10));
    EXPECT_GT(music.getSampleRate(), 0u);
}
