#include "HudTestSupport.hpp"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
constexpr unsigned Nobody = 65534;
pid_t spawn(const std::function<bool()>& check, bool asPlayer = false)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(asPlayer && ::geteuid() == 0 && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0) ? 2 : check() ? 0 : 1);
    return child;
}
bool succeeded(pid_t child)
{
    int status = -1;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

// Each test starts from an empty folder that any player may write to, removed afterwards.
struct HighScoreFile : ::testing::Test
{
    void SetUp() override
    {
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::all);
    }
    void TearDown() override { fs::remove_all(folder); }
    const std::string& fileWith(const std::string& text) { std::ofstream(path) << text; return path; }
    long entries(const fs::path& in) const { return std::distance(fs::directory_iterator(in), {}); }

    const fs::path folder = fs::temp_directory_path() / ("glimmora-hud-" + std::to_string(::getpid()));
    const std::string path = (folder / "highscore.txt").string();
};

TEST_F(HighScoreFile, ReadsTheFirstNumberClampedToThirtyTwoBits)
{
    EXPECT_EQ(loadBestScore(path), 0); // no file
    const struct { const char* content; int best; } cases[] = {
        {"", 0}, {"  977\n", 977}, {"1200abc", 1200}, {"abc", 0}, {"- 3", 0}, {"+12", 12}, {"-5", -5},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(loadBestScore(fileWith(c.content)), c.best) << '"' << c.content << '"';
}

// Only a greater score is handed to the file, which keeps the higher of it and what it holds, whole or
// not at all: a file standing where the folder should be, and files limited to two bytes, so "1230" breaks
// off after "12". A fresh install's first frames (0 against 0) write nothing.
TEST_F(HighScoreFile, AGreaterScoreReplacesTheFileWholeOrNotAtAll)
{
    const rlim_t Any = RLIM_INFINITY;
    const struct { const char* before; const char* target; int best, score; rlim_t sizeLimit; const char* after; } cases[] = {
        {nullptr, "highscore.txt", 0, 0, Any, nullptr},    {"977", "highscore.txt", 977, 977, Any, "977"},
        {"977", "highscore.txt/x", 977, 1230, Any, "977"}, {"977", "highscore.txt", 977, 1230, 2, "977"},
        {"977", "highscore.txt", 977, 1230, Any, "1230"},  {"5000", "highscore.txt", 977, 1230, Any, "5000"}};
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test program
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    for (const auto& c : cases)
    {
        fs::remove(path);
        if (c.before)
            fileWith(c.before), fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        const auto perms = fs::status(path).permissions();
        GameSession session;
        std::tie(session.bestScore, session.score) = std::tuple(c.best, c.score);
        const rlimit limit{c.sizeLimit == Any ? saved.rlim_cur : c.sizeLimit, saved.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        BestScoreFile file((folder / c.target).string());
        recordScore(session, file);
        file.flush();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(session.bestScore, c.score);
        EXPECT_EQ(fs::exists(path) ? contentOf(path) : "no file", c.after ? c.after : "no file") << c.score;
        EXPECT_EQ(entries(folder), c.before ? 1 : 0) << "a temporary file was left behind";
        EXPECT_EQ(fs::status(path).permissions(), perms);
    }
}

// Where the player's own temporary file cannot be used or renamed (a folder that takes no new file, a shared
// folder whose file another player owns, another player's file under this player's temporary name) the file
// is rewritten in place; a link is written through; a file the player made read-only, a device and an empty
// path are left alone, even by root. Each case saves 1230 over 977.
TEST_F(HighScoreFile, ASaveTakesTheSafeWayOrNone)
{
    const bool root = ::geteuid() == 0;
    const auto shared = [&](fs::perms folderPerms) {
        fs::permissions(fileWith("977"), fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
        fs::permissions(folder, folderPerms);
        return path;
    };
    const auto readOnlyFolder = fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write;
    const std::string link = (folder / "link.txt").string();
    // A device of the test's own (the null device's numbers), so a fault cannot replace the system's; a
    // player who may not make one links to a folder instead
    const fs::path device = root ? fs::temp_directory_path() / ("glimmora-null-" + std::to_string(::getpid())) : "/";
    ASSERT_TRUE(!root || ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0);
    const struct { const char* name; std::function<std::string()> prepare; bool asPlayer; SaveResult result; const char* after; } cases[] = {
        {"link", [&] { fs::create_symlink(shared(fs::perms::all), link); return link; }, true, SaveResult::Saved, "1230"},
        {"locked folder", [&] { return shared(readOnlyFolder); }, true, SaveResult::Saved, "1230"},
        {"shared folder", [&] { return shared(fs::perms::all | fs::perms::sticky_bit); }, true, SaveResult::Saved, "1230"},
        {"another's temporary", [&] { std::ofstream(temporaryScorePath(path, root ? Nobody : ::geteuid())) << "666666";
                                      fs::permissions(temporaryScorePath(path, root ? Nobody : ::geteuid()), fs::perms::all);
                                      return shared(fs::perms::all); }, true, SaveResult::Saved, "1230"},
        {"read-only", [&] { fs::permissions(fileWith("977"), fs::perms::owner_read); return path; }, false, SaveResult::Failed, "977"},
        {"device", [&] { fs::create_symlink(device, path); return path; }, false, SaveResult::Failed, nullptr},
        {"empty path", [&] { std::ofstream(folder / temporaryScorePath("", ::geteuid())); return std::string(); }, false,
         SaveResult::Failed, nullptr}};
    for (const auto& c : cases)
    {
        SetUp();
        const std::string where = c.prepare();
        EXPECT_TRUE(succeeded(spawn([&] {
            fs::current_path(folder);
            if (where.empty())
                loadBestScore(where); // reads nothing, and removes no temporary file
            return saveBestScore(where, 1230) == c.result;
        }, c.asPlayer))) << c.name;
        if (c.after)
        {
            EXPECT_EQ(contentOf(path), c.after) << c.name;
        }
    }
    EXPECT_TRUE(fs::exists(folder / temporaryScorePath("", ::geteuid()))) << "the empty path removed a file";
    EXPECT_TRUE(fs::is_character_file(device) || !root) << "the device was replaced";
    if (root)
        fs::remove(device);
    else
        std::printf("not root: the score file was linked to a folder, not to a device\n");
}

// Another copy of the game holding the file never holds up the frame: the save says Busy at once, and the
// file keeps trying until the copy lets go.
TEST_F(HighScoreFile, AnotherCopysLockDefersTheSave)
{
    fileWith("977");
    const int held = ::open(temporaryScorePath(path, ::geteuid()).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(saveBestScore(path, 1230), SaveResult::Busy);
    BestScoreFile file(path);
    file.store(1230);
    EXPECT_EQ(contentOf(path), "977");
    ::close(held);
    file.flush();
    EXPECT_EQ(contentOf(path), "1230");
    EXPECT_EQ(entries(folder), 1);
}

// An installed game keeps each player's best under the data home, or ~/.local/share; none without an
// absolute folder. A missing folder is made by the first save.
TEST_F(HighScoreFile, EachPlayerKeepsTheBestInTheDataHome)
{
    const std::string data = (folder / "data").string(), home = (folder / "home").string();
    const std::string inData = data + "/glimmora-game/highscore.txt";
    const std::string inHome = home + "/.local/share/glimmora-game/highscore.txt";
    const struct { const char* xdg; const char* home; std::string expected; } cases[] = {
        {data.c_str(), home.c_str(), inData}, {nullptr, home.c_str(), inHome}, {"", home.c_str(), inHome},
        {"data", home.c_str(), inHome},       {nullptr, nullptr, ""},          {"data", "home", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(playerHighScorePath(c.xdg, c.home), c.expected) << (c.xdg ? c.xdg : "unset") << ", " << (c.home ? c.home : "unset");
    EXPECT_EQ(saveBestScore(inHome, 40), SaveResult::Saved);
    EXPECT_EQ(loadBestScore(inHome), 40);
    EXPECT_EQ(fs::status(home + "/.local/share/glimmora-game").permissions(), fs::perms::owner_all);
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
            for (int value = confirmed + 1; saveBestScore(path, value) == SaveResult::Saved; ++value)
                if (::write(ends[1], &value, sizeof(value)) != sizeof(value))
                    return false;
            return false;
        });
        ::close(ends[1]);
        // A few confirmed saves, then a kill a random while into the next one
        int value = 0;
        for (unsigned wanted = 1 + random() % 3; wanted > 0 && ::read(ends[0], &value, sizeof(value)) > 0; --wanted)
            confirmed = value;
        volatile unsigned spin = random() % 2000000;
        while (spin > 0)
            spin = spin - 1;
        ::kill(saver, SIGKILL);
        while (::read(ends[0], &value, sizeof(value)) == sizeof(value))
            confirmed = value;
        ::close(ends[0]);
        ::waitpid(saver, nullptr, 0);

        const std::string text = contentOf(path);
        ASSERT_EQ(text, std::to_string(parseBestScore(text))) << "round " << round;
        ASSERT_GE(parseBestScore(text), confirmed) << "round " << round;
        ASSERT_LE(entries(folder), 2) << "round " << round;
    }
    EXPECT_GE(loadBestScore(path), confirmed);
    EXPECT_EQ(entries(folder), 1);
}

// Two copies of the game raising their scores at the same time: the highest of all stays.
TEST_F(HighScoreFile, TwoCopiesOfTheGameKeepTheHigherScore)
{
    const auto raise = [this](int first) {
        return spawn([this, first] {
            BestScoreFile file(path);
            for (int value = first; value <= first + 400; value += 2)
                file.store(value);
            return true;
        });
    };
    const pid_t even = raise(2), odd = raise(1);
    EXPECT_TRUE(succeeded(even));
    EXPECT_TRUE(succeeded(odd));
    EXPECT_EQ(contentOf(path), "402");
    EXPECT_EQ(entries(folder), 1);
}
