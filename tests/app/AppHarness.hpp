#pragma once

#include "app/Assets.hpp"
#include "app/FrameLoop.hpp"
#include "app/GameApp.hpp"
#include "../support/AudioRecorder.hpp"

#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <unistd.h>
#include <memory>
#include <optional>
#include <set>
#include <string>

// Pictures are loaded once per test program, filtered for each harness's size: they are large and never change.
inline PictureAssets& sharedPictures(const DesignScale& scale)
{
    static std::unique_ptr<PictureAssets> pictures;
    if (!pictures)
    {
        pictures = std::make_unique<PictureAssets>();
        pictures->loadPictures();
        pictures->loadGems();
    }
    pictures->filterFor(scale);
    return *pictures;
}

// The real app layer with a manual clock, commands made up as the window would
// deliver them, and an off-screen picture of every frame.
struct AppHarness
{
    explicit AppHarness(unsigned width = 1920, unsigned height = 1080,
                        std::string bestScoreFile = scratchPath()) :
    scale(computeDesignScale(width, height)),
    pictures(sharedPictures(scale)),
    renderer(pictures, scale),
    bestScorePath(std::move(bestScoreFile)),
    app(context())
    {
        target.create(width, height);
        app.start(now, mouse);
    }
    ~AppHarness()
    {
        app.bestScoreFile().close();
        std::remove(bestScorePath.c_str());
    }

    static std::string scratchPath()
    {
        static int made = 0;
        return ::testing::TempDir() + "glimmora-best-" + std::to_string(getpid()) + "-" + std::to_string(++made);
    }

    AppContext context()
    {
        AppContext c;
        c.audio = audio.port;
        c.random = std::ref(generator);
        c.bestScoreFile = BestScoreFile(bestScorePath);
        c.hitboxes = pictures.hitboxes(scale);
        return c;
    }

    // The frame's phases after the events, then its picture; false when it ended early or was not drawn.
    bool frame(double seconds = 0.001, bool draw = true)
    {
        now += microsFromSeconds(seconds);
        if (!app.tick(readFrameInput(app, mouse, [this](sf::Keyboard::Key key) { return held.count(key) > 0; }), now) ||
            !draw)
            return false;
        Scene scene;
        app.describe(scene);
        renderer.draw(target, scene);
        target.display();
        return true;
    }
    void run(double seconds, double step = 0.01)
    {
        // Only the last frame is drawn: drawing is slow on a virtual display
        for (int i = static_cast<int>(seconds / step + 0.5); i > 0; --i)
            frame(step, i == 1);
    }

    void send(Command command)
    {
        command.spaceHeld = held.count(sf::Keyboard::Space) > 0;
        app.respond(command, now);
    }
    void press(sf::Keyboard::Key key) { send({CommandKind::KeyPress, key, {}, false}); }
    // A gamepad's button pressed or let go, an axis moved (-100 to 100), on pad 0 unless said.
    void padButton(unsigned button, bool down, unsigned pad = 0)
    {
        Command command{CommandKind::PadButton};
        command.pad = {pad, button, down, sf::Joystick::X, 0.f};
        send(command);
    }
    void padAxis(sf::Joystick::Axis axis, float position, unsigned pad = 0)
    {
        Command command{CommandKind::PadMoved};
        command.pad = {pad, 0, false, axis, position};
        send(command);
    }
    void padTap(unsigned button)
    {
        padButton(button, true);
        padButton(button, false);
    }

    // A key held down, or let go; a held key's presses are the test's to send, as its auto-repeat.
    void hold(sf::Keyboard::Key key, bool down = true)
    {
        if (down)
            held.insert(key);
        else
            held.erase(key);
    }
    void moveTo(DesignPoint point)
    {
        mouse = pixel(point);
        send({}); // the move event replaces the last one
    }
    void clickAt(DesignPoint point)
    {
        moveTo(point);
        send({CommandKind::LeftClick, sf::Keyboard::Unknown, pixel(point), false});
    }
    // A press and its release in one frame, as a tap or a quick click arrives.
    void tapAt(DesignPoint point)
    {
        clickAt(point);
        send({});
    }

    // The window given another size: the commands' pixels follow it (the off-screen picture does not).
    void resize(unsigned width, unsigned height)
    {
        scale = computeDesignScale(width, height);
        send({CommandKind::Resized, sf::Keyboard::Unknown, {static_cast<int>(width), static_cast<int>(height)}, false});
    }

