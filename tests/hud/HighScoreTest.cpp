#include "HighScoreFixture.hpp"
#include "../support/ChildProcess.hpp"

#include <chrono>
#include <optional>
#include <random>
#include <thread>

using namespace std::chrono_literals;

TEST_F(HighScoreFile, ReadsTheFirstNumberClampedToThirtyTwoBits)
{
    EXPECT_EQ(BestScoreFile(path).load(), 0); // no file
    const struct { const char* content; int best; } cases[] = {
        {"", 0}, {"  977\n", 977}, {"1200abc", 1200}, {"abc", 0}, {"- 3", 0}, {"+12", 12}, {"-5", -5},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(BestScoreFile(fileWith(c.content)).load(), c.best) << '"' << c.content << '"';
}

// Only a greater score is handed to the file, which at once holds the higher of it and its own, in place:
// the same permissions, no digit of the old text left, nothing beside it. A fresh install's first frames
// (0 against 0) make no file.
TEST_F(HighScoreFile, AGreaterScoreRewritesTheFileInTheFrame)
{
    const struct { const char* before; int best, score; const char* after; } cases[] = {
        {nullptr, 0, 0, nullptr}, {nullptr, 0, 40, "40"},  {"977", 977, 977, "977"}, {"977", 977, 1230, "1230"},
        {"5000", 977, 1230, "5000"}, {"-5", -5, 0, "0"}, {"  977 and more\n", 977, 1230, "1230"}};
    for (const auto& c : cases)
    {
        fs::remove(path);
        if (c.before)
            fileWith(c.before), fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        const auto perms = fs::status(path).permissions();
        GameSession session;
        std::tie(session.bestScore, session.score) = std::tuple(c.best, c.score);
        BestScoreFile file(path);
        recordScore(session, file);
        EXPECT_EQ(session.bestScore, c.score);
        EXPECT_EQ(fs::exists(path) ? contentOf(path) : "no file", c.after ? c.after : "no file") << c.score;
        EXPECT_EQ(entries(folder), c.after ? 1 : 0);
        EXPECT_TRUE(!c.before || fs::status(path).permissions() == perms) << c.before;
    }
}

// Another copy of the game holding the file never holds up a frame: the score waits for the next rise,
// the game's end or the exit. The exit, like the start-up, gives the copy about two seconds to let go.
TEST_F(HighScoreFile, AnotherCopyHoldingTheFileIsWaitedForOnlyAtStartAndExit)
{
    fileWith("977");
    std::optional<HeldFile> other;
    std::chrono::milliseconds waited{0}, heldFor{0};
    const auto hold = [&](std::chrono::milliseconds time) { other.emplace(path), waited = 0ms, heldFor = time; };
    const auto wait = [&](std::chrono::milliseconds time) {
        if ((waited += time) >= heldFor)
            other.reset();
    };
    BestScoreFile file(path, wait);
    hold(1h);
    file.store(1230);
    file.retry();
    other.reset();
    EXPECT_EQ(contentOf(path), "977");
    EXPECT_EQ(waited, 0ms);
    file.retry(); // the game's end
    EXPECT_EQ(contentOf(path), "1230");

    hold(1500ms);
    file.store(1300);
    file.close();
    EXPECT_EQ(contentOf(path), "1300");
    EXPECT_EQ(waited, 1500ms);

    hold(1h); // a copy that never lets go
    file.store(1400);
    file.close();
    other.reset();
    EXPECT_EQ(waited, 2000ms);
    EXPECT_EQ(contentOf(path), "1300");

    hold(500ms); // never read as 0 while the other copy rewrites it
    EXPECT_EQ(BestScoreFile(path, wait).load(), 1300);
    EXPECT_EQ(waited, 500ms);
}

// Hard kills at any moment of repeated saves: the file always holds a whole score, no lower than the last
// one confirmed, and nothing else is ever beside it.
TEST_F(HighScoreFile, AKilledSaveLeavesTheOldScoreOrTheNewAndNothingElse)
{
    std::mt19937 random(12);
    const fs::path confirmations = folder.string() + "-confirmed"; // the child's word for each save it made
    int confirmed = 0;
    for (int round = 0; round < 200; ++round)
    {
        fs::remove(confirmations);
        ChildProcess saver("HighScoreChild.DISABLED_SavesRisingScores", path + "|" + confirmations.string() + "|" +
                                                                           std::to_string(confirmed + 1));
        // A few confirmed saves, then a kill a random while into the next ones
        for (int lines = 0; lines < 1 + static_cast<int>(random() % 3);)
        {
            std::this_thread::sleep_for(1ms);
            const std::string said = contentOf(confirmations);
            lines = static_cast<int>(std::count(said.begin(), said.end(), '\n'));
        }
        for (volatile unsigned spin = random() % 2000000; spin > 0;)
            spin = spin - 1;
        saver.kill();
        const std::string said = contentOf(confirmations);
        confirmed = std::stoi(said.substr(said.rfind('\n', said.size() - 2) + 1));

        const std::string text = contentOf(path);
        ASSERT_EQ(text, std::to_string(platform::parseBestScore(text))) << "round " << round;
        ASSERT_GE(platform::parseBestScore(text), confirmed) << "round " << round;
        ASSERT_EQ(entries(folder), 1) << "round " << round;
    }
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
    for (int value = std::stoi(argument.substr(second + 1));
         platform::saveBestScore(file, value, false) == platform::FileResult::Done; ++value)
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
