#pragma once

#include "app/GameApp.hpp"

#include <functional>
#include <vector>

// The window's side of the frame loop, as plain functions: the game's window binds them to itself, tests to a
// manual clock and a queue of commands, so both run the same loop.
struct LoopPort
{
    std::function<Micros()> now;                     // the one clock
    std::function<bool(Command&)> poll;              // the next waiting command; false once none waits
    std::function<FrameInput(const GameApp&)> input; // the frame's real-time state
    std::function<void(const Scene&)> show;          // clears, draws the scene and displays it
    std::function<bool()> exposed;                   // the picture was lost (uncovered, resized): draw it again
    std::function<void(bool)> cursor;                // the pointer shown or hidden
    std::function<void()> close;                     // the window closes
    std::function<void(Micros)> sleepUntil;          // returns at that moment, or soon after
};

// How the loop spends its time between frames.
struct Pacing
{
    Micros refresh = 16667;   // one display refresh, µs: no picture is shown more often
    Micros bound = 2000;      // the longest sleep, µs: input is read at least this often
    bool unthrottled = false; // every pass runs a frame and draws it, as fast as the machine allows (benchmarks)
};

// The phases of the game's loop: the commands that came, a frame (cursor, update, latches) when one came or
// something is due, its picture when it differs from the one shown, then sleep until the next thing is due.
class FrameLoop
{
public:
    FrameLoop(LoopPort port, Pacing pacing) : m_port(std::move(port)), m_pacing(pacing) {}

    // One pass of the loop.
    void pass(GameApp& game);
    // A command of the program's own, handled in the next pass as if the window had sent it.
    void send(const Command& command) { m_sent.push_back(command); }

    Micros now() const { return m_port.now(); }
    long frames() const { return m_frames; } // frames run so far
    long draws() const { return m_draws; }   // pictures shown so far

private:
    // The frame's phases; false when the game froze and the frame ends without a picture.
    bool frame(GameApp& game, Micros now);

    LoopPort m_port;
    Pacing m_pacing;
    std::vector<Command> m_sent;    // by `send`, handled before the window's own
    Scene m_shown;                  // the picture on screen
    Scene m_next;                   // the picture the last frame described
    bool m_lost = true;             // the window's picture is gone (or was never drawn): draw it again
    bool m_cursorShown = false;     // hidden at start-up
    Micros m_nextFrame = 0;         // when the next frame is due without a command
    Micros m_lastFrame = 0;         // when the last frame ran
    Micros m_lastDraw = -(1 << 30); // when the last picture was shown
    long m_frames = 0;
    long m_draws = 0;
};
