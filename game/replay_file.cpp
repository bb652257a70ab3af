// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/replay_file.h"

#include <sys/stat.h>

#include "game/game_constants.h"
#include "platform/file_access.h"

bool ReadReplayFile(const std::string& path, bool followLinks, Replay& replay, bool& exists,
                    std::string& problem) {
    std::string bytes;
    return ReadWholeFile(path, REPLAY_MAX_BYTES, followLinks, bytes, exists, problem) &&
           Replay::Decode(bytes, replay, problem);
}

bool KeepBestReplay(const std::string& path, const Replay& replay, std::string& problem) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        problem = "it is a link";
        return false;
    }
    FolderLock lock(path);
    return ReplaceFileContents(path, replay.Encode(), problem);
}
