#include "HudTestSupport.hpp"

// An ending by the falling gem's column full to row 0, or by level 60 run out.
struct EndingRun
{
    EndingRun(bool overflow, int level) : step(overflow ? overflowEndingStep : timeOutEndingStep)
    {
        session.gameReady = true;
        session.level = level;
        session.board[0][0] = session.board[1][0] = overflow ? 1 : 0; // the falling gem's column
    }
    void frameAt(double t) { step(session, microsFromSeconds(t), audio.port(), screen); }
    void endAt(double t) { updateEndScreen(session, microsFromSeconds(t), audio.port(), leave, screen, end, hud); }

    decltype(&overflowEndingStep) step;
    bool leave = false; // the player asks for the menu
    GameSession session;
    RecordingAudio audio;
    ScreenState screen = ScreenState::Playing;
    EndScreen end;
    HudFields hud;
};

// Closing sound after 1 s, the switch after 6 s, then the end screen for each case.
TEST(Endings, SoundBackgroundPanelLevelsAndScoreOfEachCase)
{
    const Effect Quiet = Effect::Count; // sound and music off
    // The score as the end screen shows it; the levels completed, tens and units, and the places shown.
    // The third case leaves at once, which still fades the background in and restarts the music.
    const struct { bool overflow; int level; const char* score; int best; Effect sound; bool congratulations;
                   ResultPanel panel; const char* levels; const char* shown; bool leave; } cases[] = {
        {true, 11, "001200", 1200, Effect::Applause, true, ResultPanel::BestLost, "10", "10", false},
        {true, 10, "000300", 1200, Effect::Defeat, false, ResultPanel::Lost, "09", "9", false},
        {true, 5, "000000", 0, Effect::Defeat, true, ResultPanel::None, "00", "", true},
        {true, 1, "000300", 1200, Quiet, false, ResultPanel::Lost, "00", "0", false},
        {false, 60, "001200", 1200, Effect::Applause, true, ResultPanel::BestAllLevels, "59", "", false},
        {false, 60, "000300", 1200, Effect::Applause, false, ResultPanel::AllLevels, "59", "", false},
        {false, 60, "000000", 0, Effect::Applause, true, ResultPanel::None, "00", "", false},
        {false, 60, "001200", 1200, Quiet, true, ResultPanel::BestAllLevels, "59", "", false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (c.overflow ? "overflow" : "time-out") << ", score " << c.score);
        EndingRun run(c.overflow, c.level);
        run.session.score = std::stoi(c.score);
        run.session.bestScore = c.best;
        run.session.soundOn = run.session.musicOn = c.sound != Quiet;
        run.frameAt(2.0);
        EXPECT_FALSE(run.session.gameReady);
        run.frameAt(3.0);
        EXPECT_TRUE(run.audio.started.empty());
        run.frameAt(3.001);
        const Effects once = c.sound == Quiet ? Effects{} : Effects{c.sound};
        EXPECT_EQ(run.audio.started, once);

        // A closing sound that ended early starts again while waiting for the switch
        run.audio.playing.clear();
        run.frameAt(8.0);
        EXPECT_EQ(run.audio.started.size(), 2 * once.size());
        EXPECT_EQ(run.screen, ScreenState::Playing);
        run.frameAt(8.000001);
        EXPECT_EQ(run.screen, ScreenState::End);

        // The fade runs from the switch, the panel's wait from the first end-screen frame
        run.leave = c.leave;
        run.endAt(8.5);
        EXPECT_EQ(run.screen, c.leave ? ScreenState::Menu : ScreenState::End);
        run.endAt(11.5);
        EXPECT_EQ(run.end.panel, ResultPanel::None);
        run.endAt(11.51);
        EXPECT_EQ(run.end.panel, c.panel);
        EXPECT_EQ(run.end.congratulations, c.congratulations);
        EXPECT_EQ(run.end.congratulationsAlpha, c.congratulations ? 127 : 255);
        EXPECT_EQ(run.end.gameOverAlpha, c.congratulations ? 0 : 127);
        const Music restart{MusicCommand::Stop, MusicCommand::Stop, MusicCommand::Play}; // once, when wanted
        EXPECT_EQ(run.audio.music, c.sound == Quiet ? Music{MusicCommand::Stop} : restart);

        // Levels completed, shown for a lost game only, and the final score
        const auto shown = [&](bool show, int i) { return show ? std::to_string(run.end.levelDigits[i]) : ""; };
        EXPECT_EQ(shown(true, 0) + shown(true, 1), c.levels);
        EXPECT_EQ(shown(run.end.showLevelTens, 0) + shown(run.end.showLevelUnits, 1), c.shown);
        EXPECT_EQ(run.end.showScore, c.panel != ResultPanel::None);
        if (run.end.showScore)
            expectRow(run.hud.endScore, c.score, {907.f, 829.f}, 16.f, 255);
    }
}

TEST(Endings, PopupStepsHoldTheEndingBack)
{
    EndingRun run(true, 5);
    run.session.board[0][0] = EmptyGem; // the gem's column one short of the top: no ending yet
    run.frameAt(0.0);
    EXPECT_TRUE(run.session.gameReady);

    run.session.board[0][0] = 1;
    run.session.popupPoints = 40;
    run.session.popupStep = 90.f;
    run.frameAt(0.0);

    // Each popup step restarts the shared clock, the last at 0.68 s
    for (double t = 0.5; t < 0.69; t += 0.02)
        stepScorePopup(run.session, run.hud, microsFromSeconds(t));
    run.frameAt(6.68);
    EXPECT_EQ(run.screen, ScreenState::Playing);
    run.frameAt(6.69);
    EXPECT_EQ(run.screen, ScreenState::End);
}
