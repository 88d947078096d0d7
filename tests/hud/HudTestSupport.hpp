#pragma once

#include "DesignLayout.hpp"
#include "hud/Endings.hpp"
#include "hud/LevelTimer.hpp"
#include "hud/PlayingHud.hpp"
#include "../support/AudioRecorder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Effects = std::vector<Effect>;
using Music = std::vector<MusicCommand>;

// The row shows `digits` from `origin`, `width` apart, at `alpha`; the places past them are transparent.
inline void expectRow(const DigitField& field, const std::string& digits, DesignPoint origin, float width, int alpha)
{
    for (std::size_t i = 0; i < field.places.size(); ++i)
    {
        const DigitPlace& place = field.places[i];
        const bool used = i < digits.size();
        EXPECT_EQ(place.alpha, used ? alpha : 0) << digits << ", place " << i;
        EXPECT_TRUE(!used || (place.digit == digits[i] - '0' && place.position.y == origin.y &&
                              place.position.x == origin.x + static_cast<float>(i) * width))
            << digits << ", place " << i << ": digit " << place.digit << " at x " << place.position.x;
    }
}
