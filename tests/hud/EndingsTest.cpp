#include "hud/Endings.hpp"

#include "HudTestSupport.hpp"

#include <gtest/gtest.h>

namespace
{
enum class Ending
{
    Overflow,
    TimeOut
};

// An ending driven frame by frame; the overflow's column is full to row 0.
struct EndingRun
{
    explicit EndingRun(Ending kind) : kind(kind)
    {
        session.gameReady = true;
        session.fallingGem.column = 4;
        if (kind == Ending::Overflow)
            stackColumn(session, 4, 0);
        else
            session.level = 60, session.secondsLeft = 0;
    }

    void frameAt(double seconds)
    {
        const Micros now = microsFromSeconds(seconds);
        if (kind == Ending::Overflow)
            overflowEndingStep(session, now, audio.port(), screen);
        else
            timeOutEndingStep(session, now, audio.port(), screen);
    }

    Ending kind;
    GameSession session;
    RecordingAudio audio;
    ScreenState screen = ScreenState::Playing;
};
} // namespace


TEST(Endings, ClosingSoundOfEachCase)
{
    struct Case
    {
        const char* name;
        Ending kind;
        int score;
        int best;
        Effect sound;
    };
    const Case cases[] = {
        {"overflow, best game", Ending::Overflow, 1200, 1200, Effect::Applause},
        {"overflow, no points ever", Ending::Overflow, 0, 0, Effect::Defeat},
        {"overflow, below best", Ending::Overflow, 300, 1200, Effect::Defeat},
        {"time-out, below best", Ending::TimeOut, 300, 1200, Effect::Applause},
        {"time-out, no points", Ending::TimeOut, 0, 0, Effect::Applause},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EndingRun run(c.kind);
        run.session.score = c.score;
        run.session.bestScore = c.best;
        run.frameAt(3.0);
        run.frameAt(4.01);
        EXPECT_EQ(run.audio.started, std::vector<Effect>{c.sound});
    }
}

TEST(Endings, SoundAfterOneSecondAndEndScreenAfterSix)
{
    for (Ending kind : {Ending::Overflow, Ending::TimeOut})
    {
        SCOPED_TRACE(kind == Ending::Overflow ? "overflow" : "time-out");
        EndingRun run(kind);
        run.frameAt(2.0);
        EXPECT_FALSE(run.session.gameReady);
        EXPECT_EQ(run.session.transitionClock.start, microsFromSeconds(2.0));
        EXPECT_TRUE(kind == Ending::Overflow ? run.session.overflowEnding : run.session.timeUp);

        run.frameAt(3.0);
        EXPECT_TRUE(run.audio.started.empty());
        run.frameAt(3.001);
        EXPECT_EQ(run.audio.started.size(), 1u);

        // A closing sound that ended early is started again while waiting
        run.audio.playing.clear();
        run.frameAt(8.0);
        EXPECT_EQ(run.audio.started.size(), 2u);
        EXPECT_EQ(run.screen, ScreenState::Playing);

        run.frameAt(8.000001);
        EXPECT_EQ(run.screen, ScreenState::End);
        EXPECT_EQ(run.session.transitionClock.start, microsFromSeconds(8.000001));
        EXPECT_EQ(run.audio.music, std::vector<MusicCommand>{MusicCommand::Stop});
    }
}

TEST(Endings, SoundOffGivesNoClosingSound)
{
    for (Ending kind : {Ending::Overflow, Ending::TimeOut})
    {
        EndingRun run(kind);
        run.session.soundOn = false;
        run.frameAt(0.0);
        run.frameAt(5.0);
        run.frameAt(6.5);
        EXPECT_TRUE(run.audio.started.empty());
        EXPECT_EQ(run.screen, ScreenState::End);
    }
}

TEST(Endings, OverflowWaitsForRowsZeroAndOneOfTheGemsColumn)
{
    EndingRun run(Ending::Overflow);
    run.session.board = Board{};
    stackColumn(run.session, 4, 1);
    stackColumn(run.session, 7, 0); // full, but not the falling gem's column
    run.frameAt(0.0);
    run.frameAt(7.0);
    EXPECT_FALSE(run.session.overflowEnding);
    EXPECT_TRUE(run.session.gameReady);
    EXPECT_TRUE(run.audio.music.empty());
    EXPECT_EQ(run.screen, ScreenState::Playing);
}

TEST(Endings, PopupStepsHoldTheEndingBack)
{
    EndingRun run(Ending::Overflow);
    HudFields hud;
    run.session.popupPoints = 40;
    run.session.popupStep = 90.f;
    run.frameAt(0.0);

    // The popup's steps keep restarting the shared clock until it is over, the last at 0.68 s
    for (int i = 0; i < 10; ++i)
    {
        const double t = 0.5 + 0.02 * i;
        stepScorePopup(run.session, hud, microsFromSeconds(t));
        run.frameAt(t);
    }
    ASSERT_EQ(run.session.popupPoints, 0);
    run.frameAt(1.68);
    EXPECT_TRUE(run.audio.started.empty());
    run.frameAt(1.69);
    EXPECT_EQ(run.audio.started.size(), 1u);
    run.frameAt(6.68);
    EXPECT_EQ(run.screen, ScreenState::Playing);
    run.frameAt(6.69);
    EXPECT_EQ(run.screen, ScreenState::End);
}

