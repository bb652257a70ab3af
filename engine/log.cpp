// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/log.h"

#include <cstdarg>
#include <cstdio>

#include "platform/message_box.h"
#include "platform/player_files.h"

Log& Log::Get() {
    static Log log;
    return log;
}

Log::~Log() {
    if (logFile) {
        std::fclose(logFile);
    }
}

bool Log::Initalise() {
    if (logFile) {
        std::fclose(logFile);
    }
    bool special = false;
    std::string problem;
    logFile = OpenLog(LOG_APP_FILENAME, special, problem);
    if (special) {
        std::fprintf(stderr, "%s is not a regular file: the game plays without a log\n",
                     LOG_APP_FILENAME);
        return true;
    }
    if (!logFile) {
        Write(LOG_BOX, "Cannot create the log file: %s", LOG_APP_FILENAME);
        return false;
    }
    return true;
}

void Log::Write(int target, const char* format, ...) {
    char text[LOG_MAX_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    // vsnprintf never writes past the buffer: longer text is cut and stays terminated.
    if (std::vsnprintf(text, sizeof text, format, args) < 0) {
        text[0] = '\0';
    }
    va_end(args);

    if (target & LOG_APP) {
        // Flushed line by line: lines are few, and the log must survive a crash or a kill.
        if (logFile) {
            std::fprintf(logFile, "%s\n", text);
            std::fflush(logFile);
        }
    }
    if (target & LOG_BOX) {
        ShowMessageBox(LOG_BOX_TITLE, text);
    }
}
