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

bool Log::Initalise() {
    if (logFile.is_open()) {
        logFile.close();
    }
    logFile.clear();
    logFile.open(LogFilePath(LOG_APP_FILENAME), std::ios::out | std::ios::trunc);
    if (!logFile.good()) {
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
        logFile << text << "\n" << std::flush;
    }
    if (target & LOG_BOX) {
        ShowMessageBox(LOG_BOX_TITLE, text);
    }
}
