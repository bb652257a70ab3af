// SPDX-License-Identifier: GPL-3.0-or-later
// Turns SIGINT and SIGTERM into a quit request the game sees like the window's close button.
#pragma once

// Installed before SDL starts, so that SDL keeps these handlers rather than its own.
void InstallQuitSignals();

// True once SIGINT or SIGTERM has arrived.
bool QuitSignalled();

// Forgets an earlier signal (for tests that raise one on purpose).
void ClearQuitSignal();
