// The game's constants, each prefixed with its owner. Every game source includes this.
#pragma once

#include <string>

const char* const GAME_TITLE = "Tobrin and the Fish";  // window caption, also when iconified
const char* const GAME_SETTINGS_FILENAME = "tobrin.cfg";
const char* const GAME_ICON_FILENAME = "resources/images/tobrin_icon.png";
const int GAME_SOUND_CHANNELS = 32;             // effects that can sound at once
const unsigned GAME_FMOD_VERSION = 0x00040201;  // oldest sound library the game accepts

// Task priorities: the order of work within a frame, lowest first.
const int GAME_TIMER_PRIORITY = 10;
const int GAME_INPUT_PRIORITY = 20;
const int GAME_WORLD_PRIORITY = 1000;
const int GAME_INFOTEXT_PRIORITY = 9000;
const int GAME_TEST_PRIORITY = 9999;
const int GAME_VIDEO_PRIORITY = 10000;

// Setting names, as written in tobrin.cfg and on the command line.
const char* const CONFIG_STRING_VIDEO_WIDTH = "VIDEO_WIDTH";
const char* const CONFIG_STRING_VIDEO_HEIGHT = "VIDEO_HEIGHT";
const char* const CONFIG_STRING_VIDEO_BPP = "VIDEO_BPP";
const char* const CONFIG_STRING_VIDEO_FULLSCREEN = "VIDEO_FULLSCREEN";
const char* const CONFIG_STRING_HIGH_SCORE = "HIGH_SCORE";

// The same names as strings, since the registry takes its names by reference.
extern std::string stringVideoWidth;
extern std::string stringVideoHeight;
extern std::string stringVideoBPP;
extern std::string stringVideoFullScreen;
extern std::string stringHighScore;

// Diagnostics: seconds between two frame-rate lines in the log.
const double INFOTEXT_UPDATE_TIME = 5.0;

// Camera: the share of its distance to the goal closed per second, and the cap of one frame.
const double CAMERA_SPEED = 8.0;
const double CAMERA_MAX_ERROR = 1.0;

// Degrees to radians go through this value everywhere, so results match across the game.
const double PI = 3.141592654;
