// SPDX-License-Identifier: GPL-3.0-or-later
// Game pads through the SDL 1.2 joystick API: found, opened and named in the log, their buttons
// read once a frame, as the keys are copied once a frame (sdl12-compat sends no button events
// for pads it shows in the game-controller order).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "engine/engine_constants.h"
#include "platform/sdl_port.h"

struct Gamepad {
    SDL_Joystick* joystick = nullptr;
    int buttons = 0;           // how many of its buttons are read
    std::uint32_t held = 0;    // bit b: button b held in this frame
    bool triggerHeld = false;  // an analog trigger pressed past half (controller order only)
};

class Gamepads {
public:
    PORT_PAD_ORDER order = PORT_PAD_RAW;
    bool raw = false;   // the pads' own order was asked for
    bool lost = false;  // a pad was pulled out since the last frame
    // Pads plugged in when they were opened, less those pulled out since; -1 unknown. One
    // plugged in meanwhile is not counted: it is no loss when it goes.
    int pluggedIn = -1;
    // The open pads with buttons; room is reserved, so that a frame allocates nothing.
    std::vector<Gamepad> pads;

    // Starts the joystick subsystem and opens every pad. Unless raw is asked for, sdl12-compat
    // is asked for SDL2's controller order first, so that Start is Start on any pad it knows.
    void Open(bool ownOrder);
    // While none is open (in the menu, where a moment's work goes unseen): opens the pads
    // again when one has been plugged in since, or, where that cannot be known, every so often.
    void PickUpNew(double seconds);
    // Once a frame: each pad's buttons, all released while the window lacks the focus; and
    // whether one was pulled out. When none is left, they are closed, to be picked up again.
    void Read(bool focused);
    void Close();

private:
    double sinceLook = 0.0;        // seconds since the pads were last looked for
    std::uint32_t passedOver = 0;  // bit i: pad i was said to be passed over
    void CloseAll();               // the pads, not the joystick subsystem
};
