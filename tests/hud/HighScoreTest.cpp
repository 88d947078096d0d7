#include "HudTestSupport.hpp"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

// Each test starts from an empty folder of this process, removed afterwards.
struct HighScoreFile : ::testing::Test
{
    void SetUp() override { fs::remove_all(folder); fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
    // Writes the score file and gives its path.
    const std::string& fileWith(const std::string& text) { std::ofstream(path) << text; return path; }

    // The file holds `content`, alone in its folder: no temporary file is left behind.
    void expectOnly(const std::string& content)
    {
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {}), content);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    }

    const fs::path folder = fs::temp_directory_path() / ("glimmora-hud-" + std::to_string(::getpid()));
    const std::string path = (folder / "highscore.txt").string();
};

TEST_F(HighScoreFile, ReadsTheFirstNumberClampedToThirtyTwoBits)
{
    EXPECT_EQ(loadBestScore(path), 0); // no file
    const struct { const char* content; int best; } cases[] = {
        {"", 0}, {"  977\n", 977}, {"1200abc", 1200}, {"abc", 0}, {"- 3", 0}, {"+12", 12}, {"-5", -5},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(loadBestScore(fileWith(c.content)), c.best) << '"' << c.content << '"';
}

// Only a greater score replaces the file, keeping its permissions. Where it cannot be written
// the best is raised in memory only and the old file stays whole: a missing folder, a file
// standing where the folder should be, and files limited to two bytes, so "1230" breaks off after "12".
TEST_F(HighScoreFile, AGreaterScoreReplacesTheFileWholeOrNotAtAll)
{
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    const rlim_t Any = RLIM_INFINITY;
    const struct { const char* target; int score; rlim_t sizeLimit; const char* content; } cases[] = {
        {"highscore.txt", 977, Any, "sentinel"},          {"missing/highscore.txt", 1230, Any, "sentinel"},
        {"highscore.txt/highscore.txt", 1230, Any, "sentinel"}, {"highscore.txt", 1230, 2, "sentinel"},
        {"highscore.txt", 1230, Any, "1230"}};
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test program
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    for (const auto& c : cases)
    {
        fileWith("sentinel");
        fs::permissions(path, perms);
        GameSession session;
        session.bestScore = 977;
        session.score = c.score;
        const rlimit limit{c.sizeLimit == Any ? saved.rlim_cur : c.sizeLimit, saved.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        recordScore(session, (folder / c.target).string());
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(session.bestScore, c.score);
        expectOnly(c.content);
        EXPECT_EQ(fs::status(path).permissions(), perms);
    }
}
