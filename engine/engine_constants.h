// SPDX-License-Identifier: GPL-3.0-or-later
// Constants shared by the engine's parts, each prefixed with the part it belongs to.
#pragma once

// Kernel: a task's place in the frame when its owner sets none; lower runs earlier.
const int TASK_DEFAULT_PRIORITY = 5000;

// Log targets, used as a bit mask.
const int LOG_APP = 1;    // a line in the log file
const int LOG_BOX = 2;    // a modal message box
const int LOG_ERROR = 3;  // both: the failures a person must see
const char* const LOG_APP_FILENAME = "log.txt";
const char* const LOG_BOX_TITLE = "Kelo Message";
const int LOG_MAX_BUFFER_SIZE =
    1024;  // characters one message is formatted into, terminator included

// Input: key changes kept for the frames after a slow one; beyond that the held-key table
// takes over.
const int INPUT_MAX_UNSHOWN_CHANGES = 256;

// Pads: buttons read from a pad (one with more is read this far), pads held room for before
// the first frame, and how far an analog trigger (of 32767) is pressed to count as held.
const int PAD_MAX_BUTTONS = 32;
const int PAD_RESERVED = 8;
const int PAD_TRIGGER_HALF = 16384;
const int PAD_CONTROLLER_TRIGGER_AXES[] = {4, 5};  // SDL2's left and right trigger
const double PAD_LOOK_INTERVAL = 1.0;  // seconds between looks for a new pad, where none tells

// Settings: characters one line of the settings file is read into, terminator included.
const int SETTINGS_MAX_BUFFER_SIZE = 1024;

// Object pool: elements created each time a pool runs dry.
const int POOL_DEFAULT_SIZE = 1024;
