#include "BestScoreFixture.hpp"
#include "../support/ChildProcess.hpp"

#include <chrono>
#include <optional>
#include <random>
#include <thread>

using namespace std::chrono_literals;

TEST_F(BestScore, ReadsTheFirstNumberClampedToThirtyTwoBits)
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
TEST_F(BestScore, AGreaterScoreRewritesTheFileInTheFrame)
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
        std::tie(session.kept.bestScore, session.game.score) = std::tuple(c.best, c.score);
        BestScoreFile file(path);
        recordScore(session, file);
        EXPECT_EQ(session.kept.bestScore, c.score);
        EXPECT_EQ(fs::exists(path) ? contentOf(path) : "no file", c.after ? c.after : "no file") << c.score;
        EXPECT_EQ(entries(folder), c.after ? 1 : 0);
        EXPECT_TRUE(!c.before || fs::status(path).permissions() == perms) << c.before;
    }
}

// Another copy of the game holding the file never holds up a frame: the score waits for the next rise,
// the game's end or the exit. The exit, like the start-up, gives the copy two seconds to let go.
TEST_F(BestScore, AnotherCopyHoldingTheFileIsWaitedForOnlyAtStartAndExit)
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
    EXPECT_EQ(std::tuple(contentOf(path), waited), std::tuple("977", 0ms));
    file.retry(); // the game's end
    EXPECT_EQ(contentOf(path), "1230");

    hold(1500ms);
    file.store(1300);
    file.close();
    EXPECT_EQ(std::tuple(contentOf(path), waited), std::tuple("1300", 1500ms));

    hold(1h); // a copy that never lets go
    file.store(1400);
    file.close();
    other.reset();
    EXPECT_EQ(std::tuple(contentOf(path), waited), std::tuple("1300", 2000ms));

    hold(500ms); // never read as 0 while the other copy rewrites it
    EXPECT_EQ(BestScoreFile(path, wait).load(), 1300);
    EXPECT_EQ(waited, 500ms);
}

// Two copies of the game saving rising scores at once, each killed at a random moment: the file always
// holds a whole score, no lower than the last one either confirmed, and nothing else is ever beside it.
TEST_F(BestScore, TwoCopiesKilledWhileSavingLeaveTheHigherScoreAndNothingElse)
{
    std::mt19937 random(12);
    const std::string said[] = {folder.string() + "-even", folder.string() + "-odd"}; // each copy's word for each save
    int confirmed = 0;
    for (int round = 0; round < 150; ++round)
    {
        fs::remove(said[0]), fs::remove(said[1]);
        ChildProcess even("BestScoreChild.DISABLED_SavesRisingScores", path + "|" + std::to_string(confirmed + 2) + "|" + said[0]),
            odd("BestScoreChild.DISABLED_SavesRisingScores", path + "|" + std::to_string(confirmed + 1) + "|" + said[1]);
        // A few confirmed saves, then kills a random while into the next ones
        const auto lines = [&](const std::string& copy) { const std::string text = contentOf(copy); return std::count(text.begin(), text.end(), '\n'); };
        for (const long wanted = 1 + static_cast<long>(random() % 3); lines(said[0]) + lines(said[1]) < wanted;)
            std::this_thread::sleep_for(1ms);
        for (volatile unsigned spin = random() % 2000000; spin > 0;)
            spin = spin - 1;
        even.kill();
        for (volatile unsigned spin = random() % 200000; spin > 0;)
            spin = spin - 1;
        odd.kill();
        for (const std::string& copy : said)
        {
            const std::string lines = contentOf(copy);
            confirmed = std::max(confirmed, lines.size() < 2 ? 0 : std::stoi(lines.substr(lines.rfind('\n', lines.size() - 2) + 1)));
        }
        const std::string text = contentOf(path);
        ASSERT_EQ(text, std::to_string(parseBestScore(text))) << "round " << round;
        ASSERT_GE(parseBestScore(text), confirmed) << "round " << round;
        ASSERT_EQ(entries(folder), 1) << "round " << round;
    }
    fs::remove(said[0]), fs::remove(said[1]);
}

// The copies of the test above, "file|first|confirmations": store first, first + 2 ... until killed.
TEST(BestScoreChild, DISABLED_SavesRisingScores)
{
    const std::string argument = childArgument();
    const std::size_t bar = argument.find('|'), second = argument.find('|', bar + 1);
    BestScoreFile saver(argument.substr(0, bar));
    for (int value = std::stoi(argument.substr(bar + 1, second - bar - 1));; value += 2)
        if (saver.store(value) == BestScoreFile::Result::Done)
            std::ofstream(argument.substr(second + 1), std::ios::app) << value << '\n';
}
