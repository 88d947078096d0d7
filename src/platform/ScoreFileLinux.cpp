// The best-score file on Linux: POSIX file operations, a lock of flock, a rename for the whole-file replace.
#include "hud/HighScore.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
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

// Never waits: another copy of the game holding the lock means "later", not "now".
// Where the file system has no locks at all, the save goes on unguarded.
SaveResult tryLock(int fd)
{
    int result;
    while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR)
        ;
    return result == 0 || errno != EWOULDBLOCK ? SaveResult::Saved : SaveResult::Busy;
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

// The plain rewrite, where the folder takes no new file or the rename is refused (a
// bind-mounted file, a shared folder), under the file's own lock so that two copies
// still keep the higher score.
SaveResult rewriteInPlace(const std::string& path, int value)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return SaveResult::Failed;
    SaveResult result = tryLock(fd);
    if (result == SaveResult::Saved && !writeAt(fd, higherScoreText(value, fd)))
        result = SaveResult::Failed;
    return ::close(fd) == 0 ? result : SaveResult::Failed;
}

// A temporary file left by a save that was killed: removed unless a save holds it now.
void removeStaleTemp(const std::string& tempPath)
{
    const int fd = ::open(tempPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (tryLock(fd) == SaveResult::Saved && isSameFile(fd, tempPath))
        ::unlink(tempPath.c_str());
    ::close(fd);
}
} // namespace


////////////////////////////////////////////////////////////
int loadBestScore(const std::filesystem::path& path)
{
    if (path.empty())
        return 0;
    removeStaleTemp(temporaryScorePath(followLinks(path), ::geteuid()).string());

    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file)
        return 0;

    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseBestScore(text);
}


////////////////////////////////////////////////////////////
std::filesystem::path temporaryScorePath(const std::filesystem::path& target, unsigned user)
{
    // One name per player: a temporary file another player left in a shared folder is never in the way
    return target.string() + "." + std::to_string(user) + ".tmp";
}


////////////////////////////////////////////////////////////
SaveResult saveBestScore(const std::filesystem::path& path, int value)
{
    if (path.empty())
        return SaveResult::Failed;

    // A device, a pipe or a folder is never replaced or written, nor a file the player made read-only
    const std::string target = followLinks(path);
    struct stat info{};
    if (::stat(target.c_str(), &info) == 0 &&
        (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return SaveResult::Failed;

    // One temporary name per file and player, taken under a lock: a save killed half-way leaves
    // at most that one file, which the next save reuses, and two copies of the game take turns
    const std::string tempPath = temporaryScorePath(target, ::geteuid()).string();
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const auto openTemp = [&] { return ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600); };
        int fd = openTemp();
        if (fd < 0 && errno == ENOENT && makeFolder(folderOf(target)))
            fd = openTemp();
        struct stat temp{};
        if (fd >= 0 && (::fstat(fd, &temp) != 0 || temp.st_uid != ::geteuid()))
        {
            ::close(fd); // another player's file under this player's name: not ours to use
            fd = -1;
        }
        if (fd < 0)
            return rewriteInPlace(target, value);

        if (tryLock(fd) == SaveResult::Busy)
        {
            ::close(fd);
            return SaveResult::Busy;
        }
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

        if (!(::fchmod(fd, replacementMode(target)) == 0 && writeAt(fd, text)))
        {
            ::unlink(tempPath.c_str());
            ::close(fd);
            return SaveResult::Failed;
        }
        if (std::rename(tempPath.c_str(), target.c_str()) != 0)
        {
            ::unlink(tempPath.c_str());
            ::close(fd);
            return rewriteInPlace(target, value);
        }
        ::close(fd);

        // Make the rename itself durable; it has happened already, so a failure here changes nothing
        const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0)
        {
            ::fsync(folder);
            ::close(folder);
        }
        return SaveResult::Saved;
    }
    return SaveResult::Failed;
}


