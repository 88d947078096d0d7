// The best-score file's cases that only Linux has: other players, devices, links, file size limits and flock.
#include "HighScoreFixture.hpp"

#include <csignal>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

namespace
{
// Runs `check` in a child process. As a player, folder permissions bind even under root: it becomes nobody.
constexpr unsigned Nobody = 65534;
bool succeeded(const std::function<bool()>& check, bool asPlayer)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(asPlayer && ::geteuid() == 0 && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0) ? 2 : check() ? 0 : 1);
    int status = -1;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

// Where the player's own temporary file cannot be used or renamed (a folder that takes no new file, a shared
// folder whose file another player owns, another player's file under this player's temporary name) the file
// is rewritten in place; a link is written through; a file the player made read-only, a device and an empty
// path are left alone, even by root; a write cut short leaves the old file whole. Each case saves 1230 over 977.
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
        {"cut short", [&] { return fileWith("977"); }, false, SaveResult::Failed, "977"}, // "1230" breaks off after "12"
        {"device", [&] { fs::create_symlink(device, path); return path; }, false, SaveResult::Failed, nullptr},
        {"empty path", [&] { std::ofstream(folder / temporaryScorePath("", ::geteuid())); return std::string(); }, false,
         SaveResult::Failed, nullptr}};
    for (const auto& c : cases)
    {
        SetUp();
        const std::string where = c.prepare();
        EXPECT_TRUE(succeeded([&] {
            fs::current_path(folder);
            if (where.empty())
                loadBestScore(where); // reads nothing, and removes no temporary file
            const rlimit twoBytes{2, 2};
            if (c.name == std::string("cut short") && (std::signal(SIGXFSZ, SIG_IGN), ::setrlimit(RLIMIT_FSIZE, &twoBytes)))
                return false;
            return saveBestScore(where, 1230) == c.result;
        }, c.asPlayer)) << c.name;
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

