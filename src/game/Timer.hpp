#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Time is passed in: the frame loop reads one real clock, tests step a manual one.
// Microseconds, as the window library counts them, so readings convert to seconds
// exactly as its clocks do.
using Micros = std::int64_t;

// A moment that never comes: what nothing waits for is due then.
constexpr Micros Never = std::numeric_limits<Micros>::max();

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

    // The first moment at which `seconds(now) >= threshold` holds: when a step compared so is due.
    Micros reaches(float threshold) const
    {
        Micros at = start + static_cast<Micros>(static_cast<double>(threshold) * 1000000.0);
        while (seconds(at) < threshold)
            ++at;
        while (at > start && !(seconds(at - 1) < threshold))
            --at;
        return at;
    }
    // The first moment at which `seconds(now) > threshold` holds.
    Micros passes(float threshold) const
    {
        Micros at = reaches(threshold);
        while (!(seconds(at) > threshold))
            ++at;
        return at;
    }

    bool operator==(const Timer&) const = default;
};

// When something next needs a frame: the first moment a timed step is due, and whether a picture moves on
// its own meanwhile (a fade, the danger pulse), to be shown at every display refresh.
struct Wake
{
    Micros at = Never;
    bool moving = false;

    void soonest(Micros moment) { at = std::min(at, moment); }
    void merge(const Wake& other)
    {
        soonest(other.at);
        moving = moving || other.moving;
    }
};
