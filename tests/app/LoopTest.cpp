// The frame loop's pacing on a manual clock: it wakes for every timed step at its threshold, draws only what
// changed, and no more often than the display refreshes.

#include "AppHarness.hpp"

#include <functional>

namespace
{
constexpr Micros Millisecond = 1000;

// A game frozen by a gem at rest in the top row, its overflow ending begun `since` seconds ago.
void freezeOverflow(AppHarness& h, double since, int score = 0)
{
    GameSession& g = h.app.session();
    h.fillColumnButTop(0);
    g.game.board[0][0] = 1;
    std::tie(g.game.fallingGem.falling, g.game.paused, g.game.overflowEnding, g.game.gameReady) = std::tuple(false, true, true, false);
    std::tie(g.game.score, g.kept.bestScore) = std::tuple(score, score);
    g.carried.transitionClock.restart(h.now - microsFromSeconds(since));
}
} // namespace

// Every kind of timed step: the loop sleeps until its threshold and runs it there, not a frame or a poll later
// (the test's loop polls for input only every 50 ms, so a step it does not wake for comes visibly late).
TEST(Loop, EveryTimedStepRunsAtItsThreshold)
{
    enum Start { Title, Menu, Playing };
    struct Step
    {
        const char* name;
        Start start;
        double after;                                  // seconds from the arranged moment to the threshold
        std::function<void(AppHarness&)> arrange;      // the state, with its clock restarted now
        std::function<long(const AppHarness&)> observe; // what the step changes
    };
    const auto session = [](AppHarness& h) -> GameSession& { return h.app.session(); };
    const Step steps[] = {
        {"fall", Playing, 0.7, [](AppHarness& h) { h.holdGemMidAir(); },
         [](const AppHarness& h) { return h.app.session().game.fallingGem.row; }},
        {"landing pause", Playing, 0.35,
         [&](AppHarness& h) {
             h.holdGemMidAir();
             std::tie(session(h).game.fallingGem.falling, session(h).game.fallingGem.landingPause) = std::tuple(false, true);
             session(h).carried.fallingGem.landingClock.restart(h.now);
         },
         [](const AppHarness& h) { return h.app.session().game.fallingGem.falling; }},
        {"discard", Playing, 0.08,
         [&](AppHarness& h) {
             std::tie(session(h).game.thread, session(h).game.selectorStop) = std::tuple(Thread{1, 2, 3, 1, 2, 3, 1, 2}, TrashTubeStop);
             session(h).game.trashAnimating = true;
             session(h).carried.animationClock.restart(h.now);
         },
         [](const AppHarness& h) { return h.app.session().game.board[7][TubeColumn]; }},
        {"clear", Playing, 0.05,
         [&](AppHarness& h) {
             session(h).game.thread = Thread{9, 9, 9, 9, 9, 9, 9, 9};
             session(h).game.threadClearing = true;
             session(h).carried.animationClock.restart(h.now);
         },
         [](const AppHarness& h) { return h.app.session().game.thread[0]; }},
        {"refill", Playing, 0.05,
         [&](AppHarness& h) {
             session(h).game.pattern = TargetPattern{};
             session(h).carried.patternRefilling = true;
             session(h).carried.animationClock.restart(h.now);
         },
         [](const AppHarness& h) { return h.app.session().game.pattern[7]; }},
        {"popup", Playing, 0.02,
         [&](AppHarness& h) {
             std::tie(session(h).game.popupPoints, session(h).game.popupStep) = std::tuple(40, 3.f);
             session(h).carried.transitionClock.restart(h.now);
         },
         [](const AppHarness& h) { return static_cast<long>(h.app.session().game.popupStep); }},
        {"level tick", Playing, 1.0, [&](AppHarness& h) { session(h).game.levelClock.restart(h.now); },
         [](const AppHarness& h) { return h.app.session().game.secondsLeft; }},
        {"level blink", Playing, 0.25,
         [&](AppHarness& h) {
             session(h).kept.levelBlinking = true;
             session(h).kept.levelBlinkClock.restart(h.now);
         },
         [](const AppHarness& h) { return static_cast<long>(h.scene().items[static_cast<std::size_t>(h.placeOf(hudDigit(0), levelDigitPositions[0]))].alpha); }},
        {"closing sound", Playing, 1.0, [](AppHarness& h) { freezeOverflow(h, 0.0); },
         [](const AppHarness& h) { return static_cast<long>(h.audio.started.size()); }},
        {"end screen", Playing, 6.0, [](AppHarness& h) { freezeOverflow(h, 0.0); },
         [](const AppHarness& h) { return static_cast<long>(h.app.screen()); }},
        {"result panel", Playing, 3.0,
         [](AppHarness& h) {
             freezeOverflow(h, 5.999, 300);
             h.frame(0.002, false);
             ASSERT_EQ(h.app.screen(), ScreenState::End);
         },
         [](const AppHarness& h) { return static_cast<long>(h.app.end().display().panel); }},
        {"cursor idle", Playing, 2.0,
         [](AppHarness& h) {
             h.moveTo({700.f, 700.f});
             h.frame(0.0, false);
         },
         [](const AppHarness& h) { return h.app.cursorVisible(); }},
        {"title fade-out", Title, 1.0, [](AppHarness& h) { h.press(sf::Keyboard::Space); },
         [](const AppHarness& h) { return static_cast<long>(h.app.screen()); }},
        {"menu buttons", Menu, 1.2, [](AppHarness&) {},
         [](const AppHarness& h) { return h.placeOf(textureOf(Picture::InstructionsButton)) >= 0; }},
        {"fade toward play", Menu, 1.0,
         [](AppHarness& h) {
             h.run(1.3);
             h.tapAt(h.centreOf(Picture::StartGameButton));
             h.frame(0.0, false);
         },
         [](const AppHarness& h) { return static_cast<long>(h.app.screen()); }},
    };
    for (const Step& step : steps)
    {
        AppHarness h;
        if (step.start == Playing)
            h.reachPlaying();
        else if (step.start == Menu)
        {
            h.press(sf::Keyboard::Space);
            while (h.app.screen() == ScreenState::Title)
                h.frame(0.01, false); // the menu's clock starts in the frame that switches
        }
        else
            h.frame(1.5, false);
        step.arrange(h);
        const Micros threshold = h.now + microsFromSeconds(step.after);
        const long before = step.observe(h);
        PacedLoop paced(h);
        const Micros ran = paced.runUntil(threshold + 200 * Millisecond, [&] { return step.observe(h) != before; });
        EXPECT_TRUE(ran >= threshold && ran <= threshold + Millisecond)
            << step.name << ": due at " << threshold << " µs, ran at " << ran << " µs";
    }

    // Left and Right keep their 0.03 s apart as keys come, read within the loop's short sleep
    AppHarness h;
    h.reachPlaying();
    h.holdGemMidAir();
    PacedLoop paced(h, 2 * Millisecond);
    const Micros start = h.now + 10 * Millisecond;
    paced.post(start, {CommandKind::KeyPress, sf::Keyboard::Right, {}, false});
    paced.post(start + 27 * Millisecond, {CommandKind::KeyPress, sf::Keyboard::Right, {}, false});
    paced.post(start + 31 * Millisecond, {CommandKind::KeyPress, sf::Keyboard::Right, {}, false});
    std::vector<int> stops;
    paced.runUntil(start + 40 * Millisecond, [&] {
        if (stops.empty() || stops.back() != h.app.session().game.selectorStop)
            stops.push_back(h.app.session().game.selectorStop);
        return false;
    });
    EXPECT_EQ(stops, (std::vector{StartStop, StartStop + 1, StartStop + 2}));
}

