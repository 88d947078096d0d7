// Any bytes as a player: commands and frame times applied to the app from a fresh start, through
// every screen it can reach, with the game's invariants checked after every frame.
// Each byte is one step: its low 3 bits the kind, its high 5 bits the argument.
//   0 key press, 1 left click at a target, 2 mouse move to a target (24 to 31: the focus lost or regained),
//   3 Space/M/S/P/Escape/Enter held or let go,
//   4..7 frames of one duration: 1, 4, 16 or 64 of them.
// Run from the folder that holds assets/: the buttons' sizes come from their pictures.
// Seed "golden_game" is tests/replay/golden.replay in this encoding: a discard, a match, a level-up
// and an overflow ending; "every_screen" adds the pages, keys and buttons.
#include "app/GameApp.hpp"
#include "app/Replay.hpp"
#include "../support/Invariants.hpp"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

namespace
{
const std::array<const char*, 11> keys = {"Space", "Enter", "Escape", "B", "M", "S", "P", "Left", "Right", "Up", "Down"};
// Menu buttons, in-game buttons, a board cell, a corner (window pixels at 1920 x 1080).
const std::array<sf::Vector2i, 11> targets = {{{910, 490}, {960, 693}, {960, 872}, {960, 980}, {1320, 50},
                                               {1440, 50}, {1560, 50}, {1680, 50}, {1800, 50}, {700, 400}, {5, 5}}};
const std::array<Micros, 8> frameMicros = {1000, 5000, 16000, 20000, 50000, 100000, 500000, 1100000};

void fail(const char* what, const GameSession& g)
{
    std::fprintf(stderr, "invariant broken: %s\n%s", what, dumpSession(g).c_str());
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Hitboxes hitboxes = hitboxesFromFiles(computeDesignScale(1920, 1080));
    RandomGenerator generator(2026); // the recorded game's seed, so its script converts into an input
    AppContext context;
    context.random = std::ref(generator);
    context.hitboxes = hitboxes;
    GameApp app(std::move(context));
    sf::Vector2i mouse;
    std::set<sf::Keyboard::Key> held;
    const auto isHeld = [&held](sf::Keyboard::Key key) { return held.count(key) > 0; };
    Micros now = 0;
    app.start(now, mouse);

    for (std::size_t i = 0; i < size && !app.closeRequested(); ++i)
    {
        const int kind = data[i] & 7, argument = data[i] >> 3;
        Command command;
        switch (kind)
        {
            case 0: command = {CommandKind::KeyPress, replayKey(keys[argument % keys.size()]), {}, false}; break;
            case 1: command = {CommandKind::LeftClick, sf::Keyboard::Unknown, targets[argument % targets.size()], false}; break;
            case 2:
                command.kind = argument < 24 ? CommandKind::Other : argument % 2 ? CommandKind::FocusGained : CommandKind::FocusLost;
                break;
            case 3:
            {
                const sf::Keyboard::Key holdable[] = {sf::Keyboard::Space, sf::Keyboard::M, sf::Keyboard::S,
                                                      sf::Keyboard::P, sf::Keyboard::Escape, sf::Keyboard::Enter};
                const sf::Keyboard::Key key = holdable[argument % 6];
                if (!held.erase(key))
                    held.insert(key);
                continue;
            }
            default:
                for (int frame = 0; frame < 1 << (2 * (kind - 4)); ++frame)
                {
                    const GameSession before = app.session();
                    const ScreenState screenBefore = app.screen();
                    app.tick(readFrameInput(app, mouse, isHeld),
                             now += frameMicros[static_cast<std::size_t>(argument) % frameMicros.size()]);
                    if (const char* broken = brokenInvariant(app, before, screenBefore))
                        fail(broken, app.session());
                }
                continue;
        }
        if (kind == 1 || kind == 2)
            mouse = targets[static_cast<std::size_t>(argument) % targets.size()];
        command.spaceHeld = isHeld(sf::Keyboard::Space);
        app.respond(command, now);
    }
    return 0;
}
