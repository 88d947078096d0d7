#include "app/Settings.hpp"

#include "platform/SmallFile.hpp"

#include <sstream>

Settings parseSettings(const std::string& text)
{
    Settings settings;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
    {
        std::istringstream words(line);
        std::string name, value;
        if (!(words >> name >> value))
            continue;
        const bool on = value == "on", off = value == "off";
        if (name == "music" && (on || off))
            settings.musicOn = on;
        else if (name == "sound" && (on || off))
            settings.soundOn = on;
        else if (name == "volume" && value.size() <= 2 && value.find_first_not_of("0123456789") == std::string::npos &&
                 std::stoi(value) <= MasterLevels)
            settings.masterLevel = std::stoi(value);
    }
    return settings;
}

std::string formatSettings(const Settings& settings)
{
    return std::string("music ") + (settings.musicOn ? "on" : "off") + "\nsound " + (settings.soundOn ? "on" : "off") +
           "\nvolume " + std::to_string(settings.masterLevel) + "\n";
}

Settings SettingsFile::load()
{
    platform::SmallFile file;
    if (!m_path.empty() && file.open(m_path, false) == platform::FileResult::Done)
        m_kept = parseSettings(file.head());
    m_wanted = m_kept;
    return m_kept;
}

void SettingsFile::keep(const Settings& now, bool closing)
{
    m_wanted = now;
    if (m_path.empty() || m_wanted == m_kept)
        return;
    // Spaces over whatever longer text stood there: a write cut short leaves whole lines, then the cut
    platform::SmallFile file;
    if (file.open(m_path, true) != platform::FileResult::Done)
        return;
    const std::string text = formatSettings(m_wanted), old = file.head();
    const std::string padded = text + std::string(old.size() > text.size() ? old.size() - text.size() : 0, ' ');
    if (file.rewrite(padded, text.size(), closing))
        m_kept = m_wanted;
}