// The end screen entered at t = 0 after an overflow at level 5.
class EndScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session.level = 5;
        session.overflowEnding = true;
        session.score = 1200;
        session.bestScore = 1200;
    }

    void frameAt(double seconds, bool leave = false)
    {
        updateEndScreen(session, microsFromSeconds(seconds), audio.port(), leave, screen, end, hud);
    }

    GameSession session;
    RecordingAudio audio;
    ScreenState screen = ScreenState::End;
    EndScreen end;
    HudFields hud;
};

TEST_F(EndScreenTest, FadesInTheBackgroundForTheScore)
{
    session.score = 0;
    session.bestScore = 0;
    frameAt(0.5);
    EXPECT_TRUE(end.congratulations);
    EXPECT_EQ(end.congratulationsAlpha, 127);

    session.score = 300;
    session.bestScore = 1200;
    end.gameOverAlpha = 255;
    frameAt(0.0);
    EXPECT_FALSE(end.congratulations);
    EXPECT_EQ(end.gameOverAlpha, 0);
    frameAt(0.999);
    EXPECT_EQ(end.gameOverAlpha, 254);
    frameAt(1.0);
    EXPECT_EQ(end.gameOverAlpha, 254);
    EXPECT_EQ(end.congratulationsAlpha, 127);
}

TEST_F(EndScreenTest, ResultPanelForEachCase)
{
    struct Case
    {
        int score;
        int best;
        bool timeUp;
        ResultPanel panel;
    };
    const Case cases[] = {
        {1200, 1200, true, ResultPanel::BestAllLevels},
        {1200, 1200, false, ResultPanel::BestLost},
        {300, 1200, true, ResultPanel::AllLevels},
        {300, 1200, false, ResultPanel::Lost},
        {0, 0, false, ResultPanel::None},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.score);
        session = GameSession{};
        session.score = c.score;
        session.bestScore = c.best;
        session.timeUp = c.timeUp;
        frameAt(10.0);
        frameAt(13.0);
        EXPECT_EQ(end.panel, ResultPanel::None);
        EXPECT_FALSE(end.showScore);
        frameAt(13.01);
        EXPECT_EQ(end.panel, c.panel);
        EXPECT_EQ(end.showScore, c.panel != ResultPanel::None);
    }
}

TEST_F(EndScreenTest, LevelsCompletedOnlyForALostGame)
{
    struct Case
    {
        int level;
        bool timeUp;
        bool tens;
        bool units;
        std::array<int, 2> digits;
    };
    const Case cases[] = {
        {1, false, false, true, {0, 0}},
        {10, false, false, true, {0, 9}},
        {11, false, true, true, {1, 0}},
        {60, true, false, false, {5, 9}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.level);
        session.endScreenPrepared = false;
        session.level = c.level;
        session.timeUp = c.timeUp;
        frameAt(0.0);
        frameAt(3.5);
        EXPECT_EQ(end.showLevelTens, c.tens);
        EXPECT_EQ(end.showLevelUnits, c.units);
        if (c.units)
        {
            EXPECT_EQ(end.levelDigits, c.digits);
        }
    }
}

TEST_F(EndScreenTest, FinalScoreLaidOutInTheEndField)
{
    frameAt(0.0);
    frameAt(3.5);
    ASSERT_TRUE(end.showScore);
    for (int i = 0; i < 6; ++i)
    {
        const DigitPlace& place = hud.endScore.places[static_cast<std::size_t>(i)];
        EXPECT_EQ(place.digit, (std::array<int, 6>{0, 0, 1, 2, 0, 0})[static_cast<std::size_t>(i)]);
        EXPECT_FLOAT_EQ(place.position.x, 907.f + 16.f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(place.position.y, 829.f);
        EXPECT_EQ(place.alpha, 255);
    }
    EXPECT_EQ(hud.endScore.places[6].alpha, 0);
}

TEST_F(EndScreenTest, MusicRestartsOnceFromTheBeginningWhenWanted)
{
    frameAt(0.0);
    frameAt(0.5);
    frameAt(4.0);
    EXPECT_EQ(audio.music, (std::vector<MusicCommand>{MusicCommand::Stop, MusicCommand::Play}));

    audio.music.clear();
    session.endMusicRestarted = false;
    session.musicOn = false;
    frameAt(5.0);
    EXPECT_TRUE(audio.music.empty());
}

TEST_F(EndScreenTest, LeavingOnTheFirstFrameStillRestartsTheMusic)
{
    frameAt(0.2, true);
    EXPECT_EQ(screen, ScreenState::Menu);
    EXPECT_EQ(audio.musicCount(MusicCommand::Play), 1);
    EXPECT_EQ(end.congratulationsAlpha, 51);
    EXPECT_EQ(end.panel, ResultPanel::None);
}
