// SPDX-License-Identifier: GPL-3.0-or-later
// The game's constants, each prefixed with its owner. Every game source includes this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

const char* const GAME_TITLE = "Tobrin and the Fish";  // window caption, also when iconified
const char* const GAME_COMMAND = "tobrin";             // the name messages and the usage give
const char* const GAME_SETTINGS_FILENAME = "tobrin.cfg";
const char* const GAME_ICON_FILENAME = "resources/images/tobrin_icon.png";
const int GAME_SOUND_CHANNELS = 32;             // effects that can sound at once
const unsigned GAME_FMOD_VERSION = 0x00040201;  // oldest sound library the game accepts
// Pixels: no screen is wider or taller, and a far larger window crashes the GL renderer.
const int GAME_VIDEO_MAX_SIZE = 16384;

// Exit statuses, for scripts and launchers.
const int GAME_EXIT_NORMAL = 0;
const int GAME_EXIT_START_FAILED = 1;  // the reason is in log.txt and was shown in a box
const int GAME_EXIT_USAGE = 2;         // an option the game does not know

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
const char* const CONFIG_STRING_VIDEO_VSYNC = "VIDEO_VSYNC";
const char* const CONFIG_STRING_HIGH_SCORE = "HIGH_SCORE";
const char* const CONFIG_STRING_SOUND_EFFECTS = "SOUND_EFFECTS";  // F2's switch
const char* const CONFIG_STRING_SOUND_MUSIC = "SOUND_MUSIC";      // F3's switch
const char* const CONFIG_STRING_JOY_RAW = "JOY_RAW";              // pads in their own button order
const char* const CONFIG_STRING_JOY_PAUSE_BUTTON = "JOY_PAUSE_BUTTON";  // -1: the order's Start

// The same names as strings, since the registry takes its names by reference.
extern std::string stringVideoWidth;
extern std::string stringVideoHeight;
extern std::string stringVideoBPP;
extern std::string stringVideoFullScreen;
extern std::string stringVideoVSync;
extern std::string stringHighScore;
extern std::string stringSoundEffects;
extern std::string stringSoundMusic;
extern std::string stringJoyRaw;
extern std::string stringJoyPauseButton;

// Diagnostics: seconds between two frame-rate lines in the log.
const double INFOTEXT_UPDATE_TIME = 5.0;

// Camera: the share of its distance to the goal closed per second, and the cap of one frame.
const double CAMERA_SPEED = 8.0;
const double CAMERA_MAX_ERROR = 1.0;

// Degrees to radians go through this value everywhere, so results match across the game.
const double PI = 3.141592654;
const double DEGREES_PER_HALF_TURN = 180.0;
const double DEGREES_PER_TURN = 360.0;

// Submarine: pitch, speeds and the reach of its mouth.
const double SUB_MAX_ANGLE = 30.0;         // degrees
const double SUB_MIN_ANGLE = -30.0;        // degrees
const double SUB_ANGLE_PER_SECOND = 60.0;  // degrees per second of thrust
const double SUB_STANDARD_SPEED = 1.0;     // units per second; the resting target speed
const double SUB_SPEED_BOOST = 2.5;        // units per second each boost averages the target with
const double SUB_ACCELERATION = 0.5;       // units per second squared
const double SUB_COLLISION_SPEED = 0.0;    // units per second after striking a weed
const double SUB_SWALLOW_SIZE = 0.5;       // units from the centre a fishie can be swallowed
const double SUB_SWALLOW_ANGLE = 15.0;     // degrees either side of the heading
const double SUB_DRONE_PERIOD = 2.0;       // seconds of climbing, then of diving, in the menu
const double SUB_PROP_FRAME_TIME = 0.1;    // seconds per propeller frame at the standard speed
const double SUB_HALF_LENGTH = 0.2;        // units, half the picture's width
const double SUB_HALF_HEIGHT = 0.1;        // units, half the picture's height
const double SUB_PROP_HALF_SIZE = 0.1;     // units, half the propeller picture's side
const float SUB_PROP_X = -0.18f;           // units: the propeller sits at the stern,
const float SUB_PROP_Y = -0.01f;           // just below the centre line

