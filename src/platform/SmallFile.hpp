#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The best-score file's system parts, one file for each system (SmallFileLinux.cpp, SmallFileWindows.cpp).
namespace platform
{
enum class FileResult { Done, Busy /* another copy of the game holds the file */, Failed };

// One best-score file, open and held against the other copies of the game until it goes: shared for
// reading, alone for writing. Only a regular file opens, its links followed: a device, a pipe or a
// folder is never read or written.
class SmallFile
{
public:
    SmallFile() = default;
    SmallFile(const SmallFile&) = delete;
    ~SmallFile();

    // Never waits: Busy while another copy holds it. For writing, a missing file and folder are made, but
    // not where a link leads nowhere, and a file the player made read-only does not open, even for root.
    FileResult open(const std::filesystem::path& path, bool write);
    std::string head() const; // the first 64 bytes at most: a score takes 11
    // `text` over the start, then the file cut to `length`; `durable` also flushes it to the disk.
    bool rewrite(const std::string& text, std::size_t length, bool durable) const;

private:
    std::intptr_t m_handle = -1; // a file descriptor, or a HANDLE
};

// The temporary file that a save of an earlier build could leave beside `path` goes.
void removeEarlierTemporaryFile(const std::filesystem::path& path);

} // namespace platform
