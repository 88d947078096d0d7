#include "hud/HighScore.hpp"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
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

// Folder part of a path, for syncing it after the rename; "." for a bare file name.
std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
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

// Content, flush to the disk and close, each checked; the stream is closed in every case.
bool writeAndClose(std::FILE* file, const std::string& content)
{
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = ok && std::fflush(file) == 0;
    ok = ok && ::fsync(::fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    return ok && closed;
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
int loadBestScore(const std::string& path)
{
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file)
        return 0;

    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseBestScore(text);
}


////////////////////////////////////////////////////////////
bool saveBestScore(const std::string& path, int value)
{
    // The new score goes to a fresh file beside the old one, which a rename then replaces
    // in one step: a crash or a full disk meanwhile leaves the old score in place
    std::string tempPath = path + ".tmp.XXXXXX";
    std::vector<char> nameBuffer(tempPath.begin(), tempPath.end());
    nameBuffer.push_back('\0');

    const int fd = ::mkstemp(nameBuffer.data());
    if (fd < 0)
        return false;
    tempPath = nameBuffer.data();

    // mkstemp makes the file private; give it the permissions a plain rewrite would keep
    bool ok = ::fchmod(fd, replacementMode(path)) == 0;

    std::FILE* file = ::fdopen(fd, "wb");
    if (!file)
    {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return false;
    }

    ok = writeAndClose(file, std::to_string(value)) && ok;
    ok = ok && std::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok)
    {
        ::unlink(tempPath.c_str());
        return false;
    }

    // Make the rename itself durable; it has happened already, so a failure here changes nothing
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0)
    {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
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
