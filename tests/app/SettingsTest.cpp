// The player's settings: read as far as they read, the rest at their defaults, and kept when they change.

#include "app/Settings.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Settings, WhatReadsIsTakenTheRestIsDefault)
{
    const Settings defaults;
    const struct { const char* text; Settings settings; } cases[] = {
        {"", defaults},
        {"music off\nsound off\nvolume 3\n", {false, false, 3}},
        {"volume 0", {true, true, 0}},
        {"sound  off  \r\nmusic on", {true, false, DefaultMasterLevel}},
        {"volume 11\nvolume -1\nvolume 7x\nvolume 100", defaults},
        {"music maybe\nMUSIC off\nsound", defaults},
        {"\x89PNG\r\n\x1a\n\0\0\0\rIHDR", defaults},
        {"[audio]\nmusic=off\n", defaults}};
    for (const auto& c : cases)
        EXPECT_EQ(parseSettings(c.text), c.settings) << '"' << c.text << '"';
    EXPECT_EQ(parseSettings(formatSettings({false, true, 10})), (Settings{false, true, 10}));
}

// Kept across a restart; written only when a setting changes; a path that holds no file of settings gives the
// defaults and takes nothing.
TEST(Settings, KeptWhenTheyChange)
{
    const fs::path folder = fs::path(::testing::TempDir()) / ("glimmora-settings-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const fs::path path = folder / "glimmora-game" / "settings.txt";
    {
        SettingsFile file(path);
        EXPECT_EQ(file.load(), Settings());
        file.keep(Settings());
        EXPECT_FALSE(fs::exists(path)) << "a file written with nothing changed";
        file.keep({false, true, 5});
    }
    std::ifstream written(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), "music off\nsound on\nvolume 5\n");
    EXPECT_EQ(SettingsFile(path).load(), (Settings{false, true, 5}));

    fs::remove(path);
    fs::create_directory(path); // a folder where the file should be
    SettingsFile odd(path);
    EXPECT_EQ(odd.load(), Settings());
    odd.keep({true, false, 2});
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(SettingsFile().load(), Settings()) << "no path";
    fs::remove_all(folder);
}
