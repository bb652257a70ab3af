// SPDX-License-Identifier: GPL-3.0-or-later
// The program's one reporting channel: log.txt for everything, a message box for failures.
#pragma once

#include <cstdio>

#include "engine/engine_constants.h"

class Log {
public:
    std::FILE* logFile = nullptr;  // null where there is no log to write

    static Log& Get();  // the one log, made on first use and closed at program exit

    // Opens log.txt afresh; false (after a message box) when it cannot be created. Anything but
    // a regular file in its place (a FIFO would hold the start) is left alone: the game plays on
    // without a log, and says so on standard error.
    bool Initalise();

    // Formats one message, printf-style, and sends it to the targets set in the mask.
    // Text longer than the buffer is cut to fit. With LOG_BOX, returns when the box is closed.
    void Write(int target, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 3, 4)))
#endif
        ;

private:
    Log() = default;
    ~Log();
};
