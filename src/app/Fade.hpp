#pragma once

#include <cstdint>

// Fades of the title, the menu and the end screen take a second.
constexpr float FadeSeconds = 1.f;

// Fade rule: alpha written only during the first second, so a finished fade-in stays just below 255.
inline void fade(std::uint8_t& alpha, float t, bool fadingIn)
{
    if (t < FadeSeconds)
        alpha = static_cast<std::uint8_t>((fadingIn ? t : 1.f - t) * 255.f);
}
