// SPDX-License-Identifier: GPL-3.0-or-later
// Turns SIGINT, SIGTERM, SIGQUIT and SIGHUP (a closed terminal) into a quit request the game
// sees like the window's close button. A message box waiting for OK is taken down by it.
// SIGPIPE is ignored: writing to a closed terminal never ends a game in progress.
#pragma once

// Installed before SDL starts, so that SDL keeps these handlers rather than its own.
void InstallQuitSignals();

// True once SIGINT, SIGTERM, SIGQUIT or SIGHUP has arrived.
bool QuitSignalled();

// Forgets an earlier signal (for tests that raise one on purpose).
void ClearQuitSignal();
