#pragma once

#include "app/AppContext.hpp"
#include "app/Command.hpp"
#include "app/Scene.hpp"

#include <concepts>

// A screen's answer to a command or a frame.
struct ScreenReply
{
    ScreenSwitch next{}; // the screen to switch to, if any
    KeySet latch{};      // keys that acted and now wait for their release before acting again
    bool frozen = false; // a gem came to rest in the top row: the frame ends here, nothing more is drawn
};

// The one shape of the four screens, which the app holds alike: each is entered, answers the commands of
// the event phase, runs its part of a frame with the time passed in, describes what it shows from its
// state, and tells when it next needs a frame.
template <typename S>
concept Screen = requires(S screen, const S& shown, AppContext& app, const AppContext& seen, const Command& command,
                          const FrameInput& input, Scene& scene, Micros now) {
    { screen.enter(app, now) };
    { screen.respond(command, app, now) } -> std::same_as<ScreenReply>;
    { screen.tick(input, app, now) } -> std::same_as<ScreenReply>;
    { shown.describe(scene, seen) };
    { shown.due(seen, now) } -> std::same_as<Wake>;
};
