#pragma once

#include "HudTestSupport.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#define getpid _getpid
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

inline std::string contentOf(const fs::path& path)
{
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

// Another copy of the game holding the file, as it does while it rewrites it.
struct HeldFile
{
#ifdef _WIN32
    explicit HeldFile(const fs::path& path) : file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { CloseHandle(file); }
    HANDLE file;
#else
    explicit HeldFile(const fs::path& path) : fd(::open(path.c_str(), O_RDWR)) { ::flock(fd, LOCK_EX); }
    ~HeldFile() { ::close(fd); }
    int fd;
#endif
};

// Each test of the best-score file starts from an empty folder that any player may write to, removed afterwards.
struct BestScore : ::testing::Test
{
    void SetUp() override { fs::remove_all(folder), fs::create_directories(folder), fs::permissions(folder, fs::perms::all); }
    void TearDown() override { fs::remove_all(folder); }
    const std::string& fileWith(const std::string& text) { std::ofstream(path) << text; return path; }
    long entries(const fs::path& in) const { return std::distance(fs::directory_iterator(in), {}); }

    const fs::path folder = fs::temp_directory_path() / ("glimmora-hud-" + std::to_string(getpid()));
    const std::string path = (folder / "highscore.txt").string();
};