    sf::Vector2i pixel(DesignPoint point) const
    {
        const sf::Vector2f p = scale.apply(point);
        return {static_cast<int>(p.x), static_cast<int>(p.y)};
    }
    DesignPoint centreOf(Picture picture) const
    {
        const DesignPoint corner = pictureInfo(picture).position;
        const sf::Vector2u size = pictures.texture(picture).getSize();
        return {corner.x + static_cast<float>(size.x) / 2.f, corner.y + static_cast<float>(size.y) / 2.f};
    }
    // The picture the app describes now, and where in its order a texture first comes (-1: nowhere).
    Scene scene() const
    {
        Scene described;
        app.describe(described);
        return described;
    }
    int placeOf(TextureId texture, std::optional<DesignPoint> at = std::nullopt) const
    {
        const Scene s = scene();
        for (std::size_t i = 0; i < s.count; ++i)
            if (s.items[i].texture == texture && (!at || s.items[i].position == *at))
                return static_cast<int>(i);
        return -1;
    }
    sf::Image shot() const { return target.getTexture().copyToImage(); }
    sf::Color pixelAt(DesignPoint point) const
    {
        const sf::Vector2i p = pixel(point);
        return shot().getPixel(static_cast<unsigned>(p.x), static_cast<unsigned>(p.y));
    }
    // A picture's own colour at a design point, drawn opaque over black; black outside it.
    sf::Color texel(const sf::Texture& texture, DesignPoint origin, DesignPoint point) const
    {
        const sf::Image image = texture.copyToImage();
        const int x = static_cast<int>(point.x - origin.x), y = static_cast<int>(point.y - origin.y);
        if (x < 0 || y < 0 || x >= static_cast<int>(image.getSize().x) || y >= static_cast<int>(image.getSize().y))
            return sf::Color::Black;
        const sf::Color c = image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
        return sf::Color(static_cast<sf::Uint8>(c.r * c.a / 255), static_cast<sf::Uint8>(c.g * c.a / 255),
                         static_cast<sf::Uint8>(c.b * c.a / 255));
    }
    sf::Color texel(Picture picture, DesignPoint point) const
    {
        return texel(pictures.texture(picture), pictureInfo(picture).position, point);
    }

    // A fresh gem at the top of an empty board, where it can still fall, so pause is accepted.
    void holdGemMidAir(int column = 3)
    {
        GameSession& g = app.session();
        g.game.board = Board{};
        g.game.fallingGem = FallingGem{};
        g.game.fallingGem.column = column;
        g.carried.fallingGem.fallClock.restart(now);
    }
    // A column filled from row 1 down: the next landing there is in row 0.
    void fillColumnButTop(int column)
    {
        holdGemMidAir(column);
        for (int row = 1; row < BoardRows; ++row)
            app.session().game.board[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = 1;
    }

    void reachMenu()
    {
        press(sf::Keyboard::Space);
        run(2.35);
    }
    void reachPlaying()
    {
        reachMenu();
        startGame();
    }
    // From a menu whose buttons are drawn.
    void startGame()
    {
        clickAt(centreOf(Picture::StartGameButton));
        frame();
        moveTo({10.f, 10.f}); // the press stops being the last event
        run(1.1);
        ASSERT_EQ(app.screen(), ScreenState::Playing);
    }

    DesignScale scale;
    PictureAssets& pictures;
    Renderer renderer;
    AudioRecorder audio;
    RandomGenerator generator{7};
    std::string bestScorePath;
    GameApp app;
    Micros now = 0;
    sf::Vector2i mouse;                // window pixels
    std::set<sf::Keyboard::Key> held; // keys held down now
    sf::RenderTexture target;
};

// `top` blended over an opaque `base`, as the renderer blends.
inline sf::Color over(sf::Color top, sf::Color base)
{
    const auto mix = [&](sf::Uint8 t, sf::Uint8 b) { return static_cast<sf::Uint8>((t * top.a + b * (255 - top.a)) / 255); };
    return sf::Color(mix(top.r, base.r), mix(top.g, base.g), mix(top.b, base.b));
}

inline bool near(sf::Color a, sf::Color b, int tolerance = 6)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// The real frame loop on the harness's manual clock: commands wait in a queue for their moment, the loop's
// sleep moves the clock on, and each picture it shows is counted.
struct PacedLoop
{
    explicit PacedLoop(AppHarness& harness, Micros bound = 50000, Micros refresh = 16667) :
    h(harness),
    loop(port(), pacing(bound, refresh))
    {
    }

    static Pacing pacing(Micros bound, Micros refresh)
    {
        Pacing p;
        p.bound = bound; // long, so that a step the loop does not wake for comes visibly late
        p.refresh = refresh;
        return p;
    }
    LoopPort port()
    {
        LoopPort p;
        p.now = [this] { return h.now; };
        p.poll = [this](Command& command) {
            if (queue.empty() || queue.front().first > h.now)
                return false;
            command = queue.front().second;
            command.spaceHeld = h.held.count(sf::Keyboard::Space) > 0;
            queue.pop_front();
            return true;
        };
        p.input = [this](const GameApp& game) {
            frameAt = h.now;
            return readFrameInput(game, h.mouse, [this](sf::Keyboard::Key key) { return h.held.count(key) > 0; });
        };
        p.show = [this](const Scene&) { ++shown; };
        p.exposed = [] { return false; };
        p.cursor = [](bool) {};
        p.close = [] {};
        p.sleepUntil = [this](Micros until) { h.now = std::max(h.now, until); };
        return p;
    }

    // A command the window delivers at `at`.
    void post(Micros at, Command command) { queue.emplace_back(at, command); }

    // Passes until `done` holds after one, or the clock reaches `until`: the moment of the frame after which it
    // held, else Never. A loop that passes again and again at one moment fails.
    template <typename Done>
    Micros runUntil(Micros until, Done done)
    {
        for (int still = 0; h.now < until;)
        {
            const Micros before = h.now;
            loop.pass(h.app);
            if (done())
                return frameAt;
            still = h.now == before ? still + 1 : 0;
            EXPECT_LT(still, 100) << "the loop spins at " << h.now << " µs";
            if (still >= 100)
                return Never;
            h.now += still > 0; // the real clock moves on between passes
        }
        return Never;
    }
    void run(double seconds)
    {
        runUntil(h.now + microsFromSeconds(seconds), [] { return false; });
    }

    AppHarness& h;
    std::deque<std::pair<Micros, Command>> queue;
    long shown = 0;   // pictures shown
    Micros frameAt = 0; // when the last frame ran
    FrameLoop loop;
};
