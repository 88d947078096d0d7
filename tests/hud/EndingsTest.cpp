#include "HudTestSupport.hpp"

#include "game/Animations.hpp"
#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"

// An ending by the falling gem's column full to row 0, or by level 60 run out.
struct EndingRun
{
    EndingRun(bool overflow, int level) : step(overflow ? overflowEndingStep : timeOutEndingStep)
    {
        session.game.gameReady = true;
        session.game.level = level;
        session.game.board[0][0] = session.game.board[1][0] = overflow ? 1 : 0; // the falling gem's column
    }
    bool frameAt(double t) { return step(session, microsFromSeconds(t), audio.port) == EndingReport::EndScreenDue; }
    void endAt(double t) { updateEndScreen(session, microsFromSeconds(t), audio.port, end, hud.endScore); }

    decltype(&overflowEndingStep) step;
    GameSession session;
    AudioRecorder audio;
    EndDisplay end;
    HudFields hud;
};

// Closing sound after 1 s, the switch after 6 s, then the end screen for each case.
TEST(Endings, SoundBackgroundPanelLevelsAndScoreOfEachCase)
{
    const Effect Quiet = Effect::Count; // sound and music off
    // The score as the end screen shows it; the levels completed, tens and units, and the places shown.
    const struct { bool overflow; int level; const char* score; int best; Effect sound; bool congratulations;
                   ResultPanel panel; const char* levels; const char* shown; } cases[] = {
        {true, 11, "001200", 1200, Effect::Applause, true, ResultPanel::BestLost, "10", "10"},
        {true, 10, "000300", 1200, Effect::Defeat, false, ResultPanel::Lost, "09", "9"},
        {true, 5, "000000", 0, Effect::Defeat, true, ResultPanel::None, "00", ""},
        {true, 1, "000300", 1200, Quiet, false, ResultPanel::Lost, "00", "0"},
        {false, 60, "001200", 1200, Effect::Applause, true, ResultPanel::BestAllLevels, "59", ""},
        {false, 60, "000300", 1200, Effect::Applause, false, ResultPanel::AllLevels, "59", ""},
        {false, 60, "000000", 0, Effect::Applause, true, ResultPanel::None, "00", ""},
        {false, 60, "001200", 1200, Quiet, true, ResultPanel::BestAllLevels, "59", ""}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (c.overflow ? "overflow" : "time-out") << ", score " << c.score);
        EndingRun run(c.overflow, c.level);
        run.session.game.score = std::stoi(c.score);
        run.session.kept.bestScore = c.best;
        run.session.kept.soundOn = run.session.kept.musicOn = c.sound != Quiet;
        run.frameAt(2.0);
        EXPECT_FALSE(run.session.game.gameReady);
        run.frameAt(3.0);
        EXPECT_TRUE(run.audio.started.empty());
        run.frameAt(3.001);
        const Effects once = c.sound == Quiet ? Effects{} : Effects{c.sound};
        EXPECT_EQ(run.audio.started, once);

        // A closing sound that ended early starts again while waiting for the switch
        run.audio.playing.clear();
        EXPECT_FALSE(run.frameAt(8.0));
        EXPECT_EQ(run.audio.started.size(), 2 * once.size());
        EXPECT_TRUE(run.frameAt(8.000001));

        // The switch frame shows this game's background, faded out; the panel waits 3 s from it
        run.end.panel = ResultPanel::Lost; // as a previous game left it
        beginEndScreen(run.session, microsFromSeconds(8.000001), run.end);
        EXPECT_EQ(std::tuple(run.end.panel, run.end.congratulations), std::tuple(ResultPanel::None, c.congratulations));
        EXPECT_EQ(c.congratulations ? run.end.congratulationsAlpha : run.end.gameOverAlpha, 0);
        run.endAt(8.5);
        run.endAt(11.000001);
        EXPECT_EQ(run.end.panel, ResultPanel::None);
        run.endAt(11.01);
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
            expectRow(run.hud.endScore, c.score, layout::EndScore.origin, layout::EndScore.pitch, 255);
    }
}

TEST(Endings, PopupStepsHoldTheEndingBack)
{
    EndingRun run(true, 5);
    run.session.game.board[0][0] = EmptyGem; // the gem's column one short of the top: no ending yet
    run.frameAt(0.0);
    EXPECT_TRUE(run.session.game.gameReady);

    run.session.game.board[0][0] = 1;
    run.session.game.popupPoints = 40;
    run.session.game.popupStep = 90.f;
    run.frameAt(0.0);

    // Each popup step restarts the shared clock, the last at 0.68 s
    for (double t = 0.5; t < 0.69; t += 0.02)
        stepScorePopup(run.session, run.hud, microsFromSeconds(t), 0.f);
    EXPECT_FALSE(run.frameAt(6.68));
    EXPECT_TRUE(run.frameAt(6.69));
}

// The ending that began first holds: a won game whose last level ran out cannot
// be lost by a column filling up, nor a lost game be applauded by its time running out.
TEST(Endings, TheFirstEndingHolds)
{
    EndingRun won(true, 60);
    won.session.game.timeUp = true;
    for (double t : {0.0, 2.0, 7.0})
        EXPECT_FALSE(won.frameAt(t));
    EXPECT_FALSE(won.session.game.overflowEnding);

    EndingRun lost(true, 60);
    lost.session.game.secondsLeft = 1;
    lost.frameAt(0.0);
    levelTick(lost.session, microsFromSeconds(1.0), lost.audio.port);
    levelTick(lost.session, microsFromSeconds(2.0), lost.audio.port);
    EXPECT_EQ(std::tuple(lost.session.game.overflowEnding, lost.session.game.timeUp, lost.session.game.secondsLeft),
              std::tuple(true, false, 0));
}
