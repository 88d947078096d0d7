#pragma once

#include <cstdint>

// Time is passed in: the frame loop reads one real clock, tests step a manual one.
// Microseconds, as the window library counts them, so readings convert to seconds
// exactly as its clocks do.
using Micros = std::int64_t;

constexpr Micros microsFromSeconds(double seconds)
{
    return static_cast<Micros>(seconds * 1000000.0 + (seconds >= 0 ? 0.5 : -0.5));
}

// One timed concern: restarted when its step is taken, read against `now`.
struct Timer
{
    Micros start = 0; // moment of the last restart

    void restart(Micros now) { start = now; }

    // Seconds since the last restart, single precision like every threshold in the game.
    float seconds(Micros now) const { return static_cast<float>(now - start) / 1000000.f; }

    bool operator==(const Timer&) const = default;
};
