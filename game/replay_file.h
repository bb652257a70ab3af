// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings on disk: the best game kept beside the settings, and files players send on.
#pragma once

#include <string>

#include "game/replay.h"

// Reads and checks a recording. A link is followed only when asked: the game's own file is
// never read through one. False, with the reason, when there is none (exists false) or it
// is refused; the file is left as it is.
bool ReadReplayFile(const std::string& path, bool followLinks, Replay& replay, bool& exists,
                    std::string& problem);

// Replaces the best game at the path with this one, as the settings are replaced. The score
// the file there claims is not taken on trust: a forged one would keep every later best out.
// A link at the path is left alone: the file is never written through one.
bool KeepBestReplay(const std::string& path, const Replay& replay, std::string& problem);
