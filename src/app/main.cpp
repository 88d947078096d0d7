// Glimmora Game: start-up, the frame loop and release.

#include "app/GameProgram.hpp"

int main()
{
    GameProgram program;
    if (!program.start())
        return 1;
    program.run();
    return 0;
}
