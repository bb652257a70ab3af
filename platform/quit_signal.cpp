// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/quit_signal.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t quitSignalled = 0;

extern "C" void OnQuitSignal(int) {
    quitSignalled = 1;
}

}  // namespace

void InstallQuitSignals() {
    std::signal(SIGINT, OnQuitSignal);
    std::signal(SIGTERM, OnQuitSignal);
#if defined(SIGHUP)
    std::signal(SIGHUP, OnQuitSignal);  // the terminal the game was started from was closed
#endif
#if defined(SIGQUIT)
    std::signal(SIGQUIT, OnQuitSignal);  // Ctrl+\ quits as Ctrl+C does, with the exit save
#endif
#if defined(SIGPIPE)
    std::signal(SIGPIPE, SIG_IGN);  // a closed terminal's pipe never ends a game in progress
#endif
}

bool QuitSignalled() {
    return quitSignalled != 0;
}

void ClearQuitSignal() {
    quitSignalled = 0;
}
