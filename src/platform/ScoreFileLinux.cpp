// The best-score file on Linux: POSIX file operations and flock on the file itself.
#include "platform/ScoreFile.hpp"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr std::size_t HeadBytes = 64; // all that is ever read: a score takes 11 at most

// Only a regular file is opened, its links followed: a device, a pipe or a folder is never touched.
int openRegular(const std::filesystem::path& path, int flags, struct stat& info)
{
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return errno = EINVAL, -1;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)))
        return ::close(fd), errno = EINVAL, -1;
    return fd;
}

// Never waits: another copy of the game holding the file means "later". Without locks (some network
// file systems) the file goes unguarded.
bool held(int fd, int lock)
{
    return ::flock(fd, lock | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

std::string head(int fd)
{
    char bytes[HeadBytes];
    const ssize_t count = ::pread(fd, bytes, sizeof(bytes), 0);
    return std::string(bytes, count > 0 ? static_cast<std::size_t>(count) : 0);
}

// A missing folder and its missing parents, private to the player.
bool makeFolder(const std::filesystem::path& folder)
{
    const auto make = [&] { return folder.empty() || ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST; };
    return make() || (errno == ENOENT && folder.has_relative_path() && makeFolder(folder.parent_path()) && make());
}
} // namespace


////////////////////////////////////////////////////////////
platform::FileResult platform::loadBestScore(const std::filesystem::path& path, int& score)
{
    score = 0;
    if (path.empty())
        return FileResult::Failed;

    // Earlier builds saved through a temporary file beside the file its links led to
    std::error_code error;
    const std::string target = std::filesystem::canonical(path, error).string();
    for (const std::string& name : {"." + std::to_string(::geteuid()) + ".tmp", std::string(".tmp")})
        ::unlink(((error ? path.string() : target) + name).c_str());

    // Under a shared lock, so that a save in progress is never read half-written
    struct stat info{};
    const int fd = openRegular(path, O_RDONLY, info);
    if (fd < 0)
        return FileResult::Failed;
    const bool busy = held(fd, LOCK_SH);
    if (!busy)
        score = parseBestScore(head(fd));
    ::close(fd);
    return busy ? FileResult::Busy : FileResult::Done;
}


////////////////////////////////////////////////////////////
platform::FileResult platform::saveBestScore(const std::filesystem::path& path, int value, bool durable)
{
    if (path.empty())
        return FileResult::Failed;

    // Made only when missing: O_EXCL follows no dangling link and keeps a file another copy just made
    struct stat info{};
    int fd = openRegular(path, O_RDWR, info);
    if (fd < 0 && errno == ENOENT && makeFolder(path.parent_path()))
        fd = openRegular(path, O_RDWR | O_CREAT | O_EXCL, info);
    if (fd < 0 && errno == EEXIST)
        fd = openRegular(path, O_RDWR, info);
    if (fd < 0)
        return FileResult::Failed;

    // A file the player made read-only is left alone, even by root
    const bool writable = (info.st_mode & 0222) != 0;
    FileResult result = writable && held(fd, LOCK_EX) ? FileResult::Busy : FileResult::Failed;
    if (writable && result != FileResult::Busy)
    {
        // The higher score over the old text, spaces over the rest of what was read: should the game be
        // killed before the cut, no digit of the old text follows the new one
        const std::string old = head(fd), best = std::to_string(std::max(value, parseBestScore(old)));
        std::string text = best;
        text.resize(std::max(best.size(), old.size()), ' ');
        if (::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()) &&
            (old.size() <= best.size() || ::ftruncate(fd, static_cast<off_t>(best.size())) == 0) &&
            (!durable || ::fsync(fd) == 0))
            result = FileResult::Done;
    }
    return ::close(fd) == 0 ? result : FileResult::Failed;
}


////////////////////////////////////////////////////////////
std::string platform::dataHomeScorePath(const char* xdgDataHome, const char* home)
{
    // Only absolute folders count: a relative one would move with the working directory
    if (xdgDataHome && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/glimmora-game/highscore.txt";
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/glimmora-game/highscore.txt";
    return {};
}
