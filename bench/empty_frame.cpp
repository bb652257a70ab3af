// SPDX-License-Identifier: GPL-3.0-or-later
// The cheapest frame a window like the game's can have: cleared and swapped, nothing drawn.
// The game's own frame rate means little alone; against this one, on the same machine in the
// same minute, it says what the drawing costs.
// Usage: tobrin_empty_frame [WIDTH HEIGHT [SECONDS]]; prints the renderer, the frame rate and
// the peak memory.
#include <SDL.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/display.h"

namespace {

// The window as the game asks for it: double-buffered OpenGL drawn straight into the window,
// 16 bits asked for, no depth buffer, no wait for the display's refresh.
bool OpenWindow(int width, int height) {
    DrawStraightIntoWindow();
    if (SDL_Init(SDL_INIT_VIDEO) == -1) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    SDL_WM_SetCaption("tobrin empty frame", nullptr);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    if (!SDL_SetVideoMode(width, height, 16, SDL_OPENGL | SDL_ANYFORMAT)) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    return true;
}

// Events are read every frame, as the game reads them.
void Frame() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
}

// Frames per second over the given time, after a second to settle.
double FramesPerSecond(double seconds) {
    Uint32 start = SDL_GetTicks();
    while (SDL_GetTicks() - start < 1000) {
        Frame();
    }
    long frames = 0;
    start = SDL_GetTicks();
    Uint32 elapsed = 0;
    while (elapsed < seconds * 1000) {
        Frame();
        ++frames;
        elapsed = SDL_GetTicks() - start;
    }
    return frames * 1000.0 / elapsed;
}

// The process's peak resident memory, as /proc reports it.
void PrintPeakMemory() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            std::fputs(line, stdout);
        }
    }
    if (status) {
        std::fclose(status);
    }
}

}  // namespace

extern "C" int SDL_main(int argc, char** argv) {
    int width = argc > 2 ? std::atoi(argv[1]) : 640;
    int height = argc > 2 ? std::atoi(argv[2]) : 480;
    double seconds = argc > 3 ? std::atof(argv[3]) : 5.0;
    if (width <= 0 || height <= 0 || seconds <= 0 || !OpenWindow(width, height)) {
        return 1;
    }
    std::printf("Renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("FPS: %f\n", FramesPerSecond(seconds));
    PrintPeakMemory();
    SDL_Quit();
    return 0;
}

#if !defined(_WIN32) && !defined(__APPLE__)
int main(int argc, char** argv) {
    return SDL_main(argc, argv);
}
#endif
