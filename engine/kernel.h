// SPDX-License-Identifier: GPL-3.0-or-later
// The task kernel: runs every live task once per frame in priority order.
#pragma once

#include <list>

#include "engine/singleton.h"
#include "engine/task.h"

class Kernel : public Singleton<Kernel> {
public:
    std::list<Task*> runningTasks;    // ascending priority; equal priorities in insertion order
    std::list<Task*> suspendedTasks;  // in the order of suspension

    Kernel();           // starts SDL's timer and video subsystems
    virtual ~Kernel();  // shuts SDL down; the tasks stay with their owners

    // The frame loop: returns 0 once no running task is left.
    int Execute();

    bool AddTask(Task* task);  // starts the task; false if Start refused it
    void SuspendTask(Task* task);
    void ResumeTask(Task* task);
    void RemoveTask(Task* task);  // the task is stopped in the next reap pass
    void KillAllTasks();

    // One frame: the update pass, then the reap pass.
    void RunFrame();

private:
    std::list<Task*>::iterator PlaceFor(const Task* task);
    void InsertByPriority(Task* task);
    void UpdatePass();
    void ReapPass();
};
