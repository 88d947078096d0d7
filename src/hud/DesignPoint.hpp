#pragma once

// A point of the 1920 x 1080 design space, y downwards; the app scales it to the screen.
struct DesignPoint
{
    float x = 0.f;
    float y = 0.f;

    bool operator==(const DesignPoint&) const = default;
};
