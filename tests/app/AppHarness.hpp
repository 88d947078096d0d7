#pragma once

#include "app/Assets.hpp"
#include "app/GameApp.hpp"
#include "../support/AudioRecorder.hpp"

#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <memory>
#include <set>
#include <string>

// Pictures are loaded once per size and test program: they are large and never change.
inline PictureAssets& sharedPictures(const DesignScale& scale)
{
    static std::unique_ptr<PictureAssets> pictures;
    if (!pictures || pictures->scale.x != scale.x || pictures->scale.y != scale.y)
    {
        pictures = std::make_unique<PictureAssets>();
        pictures->loadPictures(scale);
        pictures->loadGems();
    }
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
    highScorePath(std::move(bestScoreFile)),
    app(context())
    {
        target.create(width, height);
        app.start(now, mouse);
    }
    ~AppHarness()
    {
        app.bestScoreFile().flush();
        std::remove(highScorePath.c_str());
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
        c.bestScoreFile = BestScoreFile(highScorePath);
        c.hitboxes = pictures.hitboxes();
        return c;
    }

    // The frame's phases after the events, then its picture; false when it ended early or was not drawn.
    bool frame(double seconds = 0.001, bool draw = true)
    {
        now += microsFromSeconds(seconds);
        if (!app.tick(readFrameInput(app, mouse, [this](sf::Keyboard::Key key) { return held.count(key) > 0; }), now) ||
            !draw)
            return false;
        target.clear(sf::Color::Black);
        app.draw(target, pictures);
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

    // The window given another size: the commands' pixels follow it (the shared pictures do not).
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
        const sf::FloatRect r = pictures.sprite(picture).getGlobalBounds();
        return {(r.left + r.width / 2.f) / pictures.scale.x, (r.top + r.height / 2.f) / pictures.scale.y};
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
    AudioRecorder audio;
    RandomGenerator generator{7};
    std::string highScorePath;
    GameApp app;
    Micros now = 0;
    sf::Vector2i mouse;                // window pixels
    std::set<sf::Keyboard::Key> held; // keys held down now
    sf::RenderTexture target;
};

inline bool near(sf::Color a, sf::Color b, int tolerance = 6)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}