// Fishie: the wander and the homing once swallowed.
const double FISHIE_STANDARD_VELOCITY = 0.5;     // units per second
const double FISHIE_SWALLOW_VELOCITY = 0.0;      // units per second when swallowed
const double FISHIE_SWALLOW_ACCELERATION = 4.0;  // units per second squared
const double FISHIE_MAX_ANGLE = 15.0;            // degrees
const double FISHIE_MIN_ANGLE = -15.0;           // degrees
const double FISHIE_ANGLE_SPEED = 5.0;           // degrees per second
const double FISHIE_SWALLOW_SPIN = 1440.0;       // degrees per second
const double FISHIE_SWALLOW_EPSILON = 0.001;     // units: close enough to count as arrived
const double FISHIE_HALF_SIZE = 0.05;            // units, half the side of its picture

// Big fish: speeds, steering, its picture and its mouth.
const double BIGFISH_STANDARD_VELOCITY = 1.5;           // units per second
const double BIGFISH_TURNING_SPEED = 10.0;              // degrees per second
const double BIGFISH_VICTORY_SPEED = 3.0;               // units per second after a chomp
const float BIGFISH_SIZE = 0.4f;                        // units, half the side of each layer
const float BIGFISH_CHOMP_DISTANCE = 0.2f;              // units from mouth to submarine
const double BIGFISH_ACCELERATION = 0.5;                // units per second squared
const double BIGFISH_OVERSHOT_VELOCITY = 0.2;           // units per second while ahead
const double BIGFISH_GRADUAL_ACCELERATION = 0.1;        // chase speed gained per second
const double BIGFISH_ANGLE_GRADUAL_ACCELERATION = 0.1;  // turn rate gained per second
const double BIGFISH_VERTICAL_DRIFT = 0.1;              // depth difference closed per second
const double BIGFISH_OPENWIDE_DISTANCE = 0.3;           // units: the mouth opens wide
const double BIGFISH_TAIL_SPEED = 1.0;                  // tail frame time is this / velocity
const double BIGFISH_FLIPPER_SPEED = 1.0;               // flipper frame time: this / (velocity + 1)
const double BIGFISH_MOUTH_ANGLE = 15.0;                // degrees below the heading
const double BIGFISH_MOUTH_REACH = 0.9;                 // of BIGFISH_SIZE from the centre
const double BIGFISH_SURFACE_TURN = 45.0;            // degrees per second nose-down at the surface
const double BIGFISH_ESCORT_NEAR = 1.5;              // units: closer than this, fall back
const double BIGFISH_ESCORT_FAR = 2.25;              // units: farther than this, catch up
const double BIGFISH_ESCORT_SLOW = 0.8;              // units per second
const double BIGFISH_ESCORT_FAST = 2.5;              // units per second
const double BIGFISH_DEGREES_TO_RADIANS = PI / 180;  // 0.017453292522222223
const double BIGFISH_RADIANS_TO_DEGREES = 180 / PI;  // 57.29577950560105

// Seed weed: drift, friction, twitch and picture sizes.
const int SEEDWEED_STRAND_TYPES = 8;
const double SEEDWEED_COLLISION_VELOCITY = 2.0;   // units per second when struck
const double SEEDWEED_SIZE = 0.1;                 // units, half the side of the strike square
const double SEEDWEED_FRICTION_VELOCITY = 0.01;   // units per second: at or below, it stops
const double SEEDWEED_VELOCITY_DAMPENER = 0.333;  // share of the drift speed left after a second
const double SEEDWEED_WIGGLE_MAX_TIME = 3.0;      // seconds of rest before a twitch, at most
const double SEEDWEED_WIGGLE_MAX_SPEED = 0.25;    // units per second of a twitch, at most
const float SEEDWEED_DRAW_SIZE = 0.1f;            // units: half the seed, and the drop to the foot
const float SEEDWEED_DRAW_WIDTH = 0.2f;           // units, half a strand's width
const float SEEDWEED_DRAW_HEIGHT = 1.6f;          // units, a strand's height
const float SEEDWEED_BACK_SHADE = 0.9f;           // the strand behind the actors is darker
const float SEEDWEED_STRAND_ALPHA = 0.8f;         // strands let a little of what is behind through

