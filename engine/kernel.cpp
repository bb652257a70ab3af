// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/kernel.h"

#include <SDL.h>

#include <algorithm>

#include "platform/display.h"
#include "platform/frame_pacing.h"

Kernel::Kernel() {
    DrawStraightIntoWindow();
    // A failure here shows later, when the video task asks for its subsystem.
    SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO);
}

Kernel::~Kernel() {
    SDL_Quit();
}

int Kernel::Execute() {
    while (!runningTasks.empty()) {
        RunFrame();
        WaitForNextFrame();
    }
    return 0;
}

void Kernel::RunFrame() {
    UpdatePass();
    ReapPass();
}

// Each pass steps past a task before calling it, so a task may remove or suspend itself.
void Kernel::UpdatePass() {
    for (auto it = runningTasks.begin(); it != runningTasks.end();) {
        Task* task = *it++;
        if (!task->killFlag) {
            task->Update();
        }
    }
}

void Kernel::ReapPass() {
    for (auto it = runningTasks.begin(); it != runningTasks.end();) {
        Task* task = *it++;
        if (task->killFlag) {
            task->Stop();
            // The walk may now stand on another occurrence of the same task: step past those too.
            while (it != runningTasks.end() && *it == task) {
                ++it;
            }
            runningTasks.remove(task);
        }
    }
}

bool Kernel::AddTask(Task* task) {
    if (!task->Start()) {
        return false;
    }
    InsertByPriority(task);
    return true;
}

// A task joins behind every running task of equal priority.
std::list<Task*>::iterator Kernel::PlaceFor(const Task* task) {
    return std::find_if(runningTasks.begin(), runningTasks.end(),
                        [task](const Task* other) { return other->priority > task->priority; });
}

void Kernel::InsertByPriority(Task* task) {
    runningTasks.insert(PlaceFor(task), task);
}

void Kernel::SuspendTask(Task* task) {
    auto it = std::find(runningTasks.begin(), runningTasks.end(), task);
    if (it == runningTasks.end()) {
        return;
    }
    task->Suspend();
    // Move the node itself, so suspending allocates nothing.
    suspendedTasks.splice(suspendedTasks.end(), runningTasks, it);
}

void Kernel::ResumeTask(Task* task) {
    auto it = std::find(suspendedTasks.begin(), suspendedTasks.end(), task);
    if (it == suspendedTasks.end()) {
        return;
    }
    task->Resume();
    runningTasks.splice(PlaceFor(task), suspendedTasks, it);
}

void Kernel::RemoveTask(Task* task) {
    if (std::find(runningTasks.begin(), runningTasks.end(), task) != runningTasks.end()) {
        task->killFlag = true;
    }
}

void Kernel::KillAllTasks() {
    for (Task* task : runningTasks) {
        task->killFlag = true;
    }
}
