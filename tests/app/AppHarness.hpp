#pragma once

#include "app/Assets.hpp"
#include "app/GameApp.hpp"

#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

// Pictures are loaded once per test program: they are large and never change.
inline PictureAssets& sharedPictures(const DesignScale& scale)
{
    static std::unique_ptr<PictureAssets> pictures;
    static DesignScale loadedScale{0.f, 0.f};
    if (!pictures || loadedScale.x != scale.x || loadedScale.y != scale.y)
    {
        pictures = std::make_unique<PictureAssets>();
        pictures->loadPictures(scale);
        pictures->loadGems(scale);
        loadedScale = scale;
    }
    return *pictures;
}

// Effects and music requests as the app makes them; effects "play" until told otherwise.
struct RecordingAudio
{
    std::vector<Effect> started;
    std::vector<MusicCommand> music;
    bool effectsStillPlaying = false; // every started effect counts as playing

    AudioPort port()
    {
        AudioPort port;
        port.isPlaying = [this](Effect e) {
            if (!effectsStillPlaying)
                return false;
            for (Effect s : started)
                if (s == e)
                    return true;
            return false;
        };
        port.start = [this](Effect e) { started.push_back(e); };
        port.music = [this](MusicCommand c) { music.push_back(c); };
        return port;
    }
};

// The real app layer with a manual clock, made-up input and an off-screen target.
class AppHarness
{
public:
    explicit AppHarness(unsigned width = 1920, unsigned height = 1080, std::string bestScoreFile = makeHighScorePath()) :
    scale(computeDesignScale(width, height)),
    pictures(sharedPictures(scale)),
    generator(7),
    highScorePath(std::move(bestScoreFile)),
    app(pictures, audio.port(), scale, std::ref(generator), highScorePath)
    {
        target.create(width, height);
        app.start(now, input.mouse);
    }

    ~AppHarness()
    {
        if (!keepHighScoreFile)
            std::remove(highScorePath.c_str());
    }

    // Advances the manual clock and runs the frame's phases after the events.
    void frame(double seconds = 0.001, bool draw = true)
    {
        now += microsFromSeconds(seconds);
        app.updateCursor(input, now);
        if (!app.update(input, now))
            return;
        app.releaseLatches(input);
        if (!draw)
            return;
        target.clear(sf::Color::Black);
        app.draw(target);
        target.display();
    }

    // Runs frames of `step` seconds until `seconds` have passed; only the last is drawn.
    void run(double seconds, double step = 0.01)
    {
        const int frames = static_cast<int>(seconds / step + 0.5);
        for (int i = 1; i <= frames; ++i)
            frame(step, i == frames);
    }

    void event(const sf::Event& e) { app.handleEvent(e, input, now); }

    void press(sf::Keyboard::Key key)
    {
        sf::Event e;
        e.type = sf::Event::KeyPressed;
        e.key = {key, false, false, false, false};
        event(e);
    }

    void release(sf::Keyboard::Key key)
    {
        sf::Event e;
        e.type = sf::Event::KeyReleased;
        e.key = {key, false, false, false, false};
        event(e);
    }

    // Moves the mouse to a design point and presses the left button there.
    void clickAt(DesignPoint point)
    {
        moveTo(point);
        sf::Event e;
        e.type = sf::Event::MouseButtonPressed;
        e.mouseButton = {sf::Mouse::Left, input.mouse.x, input.mouse.y};
        event(e);
    }

    void moveTo(DesignPoint point)
    {
        const sf::Vector2f p = scale.apply(point);
        input.mouse = {static_cast<int>(p.x), static_cast<int>(p.y)};
        sf::Event e;
        e.type = sf::Event::MouseMoved;
        e.mouseMove = {input.mouse.x, input.mouse.y};
        event(e);
    }

    // Centre of a picture's sprite, in design units.
    DesignPoint centreOf(Picture picture) const
    {
        const sf::FloatRect bounds = pictures.sprite(picture).getGlobalBounds();
        return {(bounds.left + bounds.width / 2.f) / scale.x, (bounds.top + bounds.height / 2.f) / scale.y};
    }

    sf::Color pixelAt(DesignPoint point)
    {
        const sf::Vector2f p = scale.apply(point);
        return target.getTexture().copyToImage().getPixel(static_cast<unsigned>(p.x), static_cast<unsigned>(p.y));
    }

    // From the title to the menu with its buttons shown.
    void reachMenu()
    {
        press(sf::Keyboard::Space);
        run(1.05);
        run(1.3);
    }

    // From the title to a prepared game on the playing screen.
    void reachPlaying()
    {
        reachMenu();
        clickAt(centreOf(Picture::StartGameButton));
        frame();
        moveTo({10.f, 10.f}); // the press stops being the last event
        run(1.1);
        ASSERT_EQ(app.screens().screen, ScreenState::Playing);
    }

    DesignScale scale;
    PictureAssets& pictures;
    RecordingAudio audio;
    RandomGenerator generator;
    std::string highScorePath;
    GameApp app;
    Micros now = 0;
    InputState input;
    sf::RenderTexture target;
    bool keepHighScoreFile = false;

    static std::string makeHighScorePath()
    {
        char name[] = "/tmp/glimmora-best-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        std::remove(name);
        return name;
    }
};

// Colour of a picture's own pixel at a design point, as drawn over black with `alpha`.
inline sf::Color expectedPixel(const sf::Texture& texture, DesignPoint origin, DesignPoint point, std::uint8_t alpha = 255)
{
    const sf::Image image = texture.copyToImage();
    const int x = static_cast<int>(point.x - origin.x), y = static_cast<int>(point.y - origin.y);
    if (x < 0 || y < 0 || x >= static_cast<int>(image.getSize().x) || y >= static_cast<int>(image.getSize().y))
        return sf::Color::Black; // outside the picture, or a picture that failed to load
    const sf::Color c = image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
    const unsigned a = c.a * alpha / 255u;
    return sf::Color(static_cast<sf::Uint8>(c.r * a / 255u), static_cast<sf::Uint8>(c.g * a / 255u),
                     static_cast<sf::Uint8>(c.b * a / 255u));
}

inline bool near(sf::Color a, sf::Color b, int tolerance = 6)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}
