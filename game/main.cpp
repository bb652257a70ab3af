// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry.
#include <SDL.h>

#include "engine/settings.h"
#include "game/command_line.h"
#include "game/game.h"
#include "game/game_constants.h"

// An option such as --help is answered before anything starts: no log, no window.
extern "C" int SDL_main(int argc, char** argv) {
    Game game;
    int status = -1;
    {
        Settings defaults;
        game.SetDefaultSettings(&defaults);
        status = AnswerOptions(argc, argv, defaults);
    }
    if (status < 0) {
        status = game.Run(argc, argv) ? GAME_EXIT_NORMAL : GAME_EXIT_START_FAILED;
    }
    return status;
}

#if !defined(_WIN32) && !defined(__APPLE__)
// Here SDL has no main wrapper of its own.
int main(int argc, char** argv) {
    return SDL_main(argc, argv);
}
#endif
