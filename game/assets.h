// SPDX-License-Identifier: GPL-3.0-or-later
// The game's pictures and sounds: the tables of their files and the names that index them.
#pragma once

// Pictures, by their place in IMG_filenames; read from resources/images/.
enum IMAGES {
    IMG_SUB,
    IMG_PROP1,
    IMG_PROP2,
    IMG_PROP3,
    IMG_FISHIE_RED,
    IMG_SEEDWEED_SEED,
    IMG_SEEDWEED_1,
    IMG_SEEDWEED_2,
    IMG_SEEDWEED_3,
    IMG_SEEDWEED_4,
    IMG_SEEDWEED_5,
    IMG_SEEDWEED_6,
    IMG_SEEDWEED_7,
    IMG_SEEDWEED_8,
    IMG_FISH_BODY,
    IMG_FISH_TAIL1,
    IMG_FISH_TAIL2,
    IMG_FISH_TAIL3,
    IMG_FISH_FLIPPER1,
    IMG_FISH_FLIPPER2,
    IMG_FISH_FLIPPER3,
    IMG_FISH_FACE1,
    IMG_FISH_FACE2,
    IMG_FISH_FACE3,
    IMG_CIRCLE_FRAME,
    IMG_WAVE,
    IMG_NUM_0,
    IMG_NUM_1,
    IMG_NUM_2,
    IMG_NUM_3,
    IMG_NUM_4,
    IMG_NUM_5,
    IMG_NUM_6,
    IMG_NUM_7,
    IMG_NUM_8,
    IMG_NUM_9,
    IMG_TEXT_TOBRIN,
    IMG_TEXT_ANDTHE,
    IMG_TEXT_FISH,
    IMG_TEXT_PRESS_ENTER,
    IMG_TEXT_PRESS_SPACE,
    IMG_TEXT_MASH_SPACE,
    IMG_TEXT_PRESS_ESCAPE,
    IMG_TEXT_NAME,
    IMG_TEXT_FISHIES,
    IMG_TEXT_THEFISH,
    IMG_TEXT_SCORE,
    IMG_TEXT_PAUSED,
    IMG_TEXT_PRESS_R,
    IMG_TEXT_REPLAY,
    IMG_TEXT_CLICK_START,
    IMG_TEXT_TAP_START,
    IMG_TEXT_PAD_START,
    IMG_TEXT_CLICK_WATCH,
    IMG_TEXT_TAP_WATCH,
    IMG_TEXT_PAD_WATCH
};

// Sounds, by their place in SND_filenames; read from resources/audio/.
enum SOUNDS {
    SND_BRINY,       // tune of the menu
    SND_ATTACK,      // tune of the chase
    SND_EATEN_TUNE,  // played once when the submarine has been chomped
    SND_COLLIDE1,    // a seed weed is struck: three variants
    SND_COLLIDE2,
    SND_COLLIDE3,
    SND_COLLECT1,  // a fishie is eaten: three variants
    SND_COLLECT2,
    SND_COLLECT3,
    SND_BITE  // the big fish bites
};

const int ASSET_IMAGE_COUNT = 56;
const int ASSET_SOUND_COUNT = 10;
const int ASSET_SOUND_VARIANTS = 3;  // collide and collect sounds come in threes
const int ASSET_PATH_SIZE = 128;     // characters a file's path may take, terminator included
const char* const ASSET_IMAGE_FOLDER = "resources/images/";
const char* const ASSET_AUDIO_FOLDER = "resources/audio/";

extern const char* const IMG_filenames[ASSET_IMAGE_COUNT];
extern const char* const SND_filenames[ASSET_SOUND_COUNT];
