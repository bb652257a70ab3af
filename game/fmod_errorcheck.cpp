// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/fmod_errorcheck.h"

#include "engine/log.h"

bool FMOD_ERRORCHECK(FMOD_RESULT result) {
    if (result == FMOD_OK) {
        return true;
    }
    Log::Get().Write(LOG_ERROR, "Error with FMOD! (%d) %s\n", result, FMOD_ErrorString(result));
    return false;
}
