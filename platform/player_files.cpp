// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player_files.h"

#include "platform/file_access.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

// The page mounts its kept folder here and reads it in before the game starts.
const char* const BROWSER_PLAYER_FOLDER = "/save/";

std::string PlayerFilePath(const char* name) {
    return std::string(BROWSER_PLAYER_FOLDER) + name;
}

std::FILE* OpenLog(const char*, bool& special, std::string& problem) {
    special = false;
    std::FILE* console = fdopen(dup(STDOUT_FILENO), "w");  // line by line to the console
    if (!console) {
        problem = std::strerror(errno);
    }
    return console;
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

std::FILE* OpenLog(const char* name, bool& special, std::string& problem) {
    return OpenRegularForWriting(name, special, problem);
}

void KeepPlayerFiles() {}

bool TakeDroppedReplay(std::string&) {
    return false;
}
#endif
