#include "app/FrameLoop.hpp"

#include <algorithm>

void FrameLoop::pass(GameApp& game)
{
    bool commandsCame = false;
    const auto respond = [&](const Command& command) {
        game.respond(command, m_port.now());
        commandsCame = true;
        if (game.closeRequested())
            m_port.close();
    };
    for (const Command& command : m_sent)
        respond(command);
    m_sent.clear();
    Command command;
    while (m_port.poll(command))
        respond(command);

    const Micros now = m_port.now();
    if (m_pacing.unthrottled || commandsCame || now >= m_nextFrame)
        frame(game, now);
    m_lost = m_port.exposed() || m_lost;
    const bool pending = m_pacing.unthrottled || m_lost || !(m_next == m_shown);

    // Never more often than the display refreshes
    if (pending && (m_pacing.unthrottled || now >= m_lastDraw + m_pacing.refresh))
    {
        m_port.show(m_next);
        m_shown = m_next;
        m_lost = false;
        m_lastDraw = now;
        ++m_draws;
    }
    if (m_pacing.unthrottled)
        return;

    // Asleep until the next step of a rule, the next refresh while something moves or a picture waits, and
    // never so long that input waits
    const Wake due = game.due(now);
    m_nextFrame = due.moving ? std::min(due.at, m_lastFrame + m_pacing.refresh) : due.at;
    Micros wake = std::min(m_nextFrame, now + m_pacing.bound);
    if (m_lost || !(m_next == m_shown))
        wake = std::min(wake, m_lastDraw + m_pacing.refresh);
    if (wake > now)
        m_port.sleepUntil(wake);
}

bool FrameLoop::frame(GameApp& game, Micros now)
{
    ++m_frames;
    m_lastFrame = now;
    const bool drawn = game.tick(m_port.input(game), now);
    if (game.cursorVisible() != m_cursorShown)
    {
        m_cursorShown = game.cursorVisible();
        m_port.cursor(m_cursorShown);
    }
    if (!drawn)
        return false; // the game froze: this frame ends without a picture
    if (game.closeRequested())
        m_port.close();

    m_next.clear();
    game.describe(m_next);
    return true;
}
