#pragma once

#include <cstdint>
#include <functional>
#include <random>

// Largest value of one random draw; every draw is uniform over 0 to RandomMax.
constexpr int RandomMax = 32767;

// Random is passed in: the game holds one generator, tests script the draws.
// The order of draws is part of the game's behaviour.
using RandomDraw = std::function<int()>;

// The game's one generator, seeded once from the wall clock at start-up.
class RandomGenerator
{
public:
    explicit RandomGenerator(std::uint32_t seed) : m_engine(seed) {}

    // Top 15 bits of a 32-bit Mersenne Twister output: uniform over 0 to 32767.
    int operator()() { return static_cast<int>(m_engine() >> 17); }

private:
    std::mt19937 m_engine;
};
