#include "hud/NumberDisplay.hpp"

#include "HudTestSupport.hpp"

#include <gtest/gtest.h>

#include <string>

namespace
{
// The digits of the first `count` places, as text.
std::string digitsOf(const DigitField& field, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += static_cast<char>('0' + field.places[static_cast<std::size_t>(i)].digit);
    return text;
}

void expectRow(const DigitField& field, const std::string& digits, DesignPoint origin, float width, std::uint8_t alpha)
{
    const int count = static_cast<int>(digits.size());
    EXPECT_EQ(digitsOf(field, count), digits);
    for (int i = 0; i < DigitFieldCapacity; ++i)
    {
        const DigitPlace& place = field.places[static_cast<std::size_t>(i)];
        if (i < count)
        {
            EXPECT_FLOAT_EQ(place.position.x, origin.x + static_cast<float>(i) * width) << "place " << i;
            EXPECT_FLOAT_EQ(place.position.y, origin.y) << "place " << i;
            EXPECT_EQ(place.alpha, alpha) << "place " << i;
        }
        else
        {
            EXPECT_EQ(place.alpha, 0) << "place " << i;
        }
    }
}
} // namespace


TEST(ShowNumber, PadsWithZerosAndKeepsTheLeadingDigits)
{
    struct Case
    {
        std::uint32_t value;
        int places;
        const char* shown;
    };
    const Case cases[] = {
        {0, 6, "000000"},      {120, 6, "000120"},   {999999, 6, "999999"}, {1234567, 6, "123456"},
        {10000, 4, "1000"},    {800, 3, "800"},      {40, 3, "040"},        {4294967295u, 7, "4294967"},
        {7, 1, "7"},
    };
    for (const Case& c : cases)
    {
        DigitField field;
        showNumber(c.value, field, {10.f, 20.f}, 25.f, c.places, 200);
        SCOPED_TRACE(c.value);
        expectRow(field, c.shown, {10.f, 20.f}, 25.f, 200);
    }
}

TEST(ShowNumber, UnusedPlacesTurnTransparentButKeepTheirDigitAndPosition)
{
    DigitField field;
    showNumber(1234567, field, {0.f, 0.f}, 10.f, 7, 255);
    showNumber(42, field, {100.f, 5.f}, 20.f, 3, 255);

    expectRow(field, "042", {100.f, 5.f}, 20.f, 255);
    for (int i = 3; i < DigitFieldCapacity; ++i)
    {
        const DigitPlace& place = field.places[static_cast<std::size_t>(i)];
        EXPECT_EQ(place.digit, i + 1);
        EXPECT_FLOAT_EQ(place.position.x, 10.f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(place.position.y, 0.f);
    }
}

TEST(HudNumbers, ScoreBestAndPatternsAtTheirPlaces)
{
    GameSession session;
    session.score = 120;
    session.bestScore = 999999;
    session.patternsCompleted = 10000;
    HudFields hud;
    layoutHudNumbers(session, hud);

    expectRow(hud.score, "000120", {497.f, 50.f}, 25.f, 255);
    expectRow(hud.bestScore, "999999", {758.f, 50.f}, 25.f, 255);
    expectRow(hud.patterns, "1000", {1072.f, 50.f}, 25.f, 255);
}

// A scoring frame at t0 with the selector at stop 3.
class ScorePopup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session.selectorStop = 3;
        session.pendingPoints = 800;
        stepScorePopup(session, hud, t0);
        takePendingPoints(session);
    }

    // One frame `seconds` after the previous one.
    void frame(double seconds)
    {
        now += microsFromSeconds(seconds);
        stepScorePopup(session, hud, now);
    }

    const Micros t0 = microsFromSeconds(10.0);
    Micros now = t0;
    GameSession session;
    HudFields hud;
};

TEST_F(ScorePopup, StartsAtTheSelectorWithoutALayout)
{
    EXPECT_EQ(session.popupPoints, 800);
    EXPECT_FLOAT_EQ(session.popupStep, 0.f);
    EXPECT_FLOAT_EQ(session.popupX, 630.f);
    EXPECT_EQ(session.transitionClock.start, t0);
    EXPECT_EQ(hud.popup.places[0].digit, -1);
}

TEST_F(ScorePopup, RisesOneUnitAndFadesPerStep)
{
    frame(0.019);
    EXPECT_FLOAT_EQ(session.popupStep, 0.f);

    frame(0.001);
    EXPECT_FLOAT_EQ(session.popupStep, 1.f);
    expectRow(hud.popup, "800", {630.f, 499.f}, 20.f, 252);

    for (int step = 2; step <= 99; ++step)
        frame(0.02);
    EXPECT_EQ(session.popupPoints, 800);
    expectRow(hud.popup, "800", {630.f, 401.f}, 20.f, 2);

    // Step 100 ends it and leaves the last layout alone
    const DigitField last = hud.popup;
    frame(0.02);
    EXPECT_EQ(session.popupPoints, 0);
    EXPECT_FLOAT_EQ(session.popupStep, 100.f);
    EXPECT_EQ(hud.popup.places[0].alpha, last.places[0].alpha);
    EXPECT_FLOAT_EQ(hud.popup.places[0].position.y, last.places[0].position.y);

    // And no further steps follow
    frame(0.5);
    EXPECT_FLOAT_EQ(session.popupStep, 100.f);
}

TEST_F(ScorePopup, TakesAtMostOneStepPerFrame)
{
    frame(0.3);
    EXPECT_FLOAT_EQ(session.popupStep, 1.f);
    EXPECT_EQ(session.transitionClock.start, now);

    // The overshoot is dropped: the next step needs a full 0.02 s again
    frame(0.019);
    EXPECT_FLOAT_EQ(session.popupStep, 1.f);
}

TEST_F(ScorePopup, NewPointsRestartIt)
{
    for (int step = 1; step <= 10; ++step)
        frame(0.02);
    session.selectorStop = TrashTubeStop;
    session.pendingPoints = 40;
    frame(0.01);
    takePendingPoints(session);

    EXPECT_EQ(session.popupPoints, 40);
    EXPECT_FLOAT_EQ(session.popupStep, 0.f);
    EXPECT_FLOAT_EQ(session.popupX, 1777.f);
    EXPECT_EQ(session.score, 840);

    frame(0.02);
    expectRow(hud.popup, "040", {1777.f, 499.f}, 20.f, 252);
}
