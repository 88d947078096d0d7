#include "hud/HighScore.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Folder part of a path; "." for a bare file name.
std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The file a chain of symbolic links ends at (existing or not), so a save writes through links.
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < 40; ++hop)
    {
        char target[4096];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof(target));
        if (length <= 0 || length == static_cast<ssize_t>(sizeof(target)))
            break;
        const std::string next(target, static_cast<std::size_t>(length));
        path = next[0] == '/' ? next : folderOf(path) + "/" + next;
    }
    return path;
}

// Creates a missing folder and its missing parents, private to the player.
bool makeFolder(const std::string& folder)
{
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST)
        return true;
    const std::string parent = folderOf(folder);
    return errno == ENOENT && parent != folder && makeFolder(parent) &&
           (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST);
}

bool lock(int fd, int how)
{
    int result;
    while ((result = ::flock(fd, how)) != 0 && errno == EINTR)
        ;
    return result == 0;
}

// Whether `path` still names the open file: another save may have renamed it away meanwhile.
bool isSameFile(int fd, const std::string& path)
{
    struct stat open{}, named{};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[256];
    ssize_t count;
    while ((count = ::pread(fd, buffer, sizeof(buffer), static_cast<off_t>(text.size()))) > 0)
        text.append(buffer, static_cast<std::size_t>(count));
    return text;
}

// The text to store: the higher of `value` and the score in `fd` (a file another copy may have raised).
std::string higherScoreText(int value, int fd)
{
    return std::to_string(fd < 0 ? value : std::max(value, parseBestScore(readAll(fd))));
}

// Writes `text` from the start of the file, cuts it there and flushes it to the disk.
bool writeAt(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();)
    {
        const ssize_t count = ::pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return ::ftruncate(fd, static_cast<off_t>(text.size())) == 0 && ::fsync(fd) == 0;
}

// Permission bits for the replacement: those of the file it replaces, else what
// a plain create would give under the current umask.
mode_t replacementMode(const std::string& path)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;

    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Where the folder takes no new file but the file itself is writable: the plain rewrite,
// under the file's own lock so that two copies still keep the higher score.
bool rewriteInPlace(const std::string& path, int value)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    lock(fd, LOCK_EX);
    const bool ok = writeAt(fd, higherScoreText(value, fd));
    return ::close(fd) == 0 && ok;
}

// A temporary file left by a save that was killed: removed unless a save holds it now.
void removeStaleTemp(const std::string& tempPath)
{
    const int fd = ::open(tempPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (lock(fd, LOCK_EX | LOCK_NB) && isSameFile(fd, tempPath))
        ::unlink(tempPath.c_str());
    ::close(fd);
}
} // namespace


////////////////////////////////////////////////////////////
int parseBestScore(const std::string& text)
{
    // Like reading an int from a stream: white space, a sign, then digits up to anything else
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    {
        negative = text[i] == '-';
        ++i;
    }

    if (i == text.size() || !isDigit(text[i]))
        return 0;

    // Magnitude saturates just past the range, so any number of digits clamps to the nearest limit
    constexpr std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
    {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }

    if (negative)
        return static_cast<int>(-magnitude); // -2^31 at most: the smallest int
    if (magnitude >= limit)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<int>(magnitude);
}


////////////////////////////////////////////////////////////
std::string playerHighScorePath(const char* xdgDataHome, const char* home)
{
    // Only absolute folders count: a relative one would move with the working directory
    std::string data;
    if (xdgDataHome && xdgDataHome[0] == '/')
        data = xdgDataHome;
    else if (home && home[0] == '/')
        data = std::string(home) + "/.local/share";
    else
        return {};
    return data + "/glimmora-game/highscore.txt";
}


////////////////////////////////////////////////////////////
int loadBestScore(const std::string& path)
{
    removeStaleTemp(followLinks(path) + ".tmp");

    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file)
        return 0;

    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseBestScore(text);
}


////////////////////////////////////////////////////////////
bool saveBestScore(const std::string& path, int value)
{
    if (path.empty())
        return false;

    // One temporary name per file, taken under a lock: a save killed half-way leaves at most
    // that one file, which the next save reuses, and two copies of the game take turns
    const std::string target = followLinks(path);
    const std::string tempPath = target + ".tmp";
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const auto openTemp = [&] { return ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600); };
        int fd = openTemp();
        if (fd < 0 && errno == ENOENT && makeFolder(folderOf(target)))
            fd = openTemp();
        if (fd < 0)
            return rewriteInPlace(target, value);

        lock(fd, LOCK_EX); // where the file system has no locks, the save goes on unguarded
        if (!isSameFile(fd, tempPath))
        {
            ::close(fd); // renamed over the file by the save that held it: start again
            continue;
        }

        // Read the file again under the lock, so a higher score stored meanwhile is kept
        const int stored = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        const std::string text = higherScoreText(value, stored);
        if (stored >= 0)
            ::close(stored);

        const bool ok = ::fchmod(fd, replacementMode(target)) == 0 && writeAt(fd, text) &&
                        std::rename(tempPath.c_str(), target.c_str()) == 0;
        if (!ok)
            ::unlink(tempPath.c_str());
        ::close(fd);
        if (!ok)
            return false;

        // Make the rename itself durable; it has happened already, so a failure here changes nothing
        const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0)
        {
            ::fsync(folder);
            ::close(folder);
        }
        return true;
    }
    return false;
}


////////////////////////////////////////////////////////////
void recordScore(GameSession& session, const std::string& path)
{
    if (session.score > session.bestScore)
    {
        session.bestScore = session.score;

        // A failed write is ignored: the raised best score stays in memory for the run
        saveBestScore(path, session.bestScore);
    }
}
