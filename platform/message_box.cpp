// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__EMSCRIPTEN__)
#include <emscripten.h>
#else
#include <dlfcn.h>
#include <signal.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/quit_signal.h"
#endif

namespace {

void WriteToStandardError(const char* title, const char* text) {
    std::fprintf(stderr, "%s: %s\n", title, text);
}

#if defined(_WIN32)

void ShowSystemBox(const char* title, const char* text) {
    MessageBoxA(nullptr, text, title, MB_OK);
}

#elif defined(__EMSCRIPTEN__)

// A page cannot wait for a button: the text stays over the picture, and the console has it too.
void ShowSystemBox(const char* title, const char* text) {
    WriteToStandardError(title, text);
    EM_ASM({ Module.showMessage(UTF8ToString($0) + "\n" + UTF8ToString($1), true); }, title, text);
}

#else

bool HasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// The SDL 1.2 API here runs on SDL2, whose simple message box is a real modal window
// with an OK button that Return also presses. SDL2 is reached at run time, by its
// soname, so that its symbols never mix with the SDL 1.2 ones the game links against.
using SimpleMessageBox = int (*)(unsigned flags, const char* title, const char* text, void* window);
const unsigned SDL2_MESSAGEBOX_ERROR = 0x10;

SimpleMessageBox FindSimpleMessageBox() {
    static SimpleMessageBox function = [] {
        void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        return sdl2 ? reinterpret_cast<SimpleMessageBox>(dlsym(sdl2, "SDL_ShowSimpleMessageBox"))
                    : nullptr;
    }();
    return function;
}

const int BOX_POLL_MS = 20;  // how soon a quit signal takes the box down

// True when a person closed the box; false when it could not be shown or a quit signal took
// it down, together with whatever SDL started for it in the box's process group.
bool WaitForBox(pid_t box) {
    while (true) {
        int status = 0;
        pid_t done = waitpid(box, &status, WNOHANG);
        if (done == box) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (QuitSignalled()) {
            kill(-box, SIGKILL);
            waitpid(box, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(BOX_POLL_MS));
    }
}

// A game killed outright (kill -9) cannot take its box down: the box's process learns of the
// game's death itself, and ends its whole group, SDL's own child with the window among it.
void EndBoxGroup(int) {
    kill(0, SIGKILL);
}

void DieWithTheGame(pid_t game) {
#if defined(__linux__)
    struct sigaction ending = {};
    ending.sa_handler = EndBoxGroup;
    sigaction(SIGUSR2, &ending, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGUSR2);
#endif
    if (getppid() != game) {
        EndBoxGroup(0);  // it died before the watch was set
    }
}

// SDL2 waits for its box in a way no signal interrupts, from a child process it forks, so the
// box is shown from a process group of its own that a quit signal can end whole. Once a quit
// has been asked for, no box holds the program up.
void ShowSystemBox(const char* title, const char* text) {
    SimpleMessageBox show = HasDisplay() ? FindSimpleMessageBox() : nullptr;
    if (!show || QuitSignalled()) {
        WriteToStandardError(title, text);
        return;
    }
    pid_t game = getpid();
    pid_t box = fork();
    if (box == 0) {
        setpgid(0, 0);
        DieWithTheGame(game);
        _exit(show(SDL2_MESSAGEBOX_ERROR, title, text, nullptr) == 0 ? 0 : 1);
    }
    if (box < 0) {
        if (show(SDL2_MESSAGEBOX_ERROR, title, text, nullptr) != 0) {
            WriteToStandardError(title, text);
        }
        return;
    }
    setpgid(box, box);
    if (!WaitForBox(box)) {
        WriteToStandardError(title, text);
    }
}

#endif

MessageBoxFunction replacement = nullptr;

}  // namespace

void ShowMessageBox(const char* title, const char* text) {
    if (replacement) {
        replacement(title, text);
    } else {
        ShowSystemBox(title, text);
    }
}

void SetMessageBoxFunction(MessageBoxFunction function) {
    replacement = function;
}
