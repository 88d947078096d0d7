#pragma once

#include "game/Audio.hpp"
#include "game/GameSession.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <set>
#include <vector>

namespace testing_support
{
// Frame time under the test's control; starts away from 0 so restarts are visible.
struct ManualClock
{
    Micros now = 10'000'000;

    Micros advance(double seconds)
    {
        now += microsFromSeconds(seconds);
        return now;
    }
    Micros advanceMicros(Micros micros)
    {
        now += micros;
        return now;
    }
};

// Hands out draws in script order. A draw past the end fails the test, so a
// rule that draws more, or in another order, cannot pass by accident.
class ScriptedRandom
{
public:
    ScriptedRandom(std::initializer_list<int> draws = {}) : m_draws(draws) {}
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    void add(std::initializer_list<int> draws) { m_draws.insert(m_draws.end(), draws); }
    std::size_t remaining() const { return m_draws.size(); }
    RandomDraw& draw() { return m_draw; }

private:
    std::deque<int> m_draws;
    RandomDraw m_draw = [this] {
        if (m_draws.empty())
        {
            ADD_FAILURE() << "random draw past the end of the script";
            return 0;
        }
        const int value = m_draws.front();
        m_draws.pop_front();
        return value;
    };
};

// Records what the rules asked of the audio; `playing` lists the sounds that report Playing.
struct AudioRecorder
{
    std::vector<Effect> started;
    std::vector<MusicCommand> music;
    std::set<Effect> playing;

    AudioPort port()
    {
        return AudioPort{[this](Effect effect) { return playing.count(effect) > 0; },
                         [this](Effect effect) { started.push_back(effect); },
                         [this](MusicCommand command) { music.push_back(command); }};
    }
};

// Stacks codes in a column from row 7 upwards.
inline void stack(Board& board, int column, std::initializer_list<GemCode> bottomUp)
{
    int row = BoardRows - 1;
    for (GemCode code : bottomUp)
        board[row--][column] = code;
}

inline int columnHeight(const Board& board, int column)
{
    int height = 0;
    for (const auto& row : board)
        height += row[column] != EmptyGem;
    return height;
}

// A session as at program start, its falling gem at the top of `column`.
inline GameSession startedSession(Micros now, int column, GemCode code = 1)
{
    GameSession session;
    ScriptedRandom random{column, code - 1};
    startSession(session, random.draw(), now);
    return session;
}
} // namespace testing_support
