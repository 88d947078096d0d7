#include "HudTestSupport.hpp"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
std::string contentOf(const fs::path& path)
{
    return std::string(std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {});
}

// Runs `check` in a child process. As a player, folder permissions bind even under root: it becomes nobody.
pid_t spawn(const std::function<bool()>& check, bool asPlayer = false)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(asPlayer && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0) ? 2 : check() ? 0 : 1);
    return child;
}
bool succeeded(pid_t child)
{
    int status = -1;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

constexpr auto ReadOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
} // namespace

// Each test starts from an empty folder of this process, removed afterwards.
struct HighScoreFile : ::testing::Test
{
    void SetUp() override
    {
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, ReadOnly | fs::perms::owner_write); // a player may look in, whatever the umask
    }
    void TearDown() override
    {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_directory() && !entry.is_symlink())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    // Writes the score file and gives its path.
    const std::string& fileWith(const std::string& text) { std::ofstream(path) << text; return path; }

    // The file holds `content`, alone in its folder: no temporary file is left behind.
    void expectOnly(const std::string& content)
    {
        EXPECT_EQ(contentOf(path), content);
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

// Only a greater score replaces the file, keeping its permissions, and never with less than the file
// holds (another copy of the game stored it). Where it cannot be written the best is raised in memory
// only and the old file stays whole: a file standing where the folder should be, and files limited to
// two bytes, so "1230" breaks off after "12".
TEST_F(HighScoreFile, AGreaterScoreReplacesTheFileWholeOrNotAtAll)
{
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    const rlim_t Any = RLIM_INFINITY;
    const struct { const char* before; const char* target; int score; rlim_t sizeLimit; const char* after; } cases[] = {
        {"977", "highscore.txt", 977, Any, "977"}, {"977", "highscore.txt/highscore.txt", 1230, Any, "977"},
        {"977", "highscore.txt", 1230, 2, "977"},  {"977", "highscore.txt", 1230, Any, "1230"},
        {"5000", "highscore.txt", 1230, Any, "5000"}};
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test program
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    for (const auto& c : cases)
    {
        fileWith(c.before);
        fs::permissions(path, perms);
        GameSession session;
        session.bestScore = 977;
        session.score = c.score;
        const rlimit limit{c.sizeLimit == Any ? saved.rlim_cur : c.sizeLimit, saved.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        recordScore(session, (folder / c.target).string());
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(session.bestScore, c.score);
        expectOnly(c.after);
        EXPECT_EQ(fs::status(path).permissions(), perms);
    }
}

// A link is written through, not replaced; a folder that takes no new file still has its file
// rewritten in place.
TEST_F(HighScoreFile, ASaveWritesThroughLinksAndIntoLockedFolders)
{
    const fs::path open = folder / "open", locked = folder / "locked";
    for (const fs::path& sub : {open, locked})
    {
        fs::create_directories(sub);
        fs::permissions(sub, fs::perms::all);
        std::ofstream(sub / "highscore.txt") << "977";
        fs::permissions(sub / "highscore.txt", fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                                   ~fs::perms::others_exec);
        fs::create_symlink(sub / "highscore.txt", sub.string() + ".txt");
    }
    fs::permissions(locked, ReadOnly);
    for (const fs::path& sub : {open, locked})
    {
        EXPECT_TRUE(succeeded(spawn([&] { return saveBestScore(sub.string() + ".txt", 1230); }, true))) << sub;
        EXPECT_TRUE(fs::is_symlink(sub.string() + ".txt")) << sub;
        EXPECT_EQ(contentOf(sub / "highscore.txt"), "1230") << sub;
        EXPECT_EQ(std::distance(fs::directory_iterator(sub), {}), 1) << sub;
    }
}

// An installed game keeps each player's best under the data home; a missing folder is made on the first
// save, and where none can be made the save fails and play goes on with the best raised in memory.
TEST_F(HighScoreFile, EachPlayerKeepsTheBestInTheDataHome)
{
    const std::string data = (folder / "data").string(), home = (folder / "home").string();
    const std::string locked = (folder / "locked").string();
    const std::string inData = data + "/glimmora-game/highscore.txt";
    const std::string inHome = home + "/.local/share/glimmora-game/highscore.txt";
    fs::permissions(folder, fs::perms::all); // the player may make data and home here
    fs::create_directories(locked);
    fs::permissions(locked, ReadOnly);
    const struct { const char* xdg; const char* home; std::string expected; bool saved; } cases[] = {
        {data.c_str(), home.c_str(), inData, true},  {nullptr, home.c_str(), inHome, true},
        {"", home.c_str(), inHome, true},            {"data", home.c_str(), inHome, true},
        {nullptr, nullptr, "", false},               {"data", "home", "", false},
        {locked.c_str(), home.c_str(), locked + "/glimmora-game/highscore.txt", false}};
    for (const auto& c : cases)
    {
        const std::string where = playerHighScorePath(c.xdg, c.home);
        EXPECT_EQ(where, c.expected) << (c.xdg ? c.xdg : "unset") << ", " << (c.home ? c.home : "unset");
        const bool raised = succeeded(spawn([&] {
            GameSession session;
            session.score = 40;
            recordScore(session, where);
            return session.bestScore == 40;
        }, true));
        EXPECT_TRUE(raised);
        EXPECT_EQ(!where.empty() && loadBestScore(where) == 40, c.saved) << where;
        fs::remove_all(folder / "data"), fs::remove_all(folder / "home");
    }
}

// Hard kills at any moment of repeated saves: the file always holds a whole score no lower than the
// last confirmed one, beside at most one temporary file, which the next start-up removes.
TEST_F(HighScoreFile, AKilledSaveLeavesAWholeScoreAndOneTemporaryFileAtMost)
{
    std::mt19937 random(12);
    int confirmed = 0;
    for (int round = 0; round < 300; ++round)
    {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const pid_t saver = spawn([&] {
            for (int value = confirmed + 1; saveBestScore(path, value); ++value)
                if (::write(ends[1], &value, sizeof(value)) != sizeof(value))
                    return false;
            return false;
        });
        ::close(ends[1]);
        // A few confirmed saves, then a kill a random while into the next one
        int value = 0;
        for (unsigned wanted = 1 + random() % 3; wanted > 0 && ::read(ends[0], &value, sizeof(value)) > 0; --wanted)
            confirmed = value;
        for (volatile unsigned spin = random() % 2000000; spin > 0; spin = spin - 1)
            ;
        ::kill(saver, SIGKILL);
        while (::read(ends[0], &value, sizeof(value)) == sizeof(value))
            confirmed = value;
        ::close(ends[0]);
        ::waitpid(saver, nullptr, 0);

        const std::string text = contentOf(path);
        ASSERT_EQ(text, std::to_string(parseBestScore(text))) << "round " << round;
        ASSERT_GE(parseBestScore(text), confirmed) << "round " << round;
        ASSERT_LE(std::distance(fs::directory_iterator(folder), {}), 2) << "round " << round;
    }
    EXPECT_GE(loadBestScore(path), confirmed);
    expectOnly(std::to_string(loadBestScore(path)));
}

// Two copies of the game raising their scores at the same time: the highest of all stays.
TEST_F(HighScoreFile, TwoCopiesOfTheGameKeepTheHigherScore)
{
    const auto raise = [this](int first) {
        return spawn([this, first] {
            for (int value = first; value <= first + 400; value += 2)
                if (!saveBestScore(path, value))
                    return false;
            return true;
        });
    };
    const pid_t even = raise(2), odd = raise(1);
    EXPECT_TRUE(succeeded(even));
    EXPECT_TRUE(succeeded(odd));
    expectOnly("402");
}
