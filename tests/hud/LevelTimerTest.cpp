#include "HudTestSupport.hpp"

using Clock = std::array<int, 4>;

// A game of play from t = 0, ticked at whole seconds.
struct TimerRun
{
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            endDue |= levelTick(session, now += microsFromSeconds(1.0), audio.port) == EndingReport::EndScreenDue;
    }

    GameSession session;
    AudioRecorder audio;
    bool endDue = false;
    Micros now = 0;
};

TEST(LevelTimer, TicksAtLeastASecondApartWithoutCarryAndNeverWhilePaused)
{
    TimerRun run;
    run.session.game.board[1][2] = run.session.game.board[2][2] = 1; // a danger column: a tick sounds its alert
    const struct { double t; bool paused; Clock shown; } frames[] = {
        {0.999, false, {0, 1, 0, 0}}, {1.7, false, {0, 0, 5, 9}}, {2.6, false, {0, 0, 5, 9}},
        {2.7, false, {0, 0, 5, 8}},   {3.7, true, {0, 0, 5, 8}},   {9.0, true, {0, 0, 5, 8}},
        {9.01, false, {0, 0, 5, 7}},  {9.9, false, {0, 0, 5, 7}}};
    for (const auto& f : frames)
    {
        run.session.game.paused = f.paused;
        levelTick(run.session, microsFromSeconds(f.t), run.audio.port);
        EXPECT_EQ(timeDigits(run.session.game.secondsLeft), f.shown) << "t = " << f.t;
    }
    EXPECT_EQ(run.audio.started, Effects{Effect::Alert});
}

TEST(LevelTimer, SixtyTicksALevelUpToSixtyWhichEndsAtZero)
{
    TimerRun run;
    run.ticks(59);
    EXPECT_EQ(run.session.game.level, 1);
    run.ticks(1);
    EXPECT_EQ(run.session.game.level, 2);
    EXPECT_EQ(timeDigits(run.session.game.secondsLeft), (Clock{0, 1, 0, 0}));
    EXPECT_EQ(run.audio.started, Effects{Effect::LevelUp});

    // The new level blinks in quarter seconds for 1.5 s
    const struct { double t; int alpha; } frames[] = {
        {0.0, 255}, {0.24, 255}, {0.25, 0}, {0.5, 255}, {1.25, 0}, {1.49, 0}, {1.5, 255}, {1.75, 255}};
    for (const auto& f : frames)
    {
        EXPECT_EQ(levelDisplayOpacity(run.session, run.now + microsFromSeconds(f.t)), f.alpha) << "t = " << f.t;
        EXPECT_EQ(run.session.kept.levelBlinking, f.t < 1.5) << "t = " << f.t;
    }

    float speed = 0.0075f; // a running sum, as the game keeps it
    for (int level = 3; level <= 60; ++level, speed += 0.0075f)
    {
        run.audio.playing.clear();
        run.ticks(60);
    }
    EXPECT_EQ(run.session.game.fallSpeed, speed);
    EXPECT_EQ(run.session.game.kindSpan, 7);
    EXPECT_EQ(run.session.carried.fallingGem.code, 8); // the fanfare of level 51 played

    // The last level runs out and its ticks drive the ending: the end screen on the seventh after 00:00
    run.audio.started.clear();
    run.ticks(66);
    EXPECT_FALSE(run.endDue);
    run.ticks(1);
    EXPECT_TRUE(run.endDue);
    EXPECT_EQ(run.audio.started, Effects{Effect::Applause});
    EXPECT_EQ(run.session.game.level, 60);
    EXPECT_EQ(timeDigits(run.session.game.secondsLeft), (Clock{0, 0, 0, 0}));
    EXPECT_EQ(run.audio.music, Music{MusicCommand::Stop});
}

TEST(LevelTimer, LevelElevenShowsTheNewKindOnlyAlongWithItsFanfare)
{
    const struct { bool soundOn, alreadyPlaying; Effects started; GemCode code; } cases[] = {
        {true, false, {Effect::Level11Up}, 4}, {false, false, {}, 1}, {true, true, {}, 1}};
    for (const auto& c : cases)
    {
        TimerRun run;
        run.session.game.level = 10;
        run.session.game.secondsLeft = 1;
        run.session.kept.soundOn = c.soundOn;
        if (c.alreadyPlaying)
            run.audio.playing.insert(Effect::Level11Up);
        run.ticks(1);
        EXPECT_EQ(run.audio.started, c.started) << "sound on " << c.soundOn << ", playing " << c.alreadyPlaying;
        EXPECT_EQ(run.session.carried.fallingGem.code, c.code) << "sound on " << c.soundOn << ", playing " << c.alreadyPlaying;
    }
}
