#include "app/Replay.hpp"

#include <array>
#include <sstream>
#include <utility>

namespace
{
const std::array<std::pair<const char*, sf::Keyboard::Key>, 11> keyNames = {{
    {"Space", sf::Keyboard::Space}, {"Enter", sf::Keyboard::Enter}, {"Escape", sf::Keyboard::Escape},
    {"B", sf::Keyboard::B}, {"M", sf::Keyboard::M}, {"S", sf::Keyboard::S}, {"P", sf::Keyboard::P},
    {"Left", sf::Keyboard::Left}, {"Right", sf::Keyboard::Right}, {"Up", sf::Keyboard::Up},
    {"Down", sf::Keyboard::Down}}};

// The keys a script may hold: Space drops gems, the others wait for their release.
bool holdable(sf::Keyboard::Key key)
{
    return key == sf::Keyboard::Space || key == sf::Keyboard::Enter || key == sf::Keyboard::Escape ||
           key == sf::Keyboard::M || key == sf::Keyboard::S || key == sf::Keyboard::P;
}

const char* screenName(ScreenState screen)
{
    switch (screen)
    {
        case ScreenState::Title: return "Title";
        case ScreenState::Menu: return "Menu";
        case ScreenState::Playing: return "Playing";
        case ScreenState::End: return "End";
    }
    return "?";
}
} // namespace

sf::Keyboard::Key replayKey(const std::string& name)
{
    for (const auto& [text, key] : keyNames)
        if (name == text)
            return key;
    return sf::Keyboard::Unknown;
}

GameApp& Replay::app()
{
    if (!m_app)
    {
        m_generator = std::make_unique<RandomGenerator>(m_seed);
        AppContext context;
        context.random = std::ref(*m_generator);
        context.hitboxes = hitboxesFromFiles(computeDesignScale(m_width, m_height));
        m_app = std::make_unique<GameApp>(std::move(context));
        m_app->start(m_now, m_mouse);
    }
    return *m_app;
}

bool Replay::apply(const std::string& line, std::string& error)
{
    std::istringstream in(line.substr(0, line.find('#')));
    std::string word, name;
    if (!(in >> word))
        return true;

    Command command;
    bool sent = false;
    if (word == "seed" || word == "screen")
    {
        if (m_app)
            return error = word + " after the first input", false;
        const bool read = word == "seed" ? static_cast<bool>(in >> m_seed) : static_cast<bool>(in >> m_width >> m_height);
        if (!read || m_width == 0 || m_height == 0)
            return error = "bad " + word, false;
    }
    else if (word == "frame")
    {
        double seconds = 0.0;
        int count = 1;
        if (in >> seconds >> name)
            std::istringstream(name) >> count;
        if (!(seconds >= 0.0 && seconds <= 60.0) || count < 1 || count > 1000000)
            return error = "bad frame", false;
        for (int i = 0; i < count; ++i)
        {
            m_now += microsFromSeconds(seconds);
            app().tick(readFrameInput(app(), m_mouse, [this](sf::Keyboard::Key key) { return m_held.count(key) > 0; }),
                       m_now);
        }
    }
    else if (word == "key")
    {
        in >> name;
        command = {CommandKind::KeyPress, replayKey(name), {}, false};
        if (command.key == sf::Keyboard::Unknown)
            return error = "unknown key " + name, false;
        sent = true;
    }
    else if (word == "click" || word == "mouse")
    {
        if (!(in >> m_mouse.x >> m_mouse.y))
            return error = "bad " + word, false;
        command.kind = word == "click" ? CommandKind::LeftClick : CommandKind::Other;
        command.position = m_mouse;
        sent = true;
    }
    else if (word == "focus")
    {
        in >> name;
        if (name != "lost" && name != "gained")
            return error = "focus needs lost or gained", false;
        command.kind = name == "lost" ? CommandKind::FocusLost : CommandKind::FocusGained;
        sent = true;
    }
    else if (word == "hold")
    {
        std::string state;
        in >> name >> state;
        if (state != "on" && state != "off")
            return error = "hold needs on or off", false;
        const sf::Keyboard::Key key = replayKey(name);
        if (!holdable(key))
            return error = "cannot hold " + name, false;
        if (state == "on")
            m_held.insert(key);
        else
            m_held.erase(key);
    }
    else
        return error = "unknown step " + word, false;

    if (sent)
    {
        command.spaceHeld = m_held.count(sf::Keyboard::Space) > 0;
        app().respond(command, m_now);
    }
    return true;
}

std::string Replay::dump() const
{
    std::ostringstream out;
    if (!m_app)
        return "not started\n";
    const GameSession& g = m_app->session();
    out << "screen " << screenName(m_app->screen()) << " at " << static_cast<double>(m_now) / 1e6 << " s, level "
        << g.game.level << ", " << g.game.secondsLeft << " s left, score " << g.game.score << ", best " << g.kept.bestScore
        << ", patterns " << g.game.patternsCompleted << (g.game.overflowEnding ? ", overflow" : "")
        << (m_app->closeRequested() ? ", closed" : "") << '\n'
        << boardPicture(g);
    return out.str();
}