// Billboard: the share of the way left after 1 / approachRate seconds.
const double BILLBOARD_CHANGE_AMOUNT = 0.5;
const double BILLBOARD_PAUSED_EXIT_X = 3.0;  // units beside the centre the resumed banner leaves to

// Circle zoom: the radius where a zoom-out ends, and the default speed.
const double CIRCLEZOOM_MAXIMUM = 5.0;            // units
const double CIRCLEZOOM_SPEED = 1.0;              // units per second
const double CIRCLEZOOM_COVER_HALF_WIDTH = 4.0;   // units either side of the centre
const double CIRCLEZOOM_COVER_HALF_HEIGHT = 3.0;  // units above and below it
const double CIRCLEZOOM_BAND_OVERLAP = 0.01;      // units the upper and lower bands reach over
const double CIRCLEZOOM_SCENE_SPEED = 5.0;        // units per second opening or closing a scene
const double CIRCLEZOOM_CHOMP_SPEED = 1.2;        // units per second closing on a chomp
const double CIRCLEZOOM_CLOSING_RADIUS = 4.0;     // units: a closing circle starts this wide

// Drawing the world: the view's edges, the sea and the sky, the waves and the score's digits.
const double DRAW_SKY_HEIGHT = 2.0;          // units the sky reaches above the surface
const double DRAW_SEA_DEPTH = 50.0;          // units the water takes to fade to black
const double DRAW_SKY_LOWEST_CAMERA = -1.8;  // units: with the camera this deep, no sky shows
const int DRAW_WAVE_TILES = 24;
const double DRAW_WAVE_WIDTH = 0.4;   // units, also the waves' scroll period
const double DRAW_WAVE_HEIGHT = 0.1;  // units above the surface
const int DRAW_SCORE_DIGITS = 8;
const double DRAW_DIGIT_STEP = 0.15;      // units between the centres of two digits
const float DRAW_SCORE_X = 2.0f;          // units: the scores end at the view's right edge,
const float DRAW_SCORE_Y = -1.275f;       // the game's near the bottom,
const float DRAW_HIGH_SCORE_Y = -1.125f;  // the menu's best on the row above the last game's

// World: the view, the chase's start and the chomp.
const float WORLD_ZOOM_VALUE = 1.5f;       // units, half the view's height
const double ZOOM_X_POSITION = 4.0 / 3.0;  // the view's width to height
const double WORLD_VIEW_HALF_WIDTH = ZOOM_X_POSITION * WORLD_ZOOM_VALUE;  // units
const double WORLD_CHOMPED_DELAY = 0.0;        // seconds from the chomp to the closing circle
const double BIGFISH_STARTING_DISTANCE = 2.5;  // units; the fish enters 1.5 times this ahead
const double BIGFISH_ENTRY_DISTANCE = BIGFISH_STARTING_DISTANCE * 1.5;
const double WORLD_MENU_SUB_DEPTH = -1.5;    // units: where the menu's submarine drones
const double WORLD_GAME_SUB_DEPTH = -4.0;    // units: where a game's submarine starts
const double WORLD_ESCORT_DISTANCE = 2.25;   // units the menu's fish starts behind the sub
const double WORLD_DESPAWN_DISTANCE = 3.0;   // units behind the sub where things are removed
const double WORLD_WEED_DEPTH_RANGE = 12.0;  // units above or below the sub weed may stray
const double WORLD_RESTOCK_STEP = 0.5;       // seconds (and units) per restocking step
const double WORLD_RESTOCK_DISTANCE = 9.0;   // units of ocean simulated ahead of a new scene
// Camera offsets from what it follows, in units: the menu shows the submarine low and left of
// the centre, a game a little behind the centre.
const double WORLD_MENU_CAMERA_X = -0.75;
const double WORLD_MENU_CAMERA_Y = 0.375;
const double WORLD_GAME_CAMERA_X = 0.375;
// A spawn's depth: (a random unit * spread - lift) * scale, from the submarine's depth.
const double WORLD_SPAWN_DEPTH_SPREAD = 5.0;
const double WORLD_SPAWN_DEPTH_LIFT = 3.0;
const double WORLD_SPAWN_DEPTH_SCALE = 1.5;

