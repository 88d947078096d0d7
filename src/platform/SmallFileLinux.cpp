// A small file on Linux: POSIX file operations and flock on the file itself.
#include "platform/SmallFile.hpp"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
int openRegular(const std::filesystem::path& path, int flags, struct stat& info)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)))
        return ::close(fd), errno = EINVAL, -1;
    return fd;
}
} // namespace

platform::SmallFile::~SmallFile()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

platform::FileResult platform::SmallFile::open(const std::filesystem::path& path, bool write)
{
    struct stat info{};
    int fd = openRegular(path, write ? O_RDWR : O_RDONLY, info);
    if (fd < 0 && errno == ENOENT && write)
    {
        // O_EXCL follows no dangling link, and keeps a file that another copy has just made
        std::error_code error;
        if (std::filesystem::create_directories(path.parent_path(), error))
            std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_all, error);
        if ((fd = openRegular(path, O_RDWR | O_CREAT | O_EXCL, info)) < 0 && errno == EEXIST)
            fd = openRegular(path, O_RDWR, info);
    }
    if ((m_handle = fd) < 0 || (write && (info.st_mode & 0222) == 0))
        return FileResult::Failed;
    // A file system without locks leaves the file unguarded
    const bool held = ::flock(fd, (write ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    return held ? FileResult::Busy : FileResult::Done;
}

std::string platform::SmallFile::head() const
{
    char bytes[64];
    const ssize_t count = ::pread(static_cast<int>(m_handle), bytes, sizeof(bytes), 0);
    return std::string(bytes, count > 0 ? static_cast<std::size_t>(count) : 0);
}

bool platform::SmallFile::rewrite(const std::string& text, std::size_t length, bool durable) const
{
    const int fd = static_cast<int>(m_handle);
    return ::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()) &&
           (text.size() == length || ::ftruncate(fd, static_cast<off_t>(length)) == 0) && (!durable || ::fsync(fd) == 0);
}

void platform::removeEarlierTemporaryFile(const std::filesystem::path& path)
{
    // One for each player, beside the file that the links led to
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    if (!error)
        ::unlink((target.string() + "." + std::to_string(::geteuid()) + ".tmp").c_str());
}

