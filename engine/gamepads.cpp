// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gamepads.h"

#include "engine/log.h"
#include "platform/sdl_port.h"

namespace {

const char* const ORDER_NAMES[] = {"game controller", "standard", "raw"};

// A pad that cannot be opened, or has no buttons, is said once and passed over.
bool OpenPad(int index, Gamepad& pad) {
    const char* name = SDL_JoystickName(index);
    pad.joystick = SDL_JoystickOpen(index);
    pad.buttons = pad.joystick ? SDL_JoystickNumButtons(pad.joystick) : 0;
    if (pad.buttons <= 0) {
        Log::Get().Write(LOG_APP, "Pad %d (%s) %s: passed over", index, name ? name : "unnamed",
                         pad.joystick ? "has no buttons" : "cannot be opened");
        if (pad.joystick) {
            SDL_JoystickClose(pad.joystick);
        }
        return false;
    }
    pad.buttons = pad.buttons < PAD_MAX_BUTTONS ? pad.buttons : PAD_MAX_BUTTONS;
    Log::Get().Write(LOG_APP, "Pad %d: %s, %d buttons", index, name ? name : "unnamed",
                     pad.buttons);
    return true;
}

}  // namespace

void Gamepads::Open(bool raw) {
    pads.clear();
    pads.reserve(PAD_RESERVED);
    order = ChoosePadOrder(raw);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        Log::Get().Write(LOG_APP, "No pads: %s", SDL_GetError());
        return;
    }
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        Gamepad pad;
        if (OpenPad(index, pad)) {
            pads.push_back(pad);
        }
    }
    if (!pads.empty()) {
        Log::Get().Write(LOG_APP, "Pad buttons in the %s order", ORDER_NAMES[order]);
    }
}

void Gamepads::Read(bool focused) {
    if (pads.empty()) {
        return;
    }
    SDL_JoystickUpdate();
    for (Gamepad& pad : pads) {
        pad.held = 0;
        pad.triggerHeld = false;
        for (int button = 0; focused && button < pad.buttons; ++button) {
            pad.held |= SDL_JoystickGetButton(pad.joystick, button) ? 1u << button : 0u;
        }
        for (int axis : PAD_CONTROLLER_TRIGGER_AXES) {
            pad.triggerHeld =
                pad.triggerHeld || (focused && order == PORT_PAD_CONTROLLER &&
                                    SDL_JoystickGetAxis(pad.joystick, axis) > PAD_TRIGGER_HALF);
        }
    }
}

void Gamepads::Close() {
    for (Gamepad& pad : pads) {
        SDL_JoystickClose(pad.joystick);
    }
    pads.clear();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
