// Glimmora Game: start-up, the frame loop and release.

#include "app/GameProgram.hpp"
#include "platform/System.hpp"

int main()
{
    platform::installQuitHandlers();
    GameProgram program;
    if (!program.start())
        return 1;
    program.run();
    return 0;
}
