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
}

bool QuitSignalled() {
    return quitSignalled != 0;
}

void ClearQuitSignal() {
    quitSignalled = 0;
}
