// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/controls.h"

#include <SDL.h>

#include <initializer_list>

#include "engine/input_task.h"
#include "game/game_constants.h"

namespace {

constexpr std::uint32_t Bits(std::initializer_list<int> buttons) {
    std::uint32_t bits = 0;
    for (int button : buttons) {
        bits |= 1u << button;
    }
    return bits;
}

std::uint32_t Bit(int button) {
    return button >= 0 && button < PAD_MAX_BUTTONS ? 1u << button : 0u;
}

std::uint32_t AllOf(int buttons) {
    return buttons >= PAD_MAX_BUTTONS ? ~0u : (1u << buttons) - 1;
}

// SDL2's controller order: A 0, B 1, X 2, Y 3, Back 4, Guide 5, Start 6, sticks 7 and 8,
// shoulders 9 and 10, d-pad up 11; the triggers are axes.
const PadLayout CONTROLLER_LAYOUT = {Bits({0, 1, 2, 3, 9, 10, 11}), Bits({0, 6}), Bits({4}), 6,
                                     true};
// The browser's standard order: faces 0 to 3, shoulders 4 and 5, triggers 6 and 7, Select 8,
// Start 9, sticks 10 and 11, d-pad up 12.
const PadLayout STANDARD_LAYOUT = {Bits({0, 1, 2, 3, 4, 5, 6, 7, 12}), Bits({0, 9}), Bits({8}), 9,
                                   false};

}  // namespace

PadLayout LayoutFor(PORT_PAD_ORDER order, int buttons, int pauseButton) {
    PadLayout layout;
    if (order == PORT_PAD_CONTROLLER) {
        layout = CONTROLLER_LAYOUT;
    } else if (order == PORT_PAD_STANDARD) {
        layout = STANDARD_LAYOUT;
    } else {  // an unknown pad: every button climbs, and the highest-numbered one pauses
        layout.pause = buttons > 1 ? buttons - 1 : -1;
        layout.climb = AllOf(buttons) & ~Bit(layout.pause);
        layout.start = AllOf(buttons);
    }
    if (pauseButton >= 0) {
        layout.climb &= ~Bit(pauseButton);
        layout.watch &= ~Bit(pauseButton);
        layout.start |= Bit(pauseButton);
        layout.pause = pauseButton;
    }
    layout.climb &= AllOf(buttons);
    layout.start &= AllOf(buttons);
    layout.watch &= AllOf(buttons);
    return layout;
}

Controls ReadControls(int padPauseButton) {
    const std::uint8_t* keys = InputTask::pressedKeys;
    Controls controls;
    controls.climb = keys[SDLK_SPACE] || InputTask::pointerHeld;
    controls.pause = keys[SDLK_PAUSE] || keys[SDLK_p];
    controls.start = keys[SDLK_RETURN] || InputTask::pointerHeld;
    controls.watch = keys[SDLK_r];
    controls.away = InputTask::focusLost;
    for (const Gamepad& pad : InputTask::pads.pads) {
        PadLayout layout = LayoutFor(InputTask::pads.order, pad.buttons, padPauseButton);
        controls.climb = controls.climb || (pad.held & layout.climb) ||
                         (layout.triggersClimb && pad.triggerHeld);
        controls.pause = controls.pause || (pad.held & Bit(layout.pause));
        controls.start = controls.start || (pad.held & layout.start);
        controls.watch = controls.watch || (pad.held & layout.watch);
    }
    return controls;
}
