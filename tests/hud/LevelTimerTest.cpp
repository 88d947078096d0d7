#include "hud/LevelTimer.hpp"

#include "hud/NumberDisplay.hpp"

#include "HudTestSupport.hpp"

#include <gtest/gtest.h>

TEST(TimeAndLevelDigits, ReadAsMinutesSecondsAndTwoPlaces)
{
    EXPECT_EQ(timeDigits(60), (std::array<int, 4>{0, 1, 0, 0}));
    EXPECT_EQ(timeDigits(59), (std::array<int, 4>{0, 0, 5, 9}));
    EXPECT_EQ(timeDigits(1), (std::array<int, 4>{0, 0, 0, 1}));
    EXPECT_EQ(timeDigits(0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(levelDigits(1), (std::array<int, 2>{0, 1}));
    EXPECT_EQ(levelDigits(9), (std::array<int, 2>{0, 9}));
    EXPECT_EQ(levelDigits(10), (std::array<int, 2>{1, 0}));
    EXPECT_EQ(levelDigits(60), (std::array<int, 2>{6, 0}));
}

TEST(LevelBlink, QuarterSecondsForOneAndAHalfSecondsThenSteady)
{
    GameSession session;
    session.levelBlinking = true;
    session.levelBlinkClock.restart(0);

    const struct
    {
        double t;
        int alpha;
    } frames[] = {{0.0, 255}, {0.24, 255}, {0.25, 0}, {0.49, 0}, {0.5, 255}, {0.75, 0},
                  {1.0, 255}, {1.25, 0},   {1.49, 0}};
    for (const auto& f : frames)
    {
        EXPECT_EQ(levelDisplayOpacity(session, microsFromSeconds(f.t)), f.alpha) << "t = " << f.t;
        EXPECT_TRUE(session.levelBlinking);
    }

    EXPECT_EQ(levelDisplayOpacity(session, microsFromSeconds(1.5)), 255);
    EXPECT_FALSE(session.levelBlinking);
    EXPECT_EQ(levelDisplayOpacity(session, microsFromSeconds(1.75)), 255);
}

// A game of play, ticked frame by frame from t = 0.
class LevelTimer : public ::testing::Test
{
protected:
    void frameAt(double seconds)
    {
        now = microsFromSeconds(seconds);
        levelTick(session, now, audio.port(), screen);
    }

    // Frames at every whole second from now on, `count` of them.
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            now += microsFromSeconds(1.0);
            levelTick(session, now, audio.port(), screen);
        }
    }

    GameSession session;
    RecordingAudio audio;
    ScreenState screen = ScreenState::Playing;
    Micros now = 0;
};

TEST_F(LevelTimer, FirstLevelUpComesOnTheSixtiethTick)
{
    frameAt(0.999);
    EXPECT_EQ(session.secondsLeft, 60);

    ticks(59);
    EXPECT_EQ(session.level, 1);
    EXPECT_EQ(timeDigits(session.secondsLeft), (std::array<int, 4>{0, 0, 0, 1}));
    EXPECT_FALSE(session.levelBlinking);

    ticks(1);
    EXPECT_EQ(session.level, 2);
    EXPECT_EQ(timeDigits(session.secondsLeft), (std::array<int, 4>{0, 1, 0, 0}));
    EXPECT_TRUE(session.levelBlinking);
    EXPECT_EQ(session.levelBlinkClock.start, now);
    EXPECT_EQ(session.kindSpan, 2);
    EXPECT_EQ(audio.started, std::vector<Effect>{Effect::LevelUp});
}

TEST_F(LevelTimer, TicksAtLeastASecondApartWithoutCarryingTheOvershoot)
{
    frameAt(1.7);
    frameAt(2.6);
    EXPECT_EQ(session.secondsLeft, 59);
    frameAt(2.7);
    EXPECT_EQ(session.secondsLeft, 58);
}

TEST_F(LevelTimer, NoTickWhilePausedAndOneOnTheFirstFrameAfterResuming)
{
    frameAt(0.3);
    session.paused = true;
    for (double t : {1.0, 2.0, 3.5, 5.29})
        frameAt(t);
    EXPECT_EQ(session.secondsLeft, 60);

    session.paused = false;
    frameAt(5.31);
    EXPECT_EQ(session.secondsLeft, 59);
    frameAt(6.0);
    EXPECT_EQ(session.secondsLeft, 59);
}

TEST_F(LevelTimer, TenthLevelFanfareGivesTheFallingGemTheNewKind)
{
    struct Case
    {
        const char* name;
        bool soundOn;
        bool alreadyPlaying;
        int fanfares;
        GemCode code;
    };
    const Case cases[] = {
        {"sound on", true, false, 1, 4},
        {"sound off", false, false, 0, 2},
        {"fanfare still playing", true, true, 0, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        session = GameSession{};
        audio = RecordingAudio{};
        now = 0;
        session.level = 10;
        session.secondsLeft = 1;
        session.soundOn = c.soundOn;
        session.fallingGem.code = 2;
        if (c.alreadyPlaying)
            audio.playing.insert(Effect::Level11Up);

        ticks(1);
        EXPECT_EQ(session.level, 11);
        EXPECT_EQ(session.kindSpan, 3);
        EXPECT_EQ(audio.startCount(Effect::Level11Up), c.fanfares);
        EXPECT_EQ(audio.startCount(Effect::LevelUp), 0);
        EXPECT_EQ(session.fallingGem.code, c.code);
    }
}

TEST_F(LevelTimer, FiftyNineLevelUpsReachLevelSixtyWithItsOwnSound)
{
    float expectedSpeed = 0.f;
    for (int level = 2; level <= 60; ++level)
    {
        audio.playing.clear();
        ticks(60);
        expectedSpeed += 0.0075f;
        ASSERT_EQ(session.level, level);
    }
    EXPECT_EQ(session.fallSpeed, expectedSpeed);
    EXPECT_EQ(session.kindSpan, 7);
    EXPECT_EQ(audio.started.back(), Effect::LevelUp);
    EXPECT_EQ(audio.startCount(Effect::Level11Up), 5);
    EXPECT_EQ(session.fallingGem.code, 8);
}

TEST_F(LevelTimer, LastLevelStopsAtZeroAndRunsTheTimeOutEnding)
{
    session.level = 60;
    session.secondsLeft = 1;
    ticks(1);
    EXPECT_EQ(timeDigits(session.secondsLeft), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(session.timeUp);
    EXPECT_EQ(audio.music, std::vector<MusicCommand>{MusicCommand::Stop});

    // The tick at 6.0 s into the ending is not yet above 6 s; the next one switches
    ticks(6);
    EXPECT_EQ(screen, ScreenState::Playing);
    EXPECT_EQ(audio.startCount(Effect::Applause), 1);
    ticks(1);
    EXPECT_EQ(screen, ScreenState::End);
    EXPECT_EQ(session.level, 60);
    EXPECT_EQ(session.secondsLeft, 0);
    EXPECT_EQ(audio.musicCount(MusicCommand::Stop), 1);
}

TEST_F(LevelTimer, ManyDangerColumnsSoundOneAlertPerTick)
{
    stackColumn(session, 2, 1);
    stackColumn(session, 9, 1);
    stackColumn(session, 5, 2); // row 1 free: no danger
    ticks(1);
    EXPECT_EQ(audio.started, std::vector<Effect>{Effect::Alert});

    audio.playing.clear();
    ticks(1);
    EXPECT_EQ(audio.startCount(Effect::Alert), 2);
}