// A still screen describes the same picture pass after pass and nothing is drawn again; a key, a step or the
// pointer over a button draws one new picture. Moving pictures come once per display refresh at most.
TEST(Loop, DrawsOnlyWhatChanged)
{
    AppHarness h;
    PacedLoop paced(h);
    paced.run(1.0); // the title fades in: a picture each refresh, 60 a second
    EXPECT_EQ(paced.shown, 60);
    const long fadedIn = paced.shown;
    paced.run(5.0);
    EXPECT_EQ(paced.shown, fadedIn) << "a still title page drawn again";

    paced.post(h.now, {CommandKind::KeyPress, sf::Keyboard::Space, {}, false});
    paced.run(3.0);
    const long menuShown = paced.shown;
    paced.run(3.0);
    EXPECT_EQ(paced.shown, menuShown) << "a still menu drawn again";
    h.mouse = h.pixel(h.centreOf(Picture::AboutButton));
    paced.post(h.now, {}); // the pointer's move
    paced.run(1.0);
    EXPECT_EQ(paced.shown, menuShown + 1) << "the hover look, once";

    h.mouse = h.pixel(h.centreOf(Picture::StartGameButton));
    paced.post(h.now, {CommandKind::LeftClick, sf::Keyboard::Unknown, h.mouse, false});
    paced.post(h.now, {}); // the release
    paced.run(1.2);
    ASSERT_EQ(h.app.screen(), ScreenState::Playing);
    h.holdGemMidAir();
    h.app.session().game.levelClock.restart(h.now);
    paced.run(0.05);
    const long playShown = paced.shown;
    paced.post(h.now, {CommandKind::KeyPress, sf::Keyboard::Left, {}, false});
    paced.run(0.3);
    EXPECT_EQ(paced.shown, playShown + 1) << "the thread under its new stop, once";
    paced.run(0.5); // the gem's first fall step, 0.7 s after its spawn
    EXPECT_EQ(paced.shown, playShown + 2);

    // A popup's steps come every 0.02 s; on a display of 10 pictures a second only 10 of them are shown
    PacedLoop slow(h, 50000, 100000);
    h.app.session().game.pendingPoints = 40;
    slow.run(1.0);
    EXPECT_EQ(slow.shown, 10);
}
