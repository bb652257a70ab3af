// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player_files.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>

// The page mounts its kept folder here and reads it in before the game starts.
const char* const BROWSER_PLAYER_FOLDER = "/save/";

std::string PlayerFilePath(const char* name) {
    return std::string(BROWSER_PLAYER_FOLDER) + name;
}

std::string LogFilePath(const char*) {
    return "/dev/stdout";  // line by line to the console
}

void KeepPlayerFiles() {
    EM_ASM({ Module.keepPlayerFiles(); });
}

// The page writes a dropped file here and raises its flag.
bool TakeDroppedReplay(std::string& path) {
    path = "/dropped.replay";
    return EM_ASM_INT({ return Module.takeDroppedReplay(); }) != 0;
}
#else
std::string PlayerFilePath(const char* name) {
    return name;
}

std::string LogFilePath(const char* name) {
    return name;
}

void KeepPlayerFiles() {}

bool TakeDroppedReplay(std::string&) {
    return false;
}
#endif
