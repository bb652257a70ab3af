// The program's entry.
#include <SDL.h>

#include "game/game.h"

// 0 after a normal quit; 1 when start-up failed, so scripts and launchers can tell.
extern "C" int SDL_main(int argc, char** argv) {
    new Game;
    bool ranNormally = Singleton<Game>::GetPointer()->Run(argc, argv);
    delete Singleton<Game>::GetPointer();
    return ranNormally ? 0 : 1;
}

#if !defined(_WIN32) && !defined(__APPLE__)
// Here SDL has no main wrapper of its own.
int main(int argc, char** argv) {
    return SDL_main(argc, argv);
}
#endif
