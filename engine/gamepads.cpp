// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gamepads.h"

#include "engine/log.h"
#include "platform/sdl_port.h"

namespace {

const char* const ORDER_NAMES[] = {"game controller", "standard", "raw"};

// A pad that cannot be opened, or has no buttons, is passed over, and said so once however
// often the pads are looked for again.
bool OpenPad(int index, Gamepad& pad, std::uint32_t& passedOver) {
    const char* name = SDL_JoystickName(index);
    pad.joystick = SDL_JoystickOpen(index);
    pad.buttons = pad.joystick ? SDL_JoystickNumButtons(pad.joystick) : 0;
    if (pad.buttons <= 0) {
        std::uint32_t bit = index < PAD_MAX_BUTTONS ? 1u << index : 0u;
        if (!(passedOver & bit)) {
            Log::Get().Write(LOG_APP, "Pad %d (%s) %s: passed over", index, name ? name : "unnamed",
                             pad.joystick ? "has no buttons" : "cannot be opened");
        }
        passedOver |= bit;
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

void Gamepads::Open(bool ownOrder) {
    pads.clear();
    pads.reserve(PAD_RESERVED);
    raw = ownOrder;
    lost = false;
    order = ChoosePadOrder(raw);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        Log::Get().Write(LOG_APP, "No pads: %s", SDL_GetError());
        return;
    }
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        Gamepad pad;
        if (OpenPad(index, pad, passedOver)) {
            pads.push_back(pad);
        }
    }
    if (!pads.empty()) {
        Log::Get().Write(LOG_APP, "Pad buttons in the %s order", ORDER_NAMES[order]);
    }
    pluggedIn = PadsPluggedIn();
}

void Gamepads::PickUpNew(double seconds) {
    sinceLook += seconds;
    if (!pads.empty()) {
        return;
    }
    int now = PadsPluggedIn();
    bool look = now < 0 ? sinceLook >= PAD_LOOK_INTERVAL : now > pluggedIn;
    pluggedIn = now < 0 ? pluggedIn : now;
    if (look) {
        sinceLook = 0.0;
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        Open(raw);
    }
}

void Gamepads::Read(bool focused) {
    lost = false;
    if (pads.empty()) {
        return;
    }
    int now = PadsPluggedIn();
    if (now >= 0 && now < pluggedIn) {
        Log::Get().Write(LOG_APP, "A pad was pulled out");
        lost = true;
        pluggedIn = now;
        if (now == 0) {
            CloseAll();
            return;
        }
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
    CloseAll();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void Gamepads::CloseAll() {
    for (Gamepad& pad : pads) {
        SDL_JoystickClose(pad.joystick);
    }
    pads.clear();
}
