#include "app/Command.hpp"

Command commandFromEvent(const sf::Event& event, bool spaceHeld)
{
    Command command;
    command.spaceHeld = spaceHeld;
    switch (event.type)
    {
        case sf::Event::Closed:
            command.kind = CommandKind::Close;
            break;
        case sf::Event::KeyPressed:
            command.kind = CommandKind::KeyPress;
            command.key = event.key.code;
            break;
        case sf::Event::MouseButtonPressed:
            if (event.mouseButton.button == sf::Mouse::Left)
            {
                command.kind = CommandKind::LeftClick;
                command.position = {event.mouseButton.x, event.mouseButton.y};
            }
            break;
        case sf::Event::LostFocus:
            command.kind = CommandKind::FocusLost;
            break;
        case sf::Event::GainedFocus:
            command.kind = CommandKind::FocusGained;
            break;
        case sf::Event::Resized:
            command.kind = CommandKind::Resized;
            command.position = {static_cast<int>(event.size.width), static_cast<int>(event.size.height)};
            break;
        default:
            break;
    }
    return command;
}
