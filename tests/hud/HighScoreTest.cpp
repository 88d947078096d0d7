#include "HighScoreFixture.hpp"
#include "../support/ChildProcess.hpp"

#include <chrono>
#include <random>
#include <thread>

TEST_F(HighScoreFile, ReadsTheFirstNumberClampedToThirtyTwoBits)
{
    EXPECT_EQ(loadBestScore(path), 0); // no file
    const struct { const char* content; int best; } cases[] = {
        {"", 0}, {"  977\n", 977}, {"1200abc", 1200}, {"abc", 0}, {"- 3", 0}, {"+12", 12}, {"-5", -5},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(loadBestScore(fileWith(c.content)), c.best) << '"' << c.content << '"';
}

// Only a greater score is handed to the file, which keeps the higher of it and what it holds, and its
// permissions, or nothing where a file stands where the folder should be. A fresh install's first frames
// (0 against 0) write nothing.
TEST_F(HighScoreFile, AGreaterScoreReplacesTheFileWholeOrNotAtAll)
{
    const struct { const char* before; const char* target; int best, score; const char* after; } cases[] = {
        {nullptr, "highscore.txt", 0, 0, nullptr},    {"977", "highscore.txt", 977, 977, "977"},
        {"977", "highscore.txt/x", 977, 1230, "977"}, {"977", "highscore.txt", 977, 1230, "1230"},
        {"5000", "highscore.txt", 977, 1230, "5000"}};
    for (const auto& c : cases)
    {
        fs::remove(path);
        if (c.before)
            fileWith(c.before), fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        const auto perms = fs::status(path).permissions();
        GameSession session;
        std::tie(session.bestScore, session.score) = std::tuple(c.best, c.score);
        BestScoreFile file((folder / c.target).string());
        recordScore(session, file);
        file.flush();
        EXPECT_EQ(session.bestScore, c.score);
        EXPECT_EQ(fs::exists(path) ? contentOf(path) : "no file", c.after ? c.after : "no file") << c.score;
        EXPECT_EQ(entries(folder), c.before ? 1 : 0) << "a temporary file was left behind";
        EXPECT_EQ(fs::status(path).permissions(), perms);
    }
}

// Hard kills at any moment of repeated saves: the file always holds a whole score no lower than the
// last confirmed one, beside at most one temporary file, which the next start-up removes.
TEST_F(HighScoreFile, AKilledSaveLeavesAWholeScoreAndOneTemporaryFileAtMost)
{
    std::mt19937 random(12);
    const fs::path confirmations = folder.string() + "-confirmed"; // the child's word for each save it made
    int confirmed = 0;
    for (int round = 0; round < 100; ++round)
    {
        fs::remove(confirmations);
        ChildProcess saver("HighScoreChild.DISABLED_SavesRisingScores", path + "|" + confirmations.string() + "|" +
                                                                           std::to_string(confirmed + 1));
        // A few confirmed saves, then a kill a random while into the next one
        for (int lines = 0; lines < 1 + static_cast<int>(random() % 3);)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const std::string said = contentOf(confirmations);
            lines = static_cast<int>(std::count(said.begin(), said.end(), '\n'));
        }
        for (volatile unsigned spin = random() % 2000000; spin > 0;)
            spin = spin - 1;
        saver.kill();
        const std::string said = contentOf(confirmations);
        confirmed = std::stoi(said.substr(said.rfind('\n', said.size() - 2) + 1));

        const std::string text = contentOf(path);
        ASSERT_EQ(text, std::to_string(parseBestScore(text))) << "round " << round;
        ASSERT_GE(parseBestScore(text), confirmed) << "round " << round;
        ASSERT_LE(entries(folder), 2) << "round " << round;
    }
    EXPECT_GE(loadBestScore(path), confirmed);
    EXPECT_EQ(entries(folder), 1);
    fs::remove(confirmations);
}

// Two copies of the game raising their scores at the same time: the highest of all stays.
TEST_F(HighScoreFile, TwoCopiesOfTheGameKeepTheHigherScore)
{
    ChildProcess even("HighScoreChild.DISABLED_RaisesItsScore", path + "|2"), odd("HighScoreChild.DISABLED_RaisesItsScore", path + "|1");
    EXPECT_TRUE(even.succeeded());
    EXPECT_TRUE(odd.succeeded());
    EXPECT_EQ(contentOf(path), "402");
    EXPECT_EQ(entries(folder), 1);
}

// The children of the two tests above: "file|confirmations|first" and "file|first".
TEST(HighScoreChild, DISABLED_SavesRisingScores)
{
    const std::string argument = childArgument();
    const std::size_t bar = argument.find('|'), second = argument.find('|', bar + 1);
    const std::string file = argument.substr(0, bar), confirmations = argument.substr(bar + 1, second - bar - 1);
    for (int value = std::stoi(argument.substr(second + 1)); saveBestScore(file, value) == SaveResult::Saved; ++value)
        std::ofstream(confirmations, std::ios::app) << value << '\n';
}

TEST(HighScoreChild, DISABLED_RaisesItsScore)
{
    const std::string argument = childArgument();
    const std::size_t bar = argument.find('|');
    BestScoreFile file(argument.substr(0, bar));
    for (int value = std::stoi(argument.substr(bar + 1)), last = value + 400; value <= last; value += 2)
        file.store(value);
}
