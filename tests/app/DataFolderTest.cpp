#include "app/DataFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;

// The data is looked for in the working directory, beside the executable, in the installed folder
// relative to it and in its parent; the installed folder and the executable's own, under any name,
// count as installed. A folder whose assets/ merely shares a common name with the game's is not its
// data, nor half of the data.
TEST(DataFolder, IsFoundWhereverTheGameIsStarted)
{
    const fs::path scratch = fs::temp_directory_path() / ("glimmora-data-" + std::to_string(::getpid()));
    const std::string checkout = (scratch / "checkout").string(), other = (scratch / "other").string();
    const std::string installed = (scratch / "usr/share/games/glimmora-game").string();
    const std::string unpacked = (scratch / "Glimmora Game ü").string(); // an archive's folder, with the game in it
    const std::vector<std::string> files = gameDataFiles();
    for (const std::string& root : {checkout, installed, unpacked, other})
    {
        fs::create_directories(root + "/assets");
        const std::size_t count = root == other ? files.size() / 2 : files.size() - 3; // a few lost or damaged
        for (std::size_t i = 0; i < count; ++i)
            std::ofstream(root + "/" + files[i]);
    }
    fs::create_directory_symlink(installed, scratch / "link");

    const std::string usrGame = (scratch / "usr/games/glimmora-game").string();
    const std::string buildGame = checkout + "/build/glimmora-game", loneGame = other + "/bin/glimmora-game";
    const struct { std::string cwd, executable, root; bool installed; } cases[] = {
        {checkout, usrGame, checkout, false},  {other, usrGame, installed, true},
        {(scratch / "link").string(), usrGame, (scratch / "link").string(), true},
        {other, buildGame, checkout, false},   {other, loneGame, "", false}, {other, "", "", false},
        {other, unpacked + "/glimmora-game", unpacked, true}};
    for (const auto& c : cases)
    {
        const DataSearch search = findDataFolder(c.cwd, c.executable);
        EXPECT_EQ(search.found ? search.found->root : fs::path(), c.root) << c.cwd << ", " << c.executable;
        EXPECT_EQ(search.found && search.found->installed, c.installed) << c.cwd << ", " << c.executable;
    }
    // Each folder is named once in the refusal
    EXPECT_EQ(findDataFolder(other, loneGame).tried,
              (std::vector<fs::path>{other, other + "/bin", other + "/share/games/glimmora-game"}));
    fs::remove_all(scratch);
}
