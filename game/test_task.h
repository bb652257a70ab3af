// SPDX-License-Identifier: GPL-3.0-or-later
// The program-wide keys: quit on Escape, the window's close button or a quit signal;
// F2 switches sound effects, F3 music, and F11 or Alt+Enter window and full screen.
#pragma once

#include "engine/task.h"

class VideoUpdate;
class WorldTask;

// Reports a key once per press: true in the first frame it is held, then false until it has
// been released, however long it is held.
struct KeyToggle {
    bool released = true;  // the key has been up since it last reported

    bool Pressed(bool held) {
        bool pressed = held && released;
        released = !held;
        return pressed;
    }
};

class TestTask final : public Task {
public:
    WorldTask* world = nullptr;     // whose switches F2 and F3 flip
    VideoUpdate* video = nullptr;   // whose window F11 switches
    KeyToggle soundKeyToggle;       // F2
    KeyToggle musicKeyToggle;       // F3
    KeyToggle fullScreenKeyToggle;  // F11 or Alt+Enter

    bool Start() override { return true; }
    void Update() override;
    void Stop() override {}

private:
    void HandleQuitRequests();
    void ToggleSoundEffects();
    void ToggleMusic();
    void ToggleFullScreen();
};
