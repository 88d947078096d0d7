#include "hud/HighScore.hpp"
#include "hud/PlayingHud.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <sys/resource.h>

namespace fs = std::filesystem;

namespace
{
std::string readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> entriesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

// Each test gets a fresh folder of its own, removed afterwards.
class HighScoreFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "glimmora-hud-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        path = folder / "highscore.txt";
    }

    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    fs::path path;
};

TEST_F(HighScoreFile, ReadsTheFirstNumberClampedToThirtyTwoBits)
{
    EXPECT_EQ(loadBestScore(path.string()), 0); // no file

    const struct
    {
        const char* content;
        int best;
    } cases[] = {
        {"", 0},
        {"  977\n", 977},
        {"1200abc", 1200},
        {"abc", 0},
        {"99999999999", 2147483647},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-5", -5},
        {"-2147483648", -2147483648},
        {"-99999999999", -2147483648},
        {"+12", 12},
        {"- 3", 0},
        {"\t\n0042 7", 42},
    };
    for (const auto& c : cases)
    {
        writeFile(path, c.content);
        EXPECT_EQ(loadBestScore(path.string()), c.best) << '"' << c.content << '"';
    }
}

TEST_F(HighScoreFile, OnlyAGreaterScoreRewritesTheFile)
{
    writeFile(path, "sentinel");
    GameSession session;
    session.score = 500;
    session.bestScore = 500;
    recordScore(session, path.string());
    EXPECT_EQ(readFile(path), "sentinel");

    session.score = 1230;
    recordScore(session, path.string());
    EXPECT_EQ(session.bestScore, 1230);
    EXPECT_EQ(readFile(path), "1230");
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"highscore.txt"});
}

TEST_F(HighScoreFile, CreatesAMissingFileAndKeepsItsPermissions)
{
    ASSERT_TRUE(saveBestScore(path.string(), -7));
    EXPECT_EQ(readFile(path), "-7");

    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(saveBestScore(path.string(), 40));
    EXPECT_EQ(readFile(path), "40");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(HighScoreFile, UnwritableFolderRaisesTheBestInMemoryOnly)
{
    for (const fs::path& target : {folder / "missing" / "highscore.txt", path / "highscore.txt"})
    {
        writeFile(path, "977"); // for the second target, a file stands where a folder should
        GameSession session;
        session.bestScore = 977;
        session.score = 1200;
        recordScore(session, target.string());
        EXPECT_EQ(session.bestScore, 1200);
        EXPECT_EQ(session.score, 1200);
        EXPECT_EQ(readFile(path), "977");
        EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"highscore.txt"});
    }
}

TEST_F(HighScoreFile, AWriteFailingHalfWayLeavesTheOldScore)
{
    writeFile(path, "977");

    // Files may grow to two bytes only: "1230" breaks off after "12"
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 2;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool saved1230 = saveBestScore(path.string(), 1230);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved1230);
    EXPECT_EQ(readFile(path), "977");
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"highscore.txt"});
}

TEST_F(HighScoreFile, AFailedRenameLeavesNoTemporaryFile)
{
    // The name is taken by a folder with content, which no rename can replace
    fs::create_directory(path);
    writeFile(path / "keep", "x");

    EXPECT_FALSE(saveBestScore(path.string(), 1230));
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"highscore.txt"});
    EXPECT_EQ(readFile(path / "keep"), "x");
}

TEST_F(HighScoreFile, AFrameOfPlayShowsItsOwnPointsAndBest)
{
    GameSession session;
    HudFields hud;
    session.selectorStop = TrashTubeStop;
    session.pendingPoints = 40;
    updatePlayingHud(session, hud, microsFromSeconds(3.0), path.string());

    EXPECT_EQ(session.popupPoints, 40);
    EXPECT_EQ(session.score, 40);
    EXPECT_EQ(session.bestScore, 40);
    EXPECT_EQ(readFile(path), "40");
    EXPECT_EQ(hud.score.places[4].digit, 4);
    EXPECT_EQ(hud.bestScore.places[4].digit, 4);
    EXPECT_EQ(hud.bestScore.places[5].digit, 0);
}
