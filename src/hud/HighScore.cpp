#include "hud/HighScore.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <mutex>
#include <thread>

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
    if (path.empty())
        return 0;
    removeStaleTemp(temporaryScorePath(followLinks(path), ::geteuid()));

    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file)
        return 0;

    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseBestScore(text);
}


////////////////////////////////////////////////////////////
std::string temporaryScorePath(const std::string& target, unsigned user)
{
    // One name per player: a temporary file another player left in a shared folder is never in the way
    return target + "." + std::to_string(user) + ".tmp";
}


////////////////////////////////////////////////////////////
SaveResult saveBestScore(const std::string& path, int value)
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
    const std::string tempPath = temporaryScorePath(target, ::geteuid());
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


////////////////////////////////////////////////////////////
struct BestScoreFile::Writer
{
    explicit Writer(std::string file) : path(std::move(file)), thread([this] { run(); }) {}
    ~Writer()
    {
        {
            std::lock_guard<std::mutex> guard(mutex);
            quitting = true;
            quitBy = std::chrono::steady_clock::now() + QuitGrace;
        }
        wake.notify_all();
        thread.join();
    }

    // Saves the newest value handed over; while another copy holds the file, looks again now and then.
    void run()
    {
        std::unique_lock<std::mutex> guard(mutex);
        for (;;)
        {
            if (!pending)
            {
                if (quitting)
                    return;
                wake.wait(guard);
                continue;
            }
            const int value = wanted;
            pending = false;
            saving = true;
            guard.unlock();
            const SaveResult result = saveBestScore(path, value);
            guard.lock();
            saving = false;
            if (result == SaveResult::Busy && !(quitting && std::chrono::steady_clock::now() > quitBy))
            {
                pending = true;
                wanted = std::max(wanted, value);
                wake.wait_for(guard, RetryWait);
            }
            idle.notify_all();
        }
    }

    static constexpr std::chrono::milliseconds RetryWait{100};
    static constexpr std::chrono::seconds QuitGrace{2};

    const std::string path;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    int wanted = 0;        // the newest score handed over
    bool pending = false;  // `wanted` is not stored yet
    bool saving = false;   // a save runs outside the mutex
    bool quitting = false;
    std::chrono::steady_clock::time_point quitBy;
    std::thread thread;    // last: it starts once everything above is ready
};

BestScoreFile::BestScoreFile() = default;
BestScoreFile::BestScoreFile(std::string path) : m_path(std::move(path)) {}
BestScoreFile::BestScoreFile(BestScoreFile&&) noexcept = default;
BestScoreFile& BestScoreFile::operator=(BestScoreFile&&) noexcept = default;
BestScoreFile::~BestScoreFile() = default;

void BestScoreFile::store(int value)
{
    if (m_path.empty())
        return;
    if (!m_writer)
        m_writer = std::make_unique<Writer>(m_path);
    {
        std::lock_guard<std::mutex> guard(m_writer->mutex);
        m_writer->wanted = m_writer->pending ? std::max(m_writer->wanted, value) : value;
        m_writer->pending = true;
    }
    m_writer->wake.notify_one();
}

void BestScoreFile::flush()
{
    if (!m_writer)
        return;
    std::unique_lock<std::mutex> guard(m_writer->mutex);
    m_writer->idle.wait(guard, [this] { return !m_writer->pending && !m_writer->saving; });
}


////////////////////////////////////////////////////////////
void recordScore(GameSession& session, BestScoreFile& file)
{
    if (session.score > session.bestScore)
    {
        session.bestScore = session.score;

        // A failed write is ignored: the raised best score stays in memory for the run
        file.store(session.bestScore);
    }
}
