// The best-score file's cases that only Linux has: other players, links, devices, pipes, a full disk.
#include "BestScoreFixture.hpp"
#include "platform/System.hpp"

#include <functional>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

namespace
{
// Runs `check` in a child process that has become nobody: as a player, permissions bind.
constexpr unsigned Nobody = 65534;
bool succeededAsPlayer(const std::function<bool()>& check)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(Nobody) != 0 || ::setuid(Nobody) != 0 ? 2 : check() ? 0 : 1);
    int status = -1;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Bytes this process has read so far, through any call: "rchar" comes first.
long bytesRead()
{
    std::string name;
    long count = -1;
    std::ifstream("/proc/self/io") >> name >> count;
    return count;
}
} // namespace

// Whatever stands at the path, start-up reads at most a few dozen bytes of a regular file and never
// waits, and a save writes only a regular file, in place: a link is followed, a loop or a dangling link
// stores nothing, a folder, a pipe or a device is never read or written, a file the player made read-only
// is left alone even by root, an earlier build's temporary file goes. A full disk and, under root, a
// player's file take the new score. Each case loads, saves 1230 and exits.
TEST_F(BestScore, WhateverStandsAtThePathStartUpNeverWaitsNorSavesAmiss)
{
    const bool root = ::geteuid() == 0;
    const fs::path other = folder / "other", disk = folder / "disk", tmp = path + "." + std::to_string(::geteuid()) + ".tmp";
    // A device of the test's own (the zero device's numbers), so that a fault cannot replace the system's
    const fs::path device = root ? fs::temp_directory_path() / ("glimmora-zero-" + std::to_string(::getpid())) : "/dev/zero";
    ASSERT_TRUE(!root || ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0);
    const auto link = [&](const fs::path& to, const fs::path& at) { fs::create_symlink(to, at); return path; };
    const auto fullDisk = [&] {
        if (!fs::create_directory(disk) || !root || ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
            return std::string();
        std::ofstream(disk / "highscore.txt") << "977";
        for (std::ofstream filler(disk / "filler"); filler;)
            filler << std::string(1024, 'x') << std::flush;
        return (disk / "highscore.txt").string();
    };
    const auto playersFile = [&] {
        if (!root || ::chown(fileWith("977").c_str(), Nobody, Nobody) != 0 || ::chown(folder.c_str(), Nobody, Nobody) != 0)
            return std::string();
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
        return path;
    };
    const auto playerSaves = [&] {
        struct stat info{};
        return ::stat(path.c_str(), &info) == 0 && info.st_uid == Nobody && contentOf(path) == "1230" &&
               succeededAsPlayer([&] { return BestScoreFile(path).store(1500) == BestScoreFile::Result::Done; });
    };
    const struct { const char* name; std::function<std::string()> prepare; int loaded; const char* after; std::function<bool()> holds; } cases[] = {
        {"a link", [&] { std::ofstream(other) << "977"; return link(other, path); }, 977, "1230", [&] { return fs::is_symlink(path) && !fs::is_symlink(other); }},
        {"a link loop", [&] { link(other, path); return link(path, other); }, 0, nullptr, [&] { return fs::is_symlink(other) && entries(folder) == 2; }},
        {"a dangling link", [&] { return link(other / "x", path); }, 0, nullptr, [&] { return fs::is_symlink(path) && entries(folder) == 1; }},
        {"a folder", [&] { fs::create_directory(path); return path; }, 0, nullptr, [&] { return fs::is_directory(path); }},
        {"a pipe", [&] { ::mkfifo(path.c_str(), 0666); return path; }, 0, nullptr, [&] { return fs::is_fifo(path); }},
        {"the zero device", [&] { return link(device, path); }, 0, nullptr, [&] { return fs::is_character_file(device); }},
        {"1 GB", [&] { fs::resize_file(fileWith("977"), 1 << 30); return path; }, 977, "1230", [] { return true; }},
        {"read-only", [&] { fs::permissions(fileWith("977"), fs::perms::owner_read); return path; }, 977, "977", [] { return true; }},
        {"an earlier build's temporary file", [&] { std::ofstream(tmp) << 666666; return fileWith("977"); }, 977, "1230",
         [&] { return entries(folder) == 1; }},
        {"a pipe as an earlier temporary file", [&] { ::mkfifo(tmp.c_str(), 0666); return fileWith("977"); }, 977, "1230",
         [&] { return entries(folder) == 1; }},
        {"a full disk", fullDisk, 977, "1230", [&] { return ::umount(disk.c_str()) == 0; }},
        {"a player's file, saved by root", playersFile, 977, "1230", playerSaves}};
    for (const auto& c : cases)
    {
        SetUp();
        const std::string where = c.prepare();
        if (where.empty())
        {
            std::printf("not root, or no tmpfs: skipped \"%s\"\n", c.name);
            continue;
        }
        const long before = bytesRead();
        BestScoreFile file(where);
        EXPECT_EQ(file.load(), c.loaded) << c.name;
        EXPECT_LT(bytesRead() - before, 1024) << c.name; // this count's own reading included
        file.store(1230);
        file.close();
        std::error_code loop;
        EXPECT_EQ(fs::is_regular_file(where, loop) ? contentOf(where) : "nothing", c.after ? c.after : "nothing") << c.name;
        EXPECT_TRUE(c.holds()) << c.name;
    }
    EXPECT_EQ(BestScoreFile("").store(1230), BestScoreFile::Result::Failed);
    if (root)
        fs::remove(device);
}

// An installed game keeps each player's best under the data home, or ~/.local/share; none without an
// absolute folder. A missing folder is made by the first save, private to the player.
TEST_F(BestScore, EachPlayerKeepsTheBestInTheDataHome)
{
    const std::string data = (folder / "data").string(), home = (folder / "home").string();
    const std::string inData = data + "/glimmora-game/highscore.txt";
    const std::string inHome = home + "/.local/share/glimmora-game/highscore.txt";
    const struct { const char* xdg; const char* home; std::string expected; } cases[] = {
        {data.c_str(), home.c_str(), inData}, {nullptr, home.c_str(), inHome}, {"", home.c_str(), inHome},
        {"data", home.c_str(), inHome},       {nullptr, nullptr, ""},          {"data", "home", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(platform::xdgFilePath(c.xdg, c.home, ".local/share", "highscore.txt"), c.expected) << (c.xdg ? c.xdg : "unset") << ", " << (c.home ? c.home : "unset");
    EXPECT_EQ(BestScoreFile(inHome).store(40), BestScoreFile::Result::Done);
    EXPECT_EQ(BestScoreFile(inHome).load(), 40);
    EXPECT_EQ(fs::status(home + "/.local/share/glimmora-game").permissions(), fs::perms::owner_all);
}
