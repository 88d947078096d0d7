// The best-score file on Windows: the share mode it is opened with keeps every other copy of the game out
// while one reads or rewrites it.
#include "platform/SmallFile.hpp"

#include <windows.h>

platform::SmallFile::~SmallFile()
{
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

platform::FileResult platform::SmallFile::open(const std::filesystem::path& path, bool write)
{
    // Made only where nothing is there at all, not where a link leads nowhere; a read-only file does not
    // open for writing, and a folder not at all
    const bool missing = write && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    std::error_code error;
    if (missing)
        std::filesystem::create_directories(path.parent_path(), error);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | (write ? GENERIC_WRITE : 0), write ? 0 : FILE_SHARE_READ,
                                    nullptr, missing ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? FileResult::Busy : FileResult::Failed;
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return GetFileType(file) == FILE_TYPE_DISK ? FileResult::Done : FileResult::Failed; // not a device or a pipe
}

std::string platform::SmallFile::head() const
{
    char bytes[64];
    DWORD count = 0;
    const bool read = ReadFile(reinterpret_cast<HANDLE>(m_handle), bytes, sizeof(bytes), &count, nullptr);
    return read ? std::string(bytes, count) : std::string();
}

bool platform::SmallFile::rewrite(const std::string& text, std::size_t length, bool durable) const
{
    const HANDLE file = reinterpret_cast<HANDLE>(m_handle);
    DWORD written = 0;
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
           WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size() &&
           SetFilePointer(file, static_cast<LONG>(length), nullptr, FILE_BEGIN) == length && SetEndOfFile(file) &&
           (!durable || FlushFileBuffers(file));
}

void platform::removeEarlierTemporaryFile(const std::filesystem::path& path)
{
    // A save that runs now holds it, and it stays
    DeleteFileW((path.wstring() + L".tmp").c_str());
}
