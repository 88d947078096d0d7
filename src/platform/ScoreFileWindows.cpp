// The best-score file on Windows. The temporary file, open for this process alone, is the lock; the
// score goes into it and to the disk, then the open file takes the score file's name in one step.
#include "hud/HighScore.hpp"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

namespace
{
// One open file, closed when it goes.
struct File
{
    explicit File(HANDLE opened) : handle(opened) {}
    File(const File&) = delete;
    ~File()
    {
        if (isOpen())
            CloseHandle(handle);
    }
    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }

    HANDLE handle;
};

std::string readAll(HANDLE file)
{
    std::string text;
    char buffer[256];
    DWORD count = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    while (ReadFile(file, buffer, sizeof(buffer), &count, nullptr) && count > 0)
        text.append(buffer, count);
    return text;
}

// Writes `text` from the start of the file, cuts it there and flushes it to the disk.
bool writeAt(HANDLE file, const std::string& text)
{
    DWORD written = 0;
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
           WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size() &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// The score a file holds now, as another copy of the game may have raised it; 0 when there is none.
int storedScore(const std::filesystem::path& target)
{
    const File file(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.isOpen() ? parseBestScore(readAll(file.handle)) : 0;
}

// Where no temporary file can be made or renamed: the plain rewrite, the file open to this process alone.
SaveResult rewriteInPlace(const std::filesystem::path& target, int value)
{
    const File file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return GetLastError() == ERROR_SHARING_VIOLATION ? SaveResult::Busy : SaveResult::Failed;
    const std::string text = std::to_string(std::max(value, parseBestScore(readAll(file.handle))));
    return writeAt(file.handle, text) ? SaveResult::Saved : SaveResult::Failed;
}

// The open file goes when it is closed.
void discard(HANDLE file)
{
    FILE_DISPOSITION_INFO info{};
    info.DeleteFile = TRUE;
    SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof(info));
}

// The open file takes `target`'s name, replacing it: no other process can open it meanwhile.
bool renameOver(HANDLE file, const std::filesystem::path& target)
{
    const std::wstring name = std::filesystem::absolute(target).wstring();
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + (name.size() + 1) * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}
} // namespace


////////////////////////////////////////////////////////////
std::filesystem::path temporaryScorePath(const std::filesystem::path& target, unsigned)
{
    // The score lives in the player's own folder: one name does
    return target.wstring() + L".tmp";
}


////////////////////////////////////////////////////////////
int loadBestScore(const std::filesystem::path& path)
{
    if (path.empty())
        return 0;
    // Left by a save that was killed; a save that holds it now keeps it open, and the delete fails
    DeleteFileW(temporaryScorePath(path, 0).c_str());
    return storedScore(path);
}


////////////////////////////////////////////////////////////
SaveResult saveBestScore(const std::filesystem::path& path, int value)
{
    if (path.empty())
        return SaveResult::Failed;

    // A folder or a device is never replaced or written, nor a file the player made read-only
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)))
        return SaveResult::Failed;

    // Opened for this process alone: a second copy of the game finds it taken and tries again later
    const std::filesystem::path tempPath = temporaryScorePath(path, 0);
    const auto openTemp = [&] {
        return CreateFileW(tempPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE opened = openTemp();
    if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND)
    {
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        opened = openTemp();
    }
    if (opened == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? SaveResult::Busy : rewriteInPlace(path, value);

    // Read the file again under the lock, so a higher score stored meanwhile is kept
    File temp(opened);
    if (!writeAt(temp.handle, std::to_string(std::max(value, storedScore(path)))))
    {
        discard(temp.handle);
        return SaveResult::Failed;
    }
    if (!renameOver(temp.handle, path))
    {
        discard(temp.handle);
        return rewriteInPlace(path, value);
    }
    return SaveResult::Saved;
}
