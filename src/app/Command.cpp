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
        case sf::Event::JoystickButtonPressed:
        case sf::Event::JoystickButtonReleased:
            command.kind = CommandKind::PadButton;
            command.pad.pad = event.joystickButton.joystickId;
            command.pad.button = event.joystickButton.button;
            command.pad.down = event.type == sf::Event::JoystickButtonPressed;
            break;
        case sf::Event::JoystickMoved:
            command.kind = CommandKind::PadMoved;
            command.pad.pad = event.joystickMove.joystickId;
            command.pad.axis = event.joystickMove.axis;
            command.pad.position = event.joystickMove.position;
            break;
        case sf::Event::JoystickConnected:
        case sf::Event::JoystickDisconnected:
            command.kind = event.type == sf::Event::JoystickConnected ? CommandKind::PadConnected
                                                                      : CommandKind::PadDisconnected;
            command.pad.pad = event.joystickConnect.joystickId;
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
