// SPDX-License-Identifier: GPL-3.0-or-later
// The one check every sound call's result goes through.
#pragma once

#include "platform/fmod.h"

// True on success. A failure is written to the log and shown in a message box; play goes on.
bool FMOD_ERRORCHECK(FMOD_RESULT result);
