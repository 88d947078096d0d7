#include "game/Controls.hpp"
#include "game/Falling.hpp"
#include "game/ThreadRules.hpp"

#include "TestSupport.hpp"

using namespace testing_support;

TEST(Effects, StartOnlyWhileSoundIsOnAndTheSoundIsNotPlaying)
{
    GameSession session;
    AudioRecorder recorder;
    EXPECT_TRUE(playEffect(session, recorder.port(), Effect::GemFall));

    recorder.playing.insert(Effect::GemFall);
    EXPECT_FALSE(playEffect(session, recorder.port(), Effect::GemFall));

    session.soundOn = false;
    EXPECT_FALSE(playEffect(session, recorder.port(), Effect::LevelUp));
    EXPECT_EQ(recorder.started, std::vector<Effect>{Effect::GemFall});

    // A port with nothing wired counts as silent and never playing.
    session.soundOn = true;
    EXPECT_FALSE(playEffect(session, AudioPort{}, Effect::GemFall));
    EXPECT_TRUE(playEffect(session, AudioPort{{}, [](Effect) {}, {}}, Effect::GemFall));
}

TEST(Toggles, MusicAndSoundFlipUnlessPaused)
{
    GameSession session;
    AudioRecorder recorder;
    const AudioPort audio = recorder.port();

    EXPECT_TRUE(toggleMusic(session, audio));
    EXPECT_FALSE(session.musicOn);
    EXPECT_TRUE(toggleMusic(session, audio));
    EXPECT_TRUE(session.musicOn);
    EXPECT_EQ(recorder.music, (std::vector<MusicCommand>{MusicCommand::Pause, MusicCommand::Play}));

    EXPECT_TRUE(toggleSound(session));
    EXPECT_FALSE(session.soundOn);

    session.paused = true;
    EXPECT_FALSE(toggleMusic(session, audio));
    EXPECT_FALSE(toggleSound(session));
    EXPECT_TRUE(session.musicOn);
    EXPECT_FALSE(session.soundOn);
    EXPECT_EQ(recorder.music.size(), 2u);
}

TEST(Toggles, PauseStopsTheFallAndTheMusicIfWanted)
{
    for (bool musicOn : {true, false})
    {
        GameSession session;
        AudioRecorder recorder;
        session.musicOn = musicOn;
        session.fallingGem.row = 3;

        EXPECT_TRUE(togglePause(session, recorder.port()));
        EXPECT_TRUE(session.paused);
        EXPECT_FALSE(session.fallingGem.falling);
        EXPECT_TRUE(togglePause(session, recorder.port()));
        EXPECT_FALSE(session.paused);
        EXPECT_TRUE(session.fallingGem.falling);
        const std::vector<MusicCommand> expected{MusicCommand::Pause, MusicCommand::Play};
        EXPECT_EQ(recorder.music, musicOn ? expected : std::vector<MusicCommand>{});
    }
}

TEST(Toggles, PauseOnlyWhileTheGemCanStillFall)
{
    struct Case
    {
        const char* name;
        int row;
        std::initializer_list<GemCode> column; // bottom-up, in the gem's column
        bool landingPause;
        bool allowed;
    };
    const Case cases[] = {
        {"falling over an empty cell", 3, {1, 1}, false, true},
        {"row 7", 7, {}, false, false},
        {"cell below occupied", 5, {1, 1}, false, false},
        {"landing pause with an empty cell below", 4, {1, 1}, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameSession session;
        session.fallingGem.column = 2;
        session.fallingGem.row = c.row;
        session.fallingGem.landingPause = c.landingPause;
        session.fallingGem.falling = !c.landingPause;
        stack(session.board, 2, c.column);
        EXPECT_EQ(canTogglePause(session), c.allowed);
        EXPECT_EQ(togglePause(session, AudioPort{}), c.allowed);
        EXPECT_EQ(session.paused, c.allowed);
    }
}

// Two pulls during a landing pause empty the cell below the landed gem; a
// pause admitted then would set `falling` while paused.
TEST(Toggles, PullsDuringALandingPauseDoNotAdmitAPause)
{
    ManualClock clock;
    ScriptedRandom random;
    AudioPort audio;
    GameSession session = startedSession(clock.now, 2);
    stack(session.board, 2, {1, 1, 1, 1, 1, 1});
    updateFallingGem(session, clock.advance(0.7), random.draw(), audio);
    updateFallingGem(session, clock.advance(0.01), random.draw(), audio);
    ASSERT_TRUE(session.fallingGem.landingPause);

    session.selectorStop = 2;
    pullGem(session, clock.advance(0.01), audio);
    pullGem(session, clock.advance(0.01), audio);
    ASSERT_EQ(session.board[session.fallingGem.row + 1][2], EmptyGem);

    EXPECT_FALSE(togglePause(session, audio));
    EXPECT_FALSE(session.paused);

    random.add({5, 99, 1, 1, 1});
    updateFallingGem(session, clock.advance(0.35), random.draw(), audio);
    ASSERT_TRUE(session.fallingGem.falling);
    EXPECT_TRUE(togglePause(session, audio));
}

TEST(Toggles, NothingActsWhileFrozen)
{
    ManualClock clock;
    ScriptedRandom random;
    AudioRecorder recorder;
    GameSession session = startedSession(clock.now, 2);
    stack(session.board, 2, {1, 1, 1, 1, 1, 1, 1});
    updateFallingGem(session, clock.advance(0.01), random.draw(), recorder.port());
    ASSERT_EQ(updateFallingGem(session, clock.advance(0.35), random.draw(), recorder.port()), FallResult::Froze);
    recorder.music.clear();

    EXPECT_FALSE(togglePause(session, recorder.port()));
    EXPECT_FALSE(toggleMusic(session, recorder.port()));
    EXPECT_FALSE(toggleSound(session));
    EXPECT_TRUE(session.paused);
    EXPECT_TRUE(recorder.music.empty());
}
