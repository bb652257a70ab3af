// SPDX-License-Identifier: GPL-3.0-or-later
// The world's game modes, which are also the requests its music understands.
#pragma once

enum MODES {
    MODE_MENU = 0,            // title menu; music: the menu tune
    MODE_SWIM = 1,            // a game starts; music: the menu tune
    MODE_ENTER_THE_FISH = 2,  // the big fish enters; music: the chase tune
    MODE_CHASE = 3,           // the chase; music: the chase tune
    MODE_CHOMPED = 5,         // music only: the eaten tune
    MODE_MUSIC_STOP = 6,      // music only: pause the music channel
    MODE_MUSIC_START = 7      // music only: resume the music channel
};
