// The best-score file on Windows: while one copy of the game reads or rewrites it, the share mode it is
// opened with keeps every other copy out.
#include "platform/ScoreFile.hpp"

#include <windows.h>

namespace
{
constexpr DWORD HeadBytes = 64; // all that is ever read: a score takes 11 at most

// Only a file on the disk, links followed: a folder does not open, and a device or a pipe is never used.
HANDLE openFile(const std::filesystem::path& path, DWORD access, DWORD share, DWORD disposition)
{
    const HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || GetFileType(file) == FILE_TYPE_DISK)
        return file;
    CloseHandle(file);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

platform::FileResult failure()
{
    return GetLastError() == ERROR_SHARING_VIOLATION ? platform::FileResult::Busy : platform::FileResult::Failed;
}

std::string head(HANDLE file)
{
    char bytes[HeadBytes];
    DWORD count = 0;
    return ReadFile(file, bytes, HeadBytes, &count, nullptr) ? std::string(bytes, count) : std::string();
}
} // namespace


////////////////////////////////////////////////////////////
platform::FileResult platform::loadBestScore(const std::filesystem::path& path, int& score)
{
    score = 0;
    if (path.empty())
        return FileResult::Failed;

    // Left by an earlier build's save that was cut short; one that runs now holds it, and it stays
    DeleteFileW((path.wstring() + L".tmp").c_str());

    // Others may read meanwhile, but no copy may rewrite it: a copy that is rewriting it now keeps it
    // from opening (Busy), so it is never read as 0
    const HANDLE file = openFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return failure();
    score = parseBestScore(head(file));
    CloseHandle(file);
    return FileResult::Done;
}


////////////////////////////////////////////////////////////
platform::FileResult platform::saveBestScore(const std::filesystem::path& path, int value, bool durable)
{
    if (path.empty())
        return FileResult::Failed;

    // Made only where nothing is there at all, not where a link leads nowhere. A read-only file does not
    // open for writing.
    const bool missing = GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    std::error_code error;
    if (missing)
        std::filesystem::create_directories(path.parent_path(), error);
    const HANDLE file = openFile(path, GENERIC_READ | GENERIC_WRITE, 0, missing ? OPEN_ALWAYS : OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return failure();

    // The higher score over the old text, spaces over the rest of what was read: should the game be
    // killed before the cut, no digit of the old text follows the new one
    const std::string old = head(file), best = std::to_string(std::max(value, parseBestScore(old)));
    std::string text = best;
    text.resize(std::max(best.size(), old.size()), ' ');
    const LONG length = static_cast<LONG>(best.size());
    DWORD written = 0;
    const bool saved = SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
                       WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size() &&
                       (old.size() <= best.size() ||
                        (SetFilePointer(file, length, nullptr, FILE_BEGIN) == static_cast<DWORD>(length) && SetEndOfFile(file))) &&
                       (!durable || FlushFileBuffers(file));
    CloseHandle(file);
    return saved ? FileResult::Done : FileResult::Failed;
}
