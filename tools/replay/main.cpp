// glimmora-replay SCRIPT [EXPECTED]   replays SCRIPT and prints the session at its end;
//                                     with EXPECTED, exits 1 unless the print matches that file
// glimmora-replay --autoplay SEED     plays a game by itself and prints its script: a pattern
//                                     match, a discard, a level-up, then an overflow ending
// Run from the folder that holds assets/.

#include "app/Replay.hpp"
#include "game/Falling.hpp"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace
{
int replayFile(const char* scriptPath, const char* expectedPath)
{
    std::ifstream script(scriptPath);
    if (!script)
        return std::cerr << "cannot read " << scriptPath << '\n', 2;
    Replay replay;
    std::string line, error;
    for (int number = 1; std::getline(script, line); ++number)
        if (!replay.apply(line, error))
            return std::cerr << scriptPath << ':' << number << ": " << error << '\n', 2;

    const std::string dump = replay.dump();
    std::cout << dump;
    if (!expectedPath)
        return 0;
    std::ifstream expectedFile(expectedPath);
    std::stringstream expected;
    expected << expectedFile.rdbuf();
    if (expected.str() == dump)
        return 0;
    std::cerr << "the replay ended elsewhere than " << expectedPath << " says:\n" << expected.str();
    return 1;
}

// Records every step it takes, folding runs of equal frames into one line.
struct Recorder
{
    Replay replay;
    std::string pending;
    int repeats = 0;

    void step(const std::string& line)
    {
        std::string error;
        if (!replay.apply(line, error))
            throw std::runtime_error(error);
        if (line == pending)
            return static_cast<void>(++repeats);
        flush();
        pending = line;
        repeats = 1;
    }
    void flush()
    {
        if (repeats > 0)
            std::cout << pending << (repeats > 1 ? " " + std::to_string(repeats) : "") << '\n';
        repeats = 0;
    }
};

const char* toward(const GameSession& s, int column, const char* there)
{
    return column == s.game.selectorStop ? there : column > s.game.selectorStop ? "Right" : "Left";
}

// The nearest play column that passes `test`, or -1.
template <typename Test>
int nearestColumn(const GameSession& s, Test test)
{
    for (int distance = 0; distance < PlayColumns; ++distance)
        for (int column : {s.game.selectorStop - distance, s.game.selectorStop + distance})
            if (column >= 0 && column < PlayColumns && test(static_cast<std::size_t>(column)))
                return column;
    return -1;
}

// Plays toward the pattern as a player would: fetch the gem the pattern needs
// next from the bottom of the nearest column; where none waits there, dig one
// out from the row above and park the gem in the way under another column.
struct Player
{
    std::size_t digColumn = PlayColumns;

    const char* next(const GameSession& s)
    {
        const auto& bottom = s.game.board[BoardRows - 1];
        const int beads = static_cast<int>(std::count_if(s.game.thread.begin(), s.game.thread.end(), [](GemCode c) { return c; }));
        if (beads == ThreadSlots)
            return nullptr;
        if (!std::equal(s.game.thread.begin(), s.game.thread.begin() + beads, s.game.pattern.end() - beads))
        {
            const GemCode wanted = s.game.pattern[static_cast<std::size_t>(ThreadSlots - beads)];
            return toward(s, nearestColumn(s, [&](std::size_t c) {
                return c != digColumn && s.game.board[2][c] == EmptyGem && bottom[c] != wanted;
            }), "Up");
        }
        const GemCode needed = s.game.pattern[static_cast<std::size_t>(ThreadSlots - 1 - beads)];
        const int ready = nearestColumn(s, [&](std::size_t c) { return bottom[c] == needed; });
        if (ready >= 0)
            return toward(s, ready, "Down");
        const int buried = nearestColumn(s, [&](std::size_t c) { return s.game.board[BoardRows - 2][c] == needed; });
        if (buried < 0)
            return nullptr;
        digColumn = static_cast<std::size_t>(buried);
        return toward(s, buried, "Down");
    }
};

// Any eight gems, thrown into the tube.
const char* fillAndDiscard(const GameSession& s)
{
    if (s.game.thread.back() != EmptyGem)
        return s.game.selectorStop == TrashTubeStop ? "Up" : "Right";
    if (s.game.selectorStop < PlayColumns && s.game.board[BoardRows - 1][static_cast<std::size_t>(s.game.selectorStop)] != EmptyGem)
        return "Down";
    for (int column = 0; column < PlayColumns; ++column)
        if (s.game.board[BoardRows - 1][static_cast<std::size_t>(column)] != EmptyGem)
            return column > s.game.selectorStop ? "Right" : "Left";
    return nullptr;
}

int autoplay(const char* seed)
{
    Recorder r;
    r.step(std::string("seed ") + seed);
    r.step("frame 0.5");
    r.step("key Space");
    for (int i = 0; i < 120; ++i)
        r.step("frame 0.02");
    const GameApp& app = r.replay.app();
    const GameSession& s = app.session();
    r.step("click 910 490"); // the start button
    r.step("frame 0.02");
    r.step("mouse 5 5");
    while (app.screen() != ScreenState::Playing)
        r.step("frame 0.02");

    // Discard first, then a match, then time for a level-up, then let a column overflow
    bool discarded = false, holding = false;
    Player player;
    for (int frame = 0; frame < 40000 && app.screen() == ScreenState::Playing; ++frame)
    {
        discarded |= s.game.trashAnimating;
        int gems = 0;
        for (const auto& row : s.game.board)
            gems += static_cast<int>(std::count_if(row.begin(), row.end(), [](GemCode c) { return c; }));
        const bool flood = s.game.level >= 2 && s.game.patternsCompleted > 0 && discarded;
        const bool hold = flood || gems < 16;
        if (hold != holding)
            r.step(std::string("hold Space ") + ((holding = hold) ? "on" : "off"));
        // A player waits for a discard or a clear to run its course before the next move
        const bool busy = s.game.trashAnimating || s.game.threadClearing || s.game.patternClearing;
        const char* key = flood ? "Space" : busy ? nullptr : !discarded ? fillAndDiscard(s) : player.next(s);
        if (key && frame % 3 == 0)
            r.step(std::string("key ") + key);
        else if (gems < 16 || flood)
            r.step("key Space"); // auto-repeat of the held key
        r.step("frame 0.02");
    }
    r.step("hold Space off");
    for (int i = 0; i < 160; ++i) // the end screen answers once its result panel shows, at 3 s
        r.step("frame 0.02");
    r.step("key Enter");
    r.step("frame 0.02");
    r.flush();
    return app.screen() == ScreenState::Menu && s.game.patternsCompleted > 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--autoplay")
        return autoplay(argv[2]);
    if (argc == 2 || argc == 3)
        return replayFile(argv[1], argc == 3 ? argv[2] : nullptr);
    std::cerr << "usage: glimmora-replay SCRIPT [EXPECTED] | --autoplay SEED\n";
    return 2;
}
