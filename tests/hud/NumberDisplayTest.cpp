#include "HudTestSupport.hpp"

TEST(ShowNumber, PadsWithZerosKeepsTheLeadingDigitsAndHidesUnusedPlaces)
{
    const struct { std::uint32_t value; int places; const char* shown; } cases[] = {
        {0, 6, "000000"}, {120, 6, "000120"}, {1234567, 6, "123456"}, {40, 3, "040"}, {4294967295u, 7, "4294967"}};
    for (const auto& c : cases)
    {
        DigitField field; // places start opaque
        showNumber(c.value, field, {10.f, 20.f}, 25.f, c.places, 200);
        expectRow(field, c.shown, {10.f, 20.f}, 25.f, 200);
    }
}

// 800 points at t = 10 s with the selector at x = 630, then frames `seconds` apart.
// No best-score file is kept, which changes nothing on screen.
TEST(PlayingHud, PopupRisesAndFadesOneStepPerFrameWhileScoreAndBestTakeThePoints)
{
    GameSession session;
    HudFields hud;
    Micros now = microsFromSeconds(10.0);
    BestScoreFile none;
    const auto frame = [&](double seconds, int points = 0, float x = 630.f) {
        session.game.pendingPoints = points;
        updatePlayingHud(session, hud, now += microsFromSeconds(seconds), x, none);
    };
    frame(0.0, 800);
    // Each number in its own row of the layout
    expectRow(hud.score, "000800", layout::Score.origin, layout::Score.pitch, 255);
    expectRow(hud.bestScore, "000800", layout::BestScore.origin, layout::BestScore.pitch, 255);
    expectRow(hud.patterns, "0000", layout::Patterns.origin, layout::Patterns.pitch, 255);
    frame(0.019);
    EXPECT_EQ(hud.popup.places[0].digit, -1); // nothing to draw before the first step
    frame(0.001);
    expectRow(hud.popup, "800", {630.f, layout::Popup.origin.y - 1.f}, layout::Popup.pitch, 252);
    frame(0.3); // a long frame takes one step, its overshoot dropped
    frame(0.019);
    EXPECT_FLOAT_EQ(session.game.popupStep, 2.f);
    for (int step = 3; step <= 99; ++step)
        frame(0.02);
    expectRow(hud.popup, "800", {630.f, layout::Popup.origin.y - 99.f}, layout::Popup.pitch, 2);

    // Step 100 ends it without a layout of its own, and no step follows
    frame(0.02);
    frame(0.02);
    expectRow(hud.popup, "800", {630.f, layout::Popup.origin.y - 99.f}, layout::Popup.pitch, 2);

    // Fresh points start it over, even over a running popup
    frame(0.0, 60);
    frame(0.01, 40, 1777.f);
    frame(0.02);
    expectRow(hud.popup, "040", {1777.f, layout::Popup.origin.y - 1.f}, layout::Popup.pitch, 252);
}
