// SPDX-License-Identifier: GPL-3.0-or-later
// What the world reads each frame, whichever device gave it: the keys, the mouse or a finger,
// and the pads, each pad's buttons read through the table of its button order.
#pragma once

#include <cstdint>

#include "engine/gamepads.h"

struct Controls {
    bool climb = false;  // Space, the left button or a finger, a pad's climbing buttons
    bool pause = false;  // P or Pause, a pad's Start
    bool start = false;  // Enter, a click or a tap, a pad's bottom face button or Start
    bool watch = false;  // R, a pad's Back or Select: the best game, from the menu
    bool away = false;   // the player went to another window, or a pad was pulled out
};

// Which buttons of a pad do what. Back and Select show the best game; nothing quits.
struct PadLayout {
    std::uint32_t climb = 0;     // bit b: button b climbs
    std::uint32_t start = 0;     // bit b: button b starts a game from the menu
    std::uint32_t watch = 0;     // bit b: button b shows the best game from the menu
    int pause = -1;              // the button that pauses and resumes; -1 for none
    bool triggersClimb = false;  // the analog triggers climb too
};

// The table for a button order, for a pad with that many buttons. A pause button of the
// player's choice (0 or more) takes the place of the order's own, and climbs no more.
PadLayout LayoutFor(PORT_PAD_ORDER order, int buttons, int pauseButton);

// This frame's controls from the input task's copy of the keys, the pointer and the pads.
Controls ReadControls(int padPauseButton);
