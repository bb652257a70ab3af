// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/game_constants.h"

std::string stringVideoWidth = CONFIG_STRING_VIDEO_WIDTH;
std::string stringVideoHeight = CONFIG_STRING_VIDEO_HEIGHT;
std::string stringVideoBPP = CONFIG_STRING_VIDEO_BPP;
std::string stringVideoFullScreen = CONFIG_STRING_VIDEO_FULLSCREEN;
std::string stringVideoVSync = CONFIG_STRING_VIDEO_VSYNC;
std::string stringHighScore = CONFIG_STRING_HIGH_SCORE;
std::string stringSoundEffects = CONFIG_STRING_SOUND_EFFECTS;
std::string stringSoundMusic = CONFIG_STRING_SOUND_MUSIC;
std::string stringJoyRaw = CONFIG_STRING_JOY_RAW;
std::string stringJoyPauseButton = CONFIG_STRING_JOY_PAUSE_BUTTON;
