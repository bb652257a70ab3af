// SPDX-License-Identifier: GPL-3.0-or-later
// Where the player's own files live: the settings with the high score, and the log.
#pragma once

#include <cstdio>
#include <string>

// The path of one of the player's files. On the desktop it is the working folder's file of that
// name (the launcher makes the working folder the player's own). In a browser it lies in a
// folder that the page keeps in the browser's storage across reloads.
std::string PlayerFilePath(const char* name);

// The log, opened afresh: the file of that name in the working folder, or the browser's console.
// Null, with the reason, when it cannot be; special when something other than a regular file
// is in its place, which is left alone.
std::FILE* OpenLog(const char* name, bool& special, std::string& problem);

// A recording the player dropped on the page since the last call, at the path given; never
// on the desktop, where recordings come by the command line.
bool TakeDroppedReplay(std::string& path);

// After one of the player's files was replaced: a browser copies the folder into its storage,
// and the page says so, once, when that storage is refused or full. On the desktop the file is
// on disk already.
void KeepPlayerFiles();