// Population: the spawners and their limits.
const double FISHIE_SPAWN_TIMER = 0.25;         // seconds between school attempts
const int FISHIE_MIN_POPULATION = 2048;         // no school while the pool holds this many
const int FISHIE_MAX_SCHOOL = 10;               // fishies in the largest school
const int FISHIE_SCHOOL_COLUMNS = 4;            // a school's triangle: columns of 1, 2, 3 and 4
const double FISHIE_SCHOOL_SPACING = 0.1;       // units between the fishies of a row or column
const double FISHIE_SCHOOL_COLUMN_DROP = 0.05;  // units each column is centred lower
const double FISHIE_SPAWN_MAX_Y = -1.0;         // units: schools only deeper than this
const double SEEDWEED_SPAWN_TIMER = 0.1;        // seconds between weed attempts
const int SEEDWEED_MIN_POPULATION = 1024;       // no weed while the pool holds this many
const double SEEDWEED_RANDOM_CHANCE = 0.2;      // share of weed attempts that go on
const double SEEDWEED_SPAWN_MAX_Y = 0.0;        // units: weed only under the surface
const double SEEDWEED_SOUND_DELAY = 0.2;        // seconds a struck weed stays silent
const double SEEDWEED_STRIKE_ANGLE = 90.0;      // degrees a struck weed may be sent off at, at most
const double RANDOMIZER_X_POS = 0.1;            // units of random spread of a spawn's x
const double SPAWN_AHEAD = 4.5;                 // units ahead of the sub where things appear

// Menu: the caption's cycle.
const double MENU_CAPTION_SHOWN_TIME = 7.5;   // seconds a caption stays in view
const double MENU_CAPTION_HIDDEN_TIME = 1.5;  // seconds between two captions
const double MENU_CAPTION_TRAVEL = 2.25;      // units the caption glides down and back up

// Drawing: how finely the parts of a picture that show are told from those that do not.
const int DRAWING_COVERAGE_CELLS = 32;    // cells at most along each side of a picture
const int DRAWING_COVERAGE_LEVELS = 5;    // mipmap levels, from the first, that have cell maps
const int DRAWING_CROP_ALIGNMENT = 16;    // texels: a crop starts and ends on these steps
const int DRAWING_CROP_MARGIN = 16;       // texels of clear picture kept round what shows
const double DRAWING_CROP_WORTH = 0.95;   // a crop is kept only below this share of the picture
const double DRAWING_SMALL_QUAD = 64.0;   // pixels: quads with a shorter side are not split
const double DRAWING_LEAST_BLOCK = 64.0;  // pixels: the least side of a quad cut from a picture

// Recordings of games: the best one is kept beside the settings.
const char* const REPLAY_BEST_FILENAME = "best.replay";
const char* const REPLAY_MAGIC = "TOBRINRP";  // the first eight bytes of a recording
const int REPLAY_FORMAT = 1;                  // raised whenever the layout changes
const int REPLAY_MAX_VERSION = 32;            // characters of the game's version kept
// Words of room: an hour at 300 frames a second. A longer game stops recording.
const std::size_t REPLAY_MAX_STEPS = 60 * 60 * 300;
const std::size_t REPLAY_HEADER_MAX = 128;  // bytes, with the longest version
const std::size_t REPLAY_MAX_BYTES = REPLAY_HEADER_MAX + 2 * REPLAY_MAX_STEPS;
const std::uint16_t REPLAY_LONG_STEP = 0x1fff;  // milliseconds that say two words follow
const int REPLAY_CONTROL_SHIFT = 13;
